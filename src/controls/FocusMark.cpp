#include "controls/FocusMark.h"

#include <QPainter>
#include <QWidget>

namespace velk::controls {

namespace {

const QColor kMarkColour(0xff, 0xa8, 0x22, 220);
constexpr qreal kMarkWidth = 2.0;
constexpr qreal kFrameRadius = 6.0;

QPen markPen() {
    return QPen(kMarkColour, kMarkWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

bool showsFocusMark(const QWidget& control) {
    return control.hasFocus() && control.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void paintFocusFrame(QPainter& painter, const QRectF& bounds) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(markPen());
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kMarkWidth / 2 + 0.5;
    painter.drawRoundedRect(bounds.adjusted(inset, inset, -inset, -inset), kFrameRadius, kFrameRadius);
    painter.restore();
}

void paintFocusRing(QPainter& painter, QPointF centre, qreal radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(markPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

}  // namespace velk::controls
