#pragma once

class QApplication;

namespace velk::app {

// The editor's dark look around the panels: one style on every desktop, colours that match the
// faceplates, and the application's display name and icon.
void applyAppLook(QApplication& application);

}  // namespace velk::app
