#pragma once

namespace velk::app {

// Gives the running application object the editor's name and version. The editor
// does this twice: first in a plain application object that reads the command line (so that
// --help and --version need no display), then in the GUI application.
void identifyApplication();

}  // namespace velk::app
