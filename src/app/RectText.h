#pragma once

#include <QRect>
#include <QString>

namespace velk::app {

// A rectangle as text, "{{x, y}, {w, h}}", in the form the window position is stored in.
QString rectToText(const QRect& rect);

// The rectangle a text holds; the zero rectangle for a text that is not one.
QRect rectFromText(const QString& text);

}  // namespace velk::app
