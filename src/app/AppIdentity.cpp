#include "app/AppIdentity.h"

#include <QCoreApplication>

namespace velk::app {

void identifyApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Velk"));
    QCoreApplication::setApplicationName(QStringLiteral("velk-vovezid"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
}

}  // namespace velk::app
