#include "StringTable.h"

#include <QCoreApplication>
#include <QTranslator>

#include "common/ErrorCodes.h"

namespace velk::strings {

bool install() {
    static QTranslator translator;
    if (!translator.isEmpty())
        return true;
    if (!translator.load(QStringLiteral(":/i18n/velk_en.qm")))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

QString text(const char* key) {
    QString value = qtTrId(key);
    return value.isEmpty() ? QString::fromLatin1(key) : value;
}

QString errorText(int code) { return text(mstd::errorMessageKey(code)); }

}  // namespace velk::strings
