#pragma once

#include <QObject>
#include <QStringList>

class AppWindowController;

// Opens files or folders in a speaker simulation panel once the head's state has been read, one
// after another, as if each were dropped on the panel: each file is selected and auditioned, so
// the one before it stays as the faint curve. The panel on show is used when it is a speaker
// panel, else Amp I's, which is then brought to the front.
class LaunchOpener : public QObject {
    Q_OBJECT
public:
    LaunchOpener(AppWindowController& controller, QStringList paths);

    // How long after the state is read the last path is opened and auditioned.
    int duration() const;

private:
    void open();

    AppWindowController& m_controller;
    QStringList m_paths;
};
