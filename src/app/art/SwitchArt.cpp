#include "app/art/SwitchArt.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <numbers>

#include "app/art/ArtKit.h"

namespace velk::art {

namespace {

// What each frame of a 6-frame switch shows.
struct SwitchFrame {
    bool on;
    CapState cap;
};
constexpr std::array<SwitchFrame, 6> kSixFrames{{{false, CapState::Normal},
                                                 {false, CapState::Hover},
                                                 {true, CapState::Hover},
                                                 {false, CapState::Pressed},
                                                 {true, CapState::Pressed},
                                                 {true, CapState::Normal}}};

// What each frame of a 4-frame momentary button shows.
constexpr std::array<CapState, 4> kMomentaryFrames{CapState::Disabled, CapState::Hover, CapState::Pressed,
                                                   CapState::Normal};

QColor captionColour(CapState state) {
    return state == CapState::Disabled ? palette::kLetteringDim.darker(160) : palette::kLettering;
}

QRectF pressedShift(QRectF area, CapState state) {
    return state == CapState::Pressed ? area.translated(0, 1.5) : area;
}

}  // namespace

QImage paintTypeSwitch(QSize size, const QString& name, const QColor& ledColour, qreal scale) {
    constexpr std::array<CapState, 4> caps{CapState::Normal, CapState::Hover, CapState::Pressed,
                                           CapState::Normal};
    return makeStrip(size, 4, scale, [&](QPainter& painter, int frame) {
        const qreal w = size.width();
        const bool on = frame == 3;
        const QPointF led(w / 2, 17);
        paintChromeRing(painter, led, 9, 6);
        paintLed(painter, led, 6, ledColour, on);
        const QRectF cap(8, 34, w - 16, 58);
        paintPushCap(painter, cap, caps[frame], 5);
        // A coloured stripe on the cap tells the types apart even when their LEDs are dark.
        QColor stripe = ledColour;
        stripe.setAlpha(on ? 220 : 120);
        painter.fillRect(
            pressedShift(QRectF(cap.left() + 10, cap.bottom() - 12, cap.width() - 20, 3), caps[frame]),
            stripe);
        paintLettering(painter, QRectF(0, 98, w, 18), name, 11, Qt::AlignCenter,
                       on ? palette::kLettering : palette::kLetteringDim);
    });
}

QImage paintFxLoopSwitch(QSize size, const QString& name, qreal scale) {
    return makeStrip(size, 6, scale, [&](QPainter& painter, int frame) {
        const SwitchFrame look = kSixFrames[frame];
        const qreal h = size.height();
        const QPointF led(30, h / 2);
        paintChromeRing(painter, led, 12, 8);
        paintLed(painter, led, 8, palette::kRed, look.on);
        const QRectF cap(56, 8, size.width() - 64, h - 16);
        paintPushCap(painter, cap, look.cap, 7);
        paintLettering(painter, pressedShift(cap, look.cap), name, 17, Qt::AlignCenter,
                       look.on ? palette::kAmber : palette::kLettering);
    });
}

QImage paintBypassSwitch(QSize size, qreal scale) {
    return makeStrip(size, 6, scale, [&](QPainter& painter, int frame) {
        const SwitchFrame look = kSixFrames[frame];
        const qreal w = size.width();
        const QPointF led(w / 2, 13);
        paintChromeRing(painter, led, 9, 6);
        paintLed(painter, led, 6, palette::kRed, look.on);
        // A chrome stomp switch: hex nut, then the domed plunger.
        const QPointF centre(w / 2, 60);
        QPolygonF nut;
        for (int i = 0; i < 6; ++i) {
            const double a = (2 * i + 1) * std::numbers::pi / 6;
            nut << centre + QPointF(27 * std::cos(a), 27 * std::sin(a));
        }
        painter.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
        painter.setBrush(chromeGradient(centre, 27));
        painter.drawPolygon(nut);
        const qreal plunger = look.cap == CapState::Pressed ? 14.5 : 16;
        QRadialGradient dome(centre - QPointF(5, 6), plunger * 1.6);
        const bool hover = look.cap == CapState::Hover;
        dome.setColorAt(0.0, hover ? Qt::white : palette::kChromeLight);
        dome.setColorAt(0.5, hover ? QColor(0xa8, 0xa8, 0xac) : QColor(0x90, 0x90, 0x94));
        dome.setColorAt(1.0, QColor(0x40, 0x40, 0x44));
        painter.setBrush(dome);
        painter.drawEllipse(centre, plunger, plunger);
    });
}

QImage paintCaptionButton(QSize size, const QString& caption, qreal scale) {
    return makeStrip(size, 4, scale, [&](QPainter& painter, int frame) {
        const CapState state = kMomentaryFrames[frame];
        const QRectF cap(2, 2, size.width() - 4, size.height() - 4);
        paintPushCap(painter, cap, state, 7);
        paintLettering(painter, pressedShift(cap, state), caption, 12, Qt::AlignCenter, captionColour(state));
    });
}

QImage paintFolderButton(QSize size, qreal scale) {
    return makeStrip(size, 4, scale, [&](QPainter& painter, int frame) {
        const CapState state = kMomentaryFrames[frame];
        const QRectF cap(1, 1, size.width() - 2, size.height() - 2);
        paintPushCap(painter, cap, state, 5);
        const QRectF body = pressedShift(QRectF(cap.center() - QPointF(9, 5), QSizeF(18, 13)), state);
        QPainterPath folder;
        folder.moveTo(body.left(), body.top());
        folder.lineTo(body.left() + 7, body.top());
        folder.lineTo(body.left() + 9, body.top() + 2.5);
        folder.lineTo(body.right(), body.top() + 2.5);
        folder.lineTo(body.right(), body.bottom());
        folder.lineTo(body.left(), body.bottom());
        folder.closeSubpath();
        painter.setPen(QPen(captionColour(state), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(folder);
        painter.drawLine(QPointF(body.left(), body.top() + 5.5), QPointF(body.right(), body.top() + 5.5));
    });
}

QImage paintAmpBadge(QSize size, const QString& ampI, const QString& ampII, qreal scale) {
    return makeStrip(size, 2, scale, [&](QPainter& painter, int frame) {
        const QRectF plate(1, 1, size.width() - 2, size.height() - 2);
        QLinearGradient chrome(plate.topLeft(), plate.bottomLeft());
        chrome.setColorAt(0.0, palette::kChromeLight);
        chrome.setColorAt(1.0, QColor(0x8a, 0x8a, 0x8e));
        painter.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
        painter.setBrush(chrome);
        painter.drawRoundedRect(plate, 4, 4);
        painter.setBrush(palette::kFace);
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(plate.adjusted(2.5, 2.5, -2.5, -2.5), 2.5, 2.5);
        paintLettering(painter, plate, frame == 0 ? ampI : ampII, size.height() * 0.42, Qt::AlignCenter,
                       palette::kAmber);
    });
}

}  // namespace velk::art
