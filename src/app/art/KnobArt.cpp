#include "app/art/KnobArt.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "app/PanelLayout.h"
#include "app/art/ArtKit.h"

namespace velk::art {

namespace {

// The dials' default sweep: 150 degrees either side of straight up.
constexpr qreal kSweepStart = -150.0;
constexpr qreal kSweep = 300.0;

// The point at `degrees` clockwise from straight up, `radius` from `centre` (y down).
QPointF polar(QPointF centre, qreal radius, qreal degrees) {
    const qreal a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qSin(a), -radius * qCos(a));
}

qreal sweepAngle(int frame, int frames, qreal start = kSweepStart, qreal sweep = kSweep) {
    return start + sweep * frame / (frames - 1);
}

// A knurled black skirt with a glossy cap, lit from the top-left whatever the knob's angle.
void paintKnobBody(QPainter& painter, QPointF centre, qreal radius) {
    painter.save();
    painter.setPen(Qt::NoPen);
    QRadialGradient shadow(centre + QPointF(0, radius * 0.18), radius * 1.25);
    shadow.setColorAt(0.75, QColor(0, 0, 0, 150));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.setBrush(shadow);
    painter.drawEllipse(centre + QPointF(0, radius * 0.18), radius * 1.25, radius * 1.25);

    QLinearGradient skirt(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    skirt.setColorAt(0.0, QColor(0x5a, 0x5a, 0x5e));
    skirt.setColorAt(0.5, QColor(0x1c, 0x1c, 0x1e));
    skirt.setColorAt(1.0, QColor(0x0a, 0x0a, 0x0b));
    painter.setBrush(skirt);
    painter.setPen(QPen(QColor(0, 0, 0), 1.0));
    painter.drawEllipse(centre, radius, radius);

    // Knurling: fine radial grooves around the edge.
    painter.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
    for (int i = 0; i < 48; ++i)
        painter.drawLine(polar(centre, radius * 0.8, i * 7.5), polar(centre, radius - 0.8, i * 7.5));

    const qreal capRadius = radius * 0.72;
    QRadialGradient cap(centre - QPointF(capRadius * 0.4, capRadius * 0.5), capRadius * 1.6);
    cap.setColorAt(0.0, QColor(0x6a, 0x6a, 0x70));
    cap.setColorAt(0.45, QColor(0x26, 0x26, 0x29));
    cap.setColorAt(1.0, QColor(0x08, 0x08, 0x09));
    painter.setBrush(cap);
    painter.setPen(QPen(QColor(0x70, 0x70, 0x74, 160), 0.8));
    painter.drawEllipse(centre, capRadius, capRadius);
    painter.restore();
}

void paintPointerLine(QPainter& painter, QPointF centre, qreal from, qreal to, qreal degrees, qreal width) {
    painter.save();
    painter.setPen(QPen(palette::kLettering, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(polar(centre, from, degrees), polar(centre, to, degrees));
    painter.restore();
}

void paintArc(QPainter& painter, QPointF centre, qreal radius, qreal fromDegrees, qreal toDegrees,
              const QPen& pen) {
    // QPainter measures arcs counter-clockwise from 3 o'clock; ours run clockwise from 12.
    const QRectF box(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(box, qRound((90.0 - fromDegrees) * 16), qRound(-(toDegrees - fromDegrees) * 16));
    painter.restore();
}

void paintGainScale(QPainter& painter, QPointF centre) {
    const int positions = 41;
    for (int p = 0; p < positions; ++p) {
        const bool major = p % 10 == 0;
        const qreal angle = sweepAngle(p, positions);
        painter.setPen(QPen(major ? palette::kLettering : palette::kLetteringDim, major ? 1.6 : 0.9));
        painter.drawLine(polar(centre, 39, angle), polar(centre, major ? 45 : 42, angle));
    }
    const char* labels[] = {"-30", "-20", "-10", "-5", "0"};
    for (int i = 0; i < 5; ++i) {
        const QPointF at = polar(centre, 52, sweepAngle(i * 10, positions));
        paintLettering(painter, QRectF(at - QPointF(14, 6), QSizeF(28, 12)), QString::fromLatin1(labels[i]),
                       10);
    }
}

// The tapered pointer of a selector knob, with a cream inlay along it.
void paintChickenHead(QPainter& painter, QPointF centre, qreal radius, qreal degrees) {
    painter.save();
    painter.translate(centre);
    painter.rotate(degrees);
    QPainterPath head;
    head.moveTo(-radius * 0.42, radius * 0.55);
    head.quadTo(0, radius * 0.95, radius * 0.42, radius * 0.55);
    head.lineTo(radius * 0.16, -radius);
    head.quadTo(0, -radius * 1.08, -radius * 0.16, -radius);
    head.closeSubpath();
    QLinearGradient body(QPointF(-radius, 0), QPointF(radius, 0));
    body.setColorAt(0.0, QColor(0x4c, 0x4c, 0x50));
    body.setColorAt(0.5, QColor(0x1e, 0x1e, 0x20));
    body.setColorAt(1.0, QColor(0x0a, 0x0a, 0x0b));
    painter.setPen(QPen(QColor(0, 0, 0), 1.0));
    painter.setBrush(body);
    painter.drawPath(head);
    painter.setPen(QPen(palette::kLettering, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, -radius * 0.25), QPointF(0, -radius * 0.92));
    painter.restore();
}

}  // namespace

QImage paintSmallLineKnob(qreal scale) {
    const QSize size(48, 48);
    const int frames = velk::layout::kArt_Default_Knob.slices;
    return makeStrip(size, frames, scale, [&](QPainter& painter, int frame) {
        const QPointF centre(24, 24);
        for (int dot = 0; dot <= 10; ++dot) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(palette::kLetteringDim);
            painter.drawEllipse(polar(centre, 21.5, sweepAngle(dot, 11)), 1.1, 1.1);
        }
        paintKnobBody(painter, centre, 15);
        paintPointerLine(painter, centre, 5, 13.5, sweepAngle(frame, frames), 2.0);
    });
}

QImage paintGainKnob(qreal scale) {
    const auto& art = velk::layout::speaker::kArt_Gain_Knob;
    const QSize size(velk::layout::speaker::kFrame_Gain_Knob.width,
                     velk::layout::speaker::kFrame_Gain_Knob.height);
    return makeStrip(size, art.slices, scale, [&](QPainter& painter, int frame) {
        const QPointF centre(size.width() / 2.0, size.height() / 2.0 + 1);
        paintGainScale(painter, centre);
        const qreal angle = sweepAngle(frame, art.slices);
        paintArc(painter, centre, 35, kSweepStart, kSweepStart + kSweep,
                 QPen(QColor(0x30, 0x24, 0x14), 3.0, Qt::SolidLine, Qt::FlatCap));
        QColor glow = palette::kAmber;
        glow.setAlpha(90);
        paintArc(painter, centre, 35, kSweepStart, angle, QPen(glow, 6.0, Qt::SolidLine, Qt::FlatCap));
        paintArc(painter, centre, 35, kSweepStart, angle,
                 QPen(palette::kAmber, 2.6, Qt::SolidLine, Qt::FlatCap));
        paintKnobBody(painter, centre, 29);
        paintPointerLine(painter, centre, 9, 27, angle, 2.6);
    });
}

QImage paintNoiseGateKnob(qreal scale) {
    namespace effect = velk::layout::effect;
    const QSize size(effect::kFrame_Noise_Gate_Knob.width, effect::kFrame_Noise_Gate_Knob.height);
    const int positions = effect::kArt_Noise_Gate_Knob.slices;
    const QPointF centre(effect::kNoiseGateCenter);
    // A dial's sweep ends at its maximum degree less 180, counted clockwise from the top.
    const qreal sweep = effect::kNoiseGateMaxDegree - 180.0 - kSweepStart;
    return makeStrip(size, positions, scale, [&](QPainter& painter, int frame) {
        for (int p = 0; p < positions; ++p)
            paintLed(painter, polar(centre, 33, sweepAngle(p, positions, kSweepStart, sweep)), 3.0,
                     palette::kAmber, p == frame);
        paintKnobBody(painter, centre, 19);
        paintChickenHead(painter, centre, 25, sweepAngle(frame, positions, kSweepStart, sweep));
    });
}

}  // namespace velk::art
