#include "app/RectText.h"

#include <QRegularExpression>

namespace velk::app {

QString rectToText(const QRect& rect) {
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

QRect rectFromText(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*\{\s*\{\s*(-?\d+)\s*,\s*(-?\d+)\s*\}\s*,\s*\{\s*(\d+)\s*,\s*(\d+)\s*\}\s*\}\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    bool ok[4] = {};
    const int values[4] = {match.captured(1).toInt(&ok[0]), match.captured(2).toInt(&ok[1]),
                           match.captured(3).toInt(&ok[2]), match.captured(4).toInt(&ok[3])};
    if (!(ok[0] && ok[1] && ok[2] && ok[3]))
        return {};
    return {values[0], values[1], values[2], values[3]};
}

}  // namespace velk::app
