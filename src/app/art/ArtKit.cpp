#include "app/art/ArtKit.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace velk::art {

namespace {

constexpr qreal kScrewRadius = 7.0;

void paintScrew(QPainter& painter, QPointF centre) {
    QRadialGradient head(centre - QPointF(2, 2), kScrewRadius * 1.4);
    head.setColorAt(0.0, palette::kChromeLight);
    head.setColorAt(1.0, palette::kChromeDark);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    painter.setBrush(head);
    painter.drawEllipse(centre, kScrewRadius, kScrewRadius);
    painter.setPen(QPen(QColor(40, 40, 44), 1.6));
    painter.drawLine(centre + QPointF(-4.5, -1.5), centre + QPointF(4.5, 1.5));
}

// Fine horizontal streaks, so the plate reads as brushed metal rather than flat paint.
void paintBrushing(QPainter& painter, const QRectF& area) {
    QRandomGenerator random(0x5eed);  // fixed seed: the same artwork on every build
    for (int y = static_cast<int>(area.top()); y < area.bottom(); ++y) {
        const int shade = random.bounded(-7, 8);
        painter.setPen(QColor(128 + shade * 8, 128 + shade * 8, 132 + shade * 8, 10));
        painter.drawLine(QPointF(area.left(), y + 0.5), QPointF(area.right(), y + 0.5));
    }
}

}  // namespace

QFont letteringFont(qreal pixelSize, int spacingPercent) {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setLetterSpacing(QFont::PercentageSpacing, spacingPercent);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QImage makeStrip(QSize frameSize, int frames, qreal scale,
                 const std::function<void(QPainter&, int)>& paintFrame) {
    const QSize logical(frameSize.width(), frameSize.height() * frames);
    QImage strip((QSizeF(logical) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    // The painter then draws in logical pixels, scaled to the image's own.
    strip.setDevicePixelRatio(scale);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int frame = 0; frame < frames; ++frame) {
        painter.save();
        painter.translate(0, frame * frameSize.height());
        painter.setClipRect(QRect(QPoint(0, 0), frameSize));
        paintFrame(painter, frame);
        painter.restore();
    }
    return strip;
}

QImage makeImage(QSize size, qreal scale, const std::function<void(QPainter&)>& paint) {
    return makeStrip(size, 1, scale, [&](QPainter& painter, int) { paint(painter); });
}

void paintFaceplate(QPainter& painter, const QRectF& area) {
    painter.save();
    QLinearGradient rim(area.topLeft(), area.bottomLeft());
    rim.setColorAt(0.0, palette::kChromeLight);
    rim.setColorAt(0.5, QColor(0x9a, 0x9a, 0x9e));
    rim.setColorAt(1.0, palette::kChromeDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(rim);
    painter.drawRoundedRect(area, 10, 10);

    const QRectF plate = area.adjusted(5, 5, -5, -5);
    QLinearGradient face(plate.topLeft(), plate.bottomLeft());
    face.setColorAt(0.0, palette::kFaceLight);
    face.setColorAt(0.35, palette::kFace);
    face.setColorAt(1.0, QColor(0x10, 0x10, 0x11));
    painter.setBrush(face);
    painter.drawRoundedRect(plate, 7, 7);
    painter.setClipRect(plate);
    paintBrushing(painter, plate);
    painter.setClipping(false);

    const qreal inset = 18;
    for (QPointF corner :
         {plate.topLeft() + QPointF(inset, inset), plate.topRight() + QPointF(-inset, inset),
          plate.bottomLeft() + QPointF(inset, -inset), plate.bottomRight() + QPointF(-inset, -inset)})
        paintScrew(painter, corner);
    painter.restore();
}

void paintLettering(QPainter& painter, const QRectF& box, const QString& text, qreal pixelSize,
                    Qt::Alignment alignment, const QColor& colour) {
    painter.save();
    painter.setFont(letteringFont(pixelSize));
    painter.setPen(QColor(0, 0, 0, 170));
    painter.drawText(box.translated(0, 1.2), alignment, text);
    painter.setPen(colour);
    painter.drawText(box, alignment, text);
    painter.restore();
}

void paintSectionRule(QPainter& painter, const QRectF& line, const QString& title, qreal pixelSize) {
    painter.save();
    painter.setFont(letteringFont(pixelSize));
    const qreal gap = title.isEmpty() ? 0 : painter.fontMetrics().horizontalAdvance(title) + 18;
    const qreal y = line.center().y();
    const qreal middle = line.center().x();
    painter.setPen(QPen(palette::kLetteringDim, 1.2));
    painter.drawLine(QPointF(line.left(), y), QPointF(middle - gap / 2, y));
    painter.drawLine(QPointF(middle + gap / 2, y), QPointF(line.right(), y));
    painter.drawLine(QPointF(line.left(), y), QPointF(line.left(), y + 6));
    painter.drawLine(QPointF(line.right(), y), QPointF(line.right(), y + 6));
    painter.restore();
    if (!title.isEmpty())
        paintLettering(painter, line, title, pixelSize);
}

void paintDisplayWindow(QPainter& painter, const QRectF& area, qreal radius) {
    painter.save();
    const QRectF bezel = area.adjusted(-3, -3, 3, 3);
    QLinearGradient edge(bezel.topLeft(), bezel.bottomLeft());
    edge.setColorAt(0.0, QColor(0, 0, 0, 220));
    edge.setColorAt(1.0, QColor(0x60, 0x60, 0x64));
    painter.setPen(Qt::NoPen);
    painter.setBrush(edge);
    painter.drawRoundedRect(bezel, radius + 2, radius + 2);

    QLinearGradient glass(area.topLeft(), area.bottomLeft());
    glass.setColorAt(0.0, QColor(0x02, 0x03, 0x02));
    glass.setColorAt(1.0, palette::kGlass.lighter(160));
    painter.setBrush(glass);
    painter.drawRoundedRect(area, radius, radius);

    // A faint reflection across the upper half of the glass.
    QLinearGradient sheen(area.topLeft(), QPointF(area.left(), area.center().y()));
    sheen.setColorAt(0.0, QColor(255, 255, 255, 20));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawRoundedRect(QRectF(area.topLeft(), QSizeF(area.width(), area.height() / 2)), radius, radius);
    painter.restore();
}

void paintLed(QPainter& painter, QPointF centre, qreal radius, const QColor& colour, bool lit) {
    painter.save();
    painter.setPen(Qt::NoPen);
    if (lit) {
        QRadialGradient glow(centre, radius * 3.2);
        QColor halo = colour;
        halo.setAlpha(110);
        glow.setColorAt(0.0, halo);
        halo.setAlpha(0);
        glow.setColorAt(1.0, halo);
        painter.setBrush(glow);
        painter.drawEllipse(centre, radius * 3.2, radius * 3.2);
    }
    QRadialGradient body(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    if (lit) {
        body.setColorAt(0.0, Qt::white);
        body.setColorAt(0.35, colour.lighter(130));
        body.setColorAt(1.0, colour.darker(140));
    } else {
        body.setColorAt(0.0, colour.darker(260));
        body.setColorAt(1.0, colour.darker(700));
    }
    painter.setBrush(body);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, lit ? 200 : 60));
    painter.drawEllipse(centre - QPointF(radius * 0.35, radius * 0.4), radius * 0.3, radius * 0.22);
    painter.restore();
}

QLinearGradient chromeGradient(QPointF centre, qreal radius) {
    QLinearGradient chrome(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    chrome.setColorAt(0.0, palette::kChromeLight);
    chrome.setColorAt(0.55, palette::kChromeDark);
    chrome.setColorAt(1.0, QColor(0xc0, 0xc0, 0xc4));
    return chrome;
}

void paintChromeRing(QPainter& painter, QPointF centre, qreal outer, qreal inner) {
    painter.save();
    QPainterPath ring;
    ring.addEllipse(centre, outer, outer);
    ring.addEllipse(centre, inner, inner);
    painter.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    painter.setBrush(chromeGradient(centre, outer));
    painter.drawPath(ring);
    painter.restore();
}

void paintPushCap(QPainter& painter, const QRectF& area, CapState state, qreal radius) {
    painter.save();
    // Bezel: a chrome frame the cap sits in.
    QLinearGradient bezel(area.topLeft(), area.bottomLeft());
    bezel.setColorAt(0.0, palette::kChromeLight);
    bezel.setColorAt(1.0, palette::kChromeDark);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    painter.setBrush(bezel);
    painter.drawRoundedRect(area, radius + 2, radius + 2);

    const bool pressed = state == CapState::Pressed;
    QRectF cap = area.adjusted(3, 3, -3, -3);
    if (pressed)
        cap.translate(0, 1.5);
    QColor top(0x48, 0x48, 0x4c), bottom(0x18, 0x18, 0x1a);
    if (state == CapState::Hover) {
        top = top.lighter(150);
        bottom = bottom.lighter(170);
    } else if (pressed) {
        top = top.darker(170);
        bottom = bottom.darker(130);
    } else if (state == CapState::Disabled) {
        top = top.darker(170);
        bottom = bottom.darker(130);
    }
    QLinearGradient body(cap.topLeft(), cap.bottomLeft());
    body.setColorAt(0.0, top);
    body.setColorAt(1.0, bottom);
    painter.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    painter.setBrush(body);
    painter.drawRoundedRect(cap, radius, radius);
    painter.setBrush(Qt::NoBrush);
    if (state == CapState::Hover) {
        // A warm rim, as if the panel light caught the cap's edge.
        QColor rim = palette::kAmber;
        rim.setAlpha(150);
        painter.setPen(QPen(rim, 1.4));
        painter.drawRoundedRect(cap.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    } else if (pressed) {
        // Sunk into the bezel: a shadow along the top edge.
        painter.setPen(QPen(QColor(0, 0, 0, 170), 2.0));
        painter.drawLine(cap.topLeft() + QPointF(radius, 1.5), cap.topRight() + QPointF(-radius, 1.5));
    } else {
        painter.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
        painter.drawRoundedRect(cap.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
    painter.restore();
}

}  // namespace velk::art
