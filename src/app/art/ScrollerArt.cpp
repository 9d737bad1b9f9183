#include "app/art/ScrollerArt.h"

#include <QLinearGradient>
#include <QPainterPath>

#include "app/art/ArtKit.h"
#include "controls/SPScroller.h"

namespace velk::art {

namespace {

constexpr QSize kArrowFrame{11, 13};
constexpr int kBarWidth = 9;
constexpr int kBarCapHeight = 5;

// The knob's amber-lit glass bar, shaded across its width.
QLinearGradient barShading() {
    QLinearGradient shading(0, 0, kBarWidth, 0);
    shading.setColorAt(0.0, palette::kAmber.darker(220));
    shading.setColorAt(0.4, palette::kAmber.darker(110));
    shading.setColorAt(1.0, palette::kAmber.darker(300));
    return shading;
}

QImage paintBarCap(bool top, qreal scale) {
    return makeImage({kBarWidth, kBarCapHeight}, scale, [&](QPainter& painter) {
        // Draw a whole rounded bar twice the cap's height and keep the half that is the cap.
        const QRectF bar(0.5, top ? 0.5 : -kBarCapHeight, kBarWidth - 1, 2 * kBarCapHeight - 0.5);
        painter.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
        painter.setBrush(barShading());
        painter.drawRoundedRect(bar, 4, 4);
    });
}

}  // namespace

QImage paintScrollerArrow(bool up, qreal scale) {
    return makeStrip(kArrowFrame, SPScroller::kArrowFrames, scale, [&](QPainter& painter, int frame) {
        const QColor colours[] = {palette::kLetteringDim, palette::kLettering, palette::kAmber,
                                  palette::kLetteringDim.darker(200)};
        const qreal w = kArrowFrame.width(), h = kArrowFrame.height();
        QPainterPath arrow;
        const qreal tip = up ? 3.5 : h - 3.5, base = up ? h - 4 : 4;
        arrow.moveTo(w / 2, tip);
        arrow.lineTo(w - 1.5, base);
        arrow.lineTo(1.5, base);
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours[frame]);
        painter.drawPath(arrow);
    });
}

QImage paintScrollerBarTop(qreal scale) {
    return paintBarCap(true, scale);
}

QImage paintScrollerBarMiddle(qreal scale) {
    return makeImage({kBarWidth, 1}, scale, [](QPainter& painter) {
        painter.fillRect(QRectF(1, 0, kBarWidth - 2, 1), barShading());
        painter.fillRect(QRectF(0, 0, 1, 1), QColor(0, 0, 0, 200));
        painter.fillRect(QRectF(kBarWidth - 1, 0, 1, 1), QColor(0, 0, 0, 200));
    });
}

QImage paintScrollerBarBottom(qreal scale) {
    return paintBarCap(false, scale);
}

}  // namespace velk::art
