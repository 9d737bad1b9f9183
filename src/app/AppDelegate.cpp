#include "app/AppDelegate.h"

#include <QApplication>

#include "app/AlertPresenter.h"
#include "app/Preference.h"
#include "common/VelkManager.h"
#include "strings/StringTable.h"

AppDelegate::AppDelegate() {
    Preference::sharedInstance().load();
    QApplication::setQuitOnLastWindowClosed(true);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
}

void AppDelegate::applicationDidFinishLaunching() {
    CVelkManager::initialize();
    CVelkManager::instance()->start();
}

void AppDelegate::applicationWillTerminate() {
    Preference::sharedInstance().save();
    CVelkManager::instance()->stop();
    CVelkManager::terminate();
}

void AppDelegate::terminate() {
    QCoreApplication::quit();
}

void AppDelegate::displayError(int32_t errorCode) {
    velk::app::Alert alert;
    alert.style = velk::app::Alert::Style::Critical;
    alert.messageText = velk::strings::errorText(errorCode);
    alert.informativeText = velk::strings::text("Err_AlertDetail").arg(errorCode);
    alert.buttons = {velk::strings::text("OK")};
    velk::app::alertPresenter().runModal(alert);
}
