#include "app/HelpMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "strings/StringTable.h"

void addHelpMenu(QMenuBar& menuBar) {
    using velk::strings::text;
    QMenu* menu = menuBar.addMenu(text("Menu_Help"));
    QObject::connect(menu->addAction(text("Menu_Help_About")), &QAction::triggered, menu, [&menuBar] {
        QMessageBox::about(menuBar.window(), text("About_Title"),
                           text("About_Text").arg(QCoreApplication::applicationVersion()));
    });
}
