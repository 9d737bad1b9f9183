#pragma once

#include <QApplication>

namespace velk::test {

// The one QApplication of a GUI test program, created on first use (offscreen under CTest). It
// is never destroyed: Qt's own globals go first at exit, and a late QApplication would crash.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "velk_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace velk::test
