#pragma once

#include <QPointF>
#include <QRectF>

class QPainter;
class QWidget;

namespace velk::controls {

// The mark of the control that the keyboard works on: an amber line like the faceplate's lit
// rings. It shows once the keyboard has moved the focus, as desktop toolkits do, so that a click
// with the mouse leaves the faceplate clean.
bool showsFocusMark(const QWidget& control);

// Around a switch: a rounded frame just inside its bounds.
void paintFocusFrame(QPainter& painter, const QRectF& bounds);
// Around a knob: a ring about its centre of rotation.
void paintFocusRing(QPainter& painter, QPointF centre, qreal radius);

}  // namespace velk::controls
