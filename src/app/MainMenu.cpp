#include "app/MainMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

#include "app/AlertPresenter.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

}  // namespace

MainMenu::MainMenu(QMainWindow& window) : QObject(&window) {
    QMenuBar* bar = window.menuBar();
    m_file = bar->addMenu(text("Menu_File"));
    m_view = bar->addMenu(text("Menu_View"));
    m_help = bar->addMenu(text("Menu_Help"));

    m_settings = m_file->addAction(text("Menu_Settings"));
    m_settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_settings->setMenuRole(QAction::PreferencesRole);
    connect(m_settings, &QAction::triggered, this, &MainMenu::settingsRequested);
    m_file->addSeparator();
    // Closing the window is the one way out: it keeps the window's position, and the application
    // then saves the preferences and stops the device manager as it quits.
    m_quit = m_file->addAction(text("Menu_Quit"));
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quit->setMenuRole(QAction::QuitRole);
    connect(m_quit, &QAction::triggered, &window, &QWidget::close);

    m_midiMonitor = m_view->addAction(text("Menu_MidiMonitor"));
    connect(m_midiMonitor, &QAction::triggered, this, &MainMenu::midiMonitorRequested);

    m_about = m_help->addAction(text("Menu_About"));
    m_about->setMenuRole(QAction::AboutRole);
    connect(m_about, &QAction::triggered, this, [] {
        velk::app::Alert alert;
        alert.messageText = text("AppName");
        alert.informativeText = aboutText();
        alert.buttons = {text("OK")};
        velk::app::alertPresenter().runModal(alert);
    });
}

QMenu* MainMenu::menu(Menu which) const {
    switch (which) {
        case Menu::File:
            return m_file;
        case Menu::View:
            return m_view;
        case Menu::Help:
            break;
    }
    return m_help;
}

QString MainMenu::aboutText() {
    return text("About_Text")
        .arg(QStringLiteral(VELK_VERSION), QStringLiteral(VELK_LICENSE), QStringLiteral(VELK_HOMEPAGE));
}
