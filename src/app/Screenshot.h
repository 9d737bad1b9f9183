#pragma once

#include <QObject>
#include <QString>

class AppWindowController;

// Renders the main window to a PNG once the amplifier's state has been read (or after a while
// without an amplifier), then quits: 0 when the file was written, 1 when not.
class Screenshot : public QObject {
    Q_OBJECT
public:
    // `settleMs`: how much longer than usual what follows the full read takes to show.
    Screenshot(AppWindowController& controller, QString file, int settleMs = 0);

private:
    void take();

    AppWindowController& m_controller;
    QString m_file;
    bool m_taken = false;
};
