#pragma once

#include <QApplication>

namespace velk::test {

// The one application object of a GUI test program, of one type per program, created on first use
// (offscreen under CTest) and never destroyed: Qt's own globals go first at exit, and a late
// application object would crash.
template <typename Application = QApplication>
Application& application() {
    static int argc = 1;
    static char name[] = "velk_gui_tests";
    static char* argv[] = {name, nullptr};
    static Application* app = new Application(argc, argv);
    return *app;
}

}  // namespace velk::test
