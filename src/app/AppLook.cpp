#include "app/AppLook.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <QStyleFactory>

#include "app/PanelLayout.h"
#include "strings/StringTable.h"

namespace velk::app {

namespace {

QPalette darkPalette() {
    const QColor window(0x1e, 0x1e, 0x21);
    const QColor lettering(0xec, 0xe4, 0xcf);
    const QColor amber(0xff, 0xa8, 0x22);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, lettering);
    palette.setColor(QPalette::Base, QColor(0x0a, 0x0b, 0x0a));
    palette.setColor(QPalette::AlternateBase, QColor(0x16, 0x17, 0x16));
    palette.setColor(QPalette::Text, amber);
    palette.setColor(QPalette::Button, QColor(0x2c, 0x2c, 0x30));
    palette.setColor(QPalette::ButtonText, lettering);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Highlight, amber.darker(150));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, lettering);
    palette.setColor(QPalette::Link, amber);
    palette.setColor(QPalette::PlaceholderText, lettering.darker(180));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, lettering.darker(220));
    return palette;
}

}  // namespace

void applyAppLook(QApplication& application) {
    QApplication::setApplicationDisplayName(velk::strings::text("AppName"));
    QApplication::setDesktopFileName(QStringLiteral("velk-vovezid"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/") + velk::layout::kImage_AppIcon));
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setPalette(darkPalette());
}

}  // namespace velk::app
