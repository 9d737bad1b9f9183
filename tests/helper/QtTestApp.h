#pragma once

#include <QApplication>

namespace velk::test {

// The one application object of a GUI test program, created on first use (offscreen under
// CTest). A program uses one type of it. It is never destroyed: Qt's own globals go first at
// exit, and a late application object would crash.
template <typename Application = QApplication>
Application& application() {
    static int argc = 1;
    static char name[] = "velk_gui_tests";
    static char* argv[] = {name, nullptr};
    static Application* app = new Application(argc, argv);
    return *app;
}

}  // namespace velk::test
