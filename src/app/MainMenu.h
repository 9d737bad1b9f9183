#pragma once

#include <QObject>

class QAction;
class QMainWindow;
class QMenu;

// The main window's menu bar, in the desktop's conventions: File (Settings…, Quit), View (MIDI
// Monitor) and Help
// (About). Other parts of the editor add their own entries to these menus.
class MainMenu : public QObject {
    Q_OBJECT
public:
    enum class Menu { File, View, Help };

    explicit MainMenu(QMainWindow& window);

    QMenu* menu(Menu which) const;
    QAction* settingsAction() const { return m_settings; }
    QAction* quitAction() const { return m_quit; }
    QAction* aboutAction() const { return m_about; }
    QAction* midiMonitorAction() const { return m_midiMonitor; }

    // What the About entry tells: the version, the licence and the project's home.
    static QString aboutText();

signals:
    void settingsRequested();
    void midiMonitorRequested();

private:
    QMenu* m_file = nullptr;
    QMenu* m_view = nullptr;
    QMenu* m_help = nullptr;
    QAction* m_settings = nullptr;
    QAction* m_quit = nullptr;
    QAction* m_about = nullptr;
    QAction* m_midiMonitor = nullptr;
};
