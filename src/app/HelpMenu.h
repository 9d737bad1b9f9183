#pragma once

class QMenuBar;

// The "Help" menu with the About box: the editor's name, version and licence.
void addHelpMenu(QMenuBar& menuBar);
