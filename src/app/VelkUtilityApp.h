#pragma once

#include <QApplication>

// The editor's application object. It loads the string table and the look, gives every dial its
// default knob, and keeps an exception that escapes the handling of one event from ending the
// program: the exception is logged and the next event is handled.
class VelkUtilityApp : public QApplication {
    Q_OBJECT
public:
    VelkUtilityApp(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
