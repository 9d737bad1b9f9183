#include "app/AppIdentity.h"

#include <QCoreApplication>

#include "strings/StringTable.h"

namespace velk::app {

void identifyApplication() {
    velk::strings::install();
    QCoreApplication::setOrganizationName(QStringLiteral("Velk"));
    QCoreApplication::setApplicationName(QStringLiteral("velk-vovezid"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
}

}  // namespace velk::app
