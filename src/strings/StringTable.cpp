#include "StringTable.h"

#include <QCoreApplication>
#include <QTranslator>

#include "common/ErrorCodes.h"

namespace velk::strings {

bool install() {
    static QTranslator translator;
    if (translator.isEmpty() && !translator.load(QStringLiteral(":/i18n/velk_en.qm")))
        return false;
    // Each application object has its own list (the editor reads its options in one before its
    // GUI starts): install into the one running now, once.
    QCoreApplication::removeTranslator(&translator);
    return QCoreApplication::installTranslator(&translator);
}

QString text(const char* key) {
    QString value = qtTrId(key);
    return value.isEmpty() ? QString::fromLatin1(key) : value;
}

QString errorText(int code) {
    return text(mstd::errorMessageKey(code));
}

}  // namespace velk::strings
