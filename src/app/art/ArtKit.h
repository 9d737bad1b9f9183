#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>

// The shared look of the panel artwork: a black anodised faceplate with cream lettering, chrome
// trim, smoked-glass display windows and LEDs that glow when lit.
namespace velk::art {

namespace palette {
inline const QColor kFace{0x1a, 0x1a, 0x1c};
inline const QColor kFaceLight{0x2a, 0x2a, 0x2d};
inline const QColor kLettering{0xec, 0xe4, 0xcf};
inline const QColor kLetteringDim{0x9c, 0x96, 0x88};
inline const QColor kChromeLight{0xf2, 0xf2, 0xf0};
inline const QColor kChromeDark{0x5c, 0x5c, 0x60};
inline const QColor kGlass{0x07, 0x09, 0x08};
inline const QColor kAmber{0xff, 0xa8, 0x22};
inline const QColor kRed{0xff, 0x3a, 0x28};
inline const QColor kGreen{0x4c, 0xff, 0x6a};
inline const QColor kWhite{0xf4, 0xf6, 0xff};
inline const QColor kBlue{0x48, 0xc8, 0xff};
}  // namespace palette

// Bold condensed lettering of the given pixel size, with a little extra letter spacing.
QFont letteringFont(qreal pixelSize, int spacingPercent = 108);

// The art is drawn in the controls' own (logical) pixels; `scale` is how many image pixels each of
// them gets, so that a screen of that device pixel ratio shows the art pixel for pixel.

// A strip of `frames` frames of `frameSize`, frame i painted by `paintFrame` into a painter
// whose origin is the frame's top-left corner.
QImage makeStrip(QSize frameSize, int frames, qreal scale,
                 const std::function<void(QPainter&, int)>& paintFrame);

// A transparent image of the given size, painted by `paint`.
QImage makeImage(QSize size, qreal scale, const std::function<void(QPainter&)>& paint);

// The faceplate: brushed black metal with a chrome rim and four screws.
void paintFaceplate(QPainter& painter, const QRectF& area);

// Cream silkscreen text centred in `box` (or aligned as given).
void paintLettering(QPainter& painter, const QRectF& box, const QString& text, qreal pixelSize,
                    Qt::Alignment alignment = Qt::AlignCenter, const QColor& colour = palette::kLettering);

// A thin cream rule, with an optional title breaking it in the middle.
void paintSectionRule(QPainter& painter, const QRectF& line, const QString& title, qreal pixelSize);

// A recessed smoked-glass window that the editor's texts show through.
void paintDisplayWindow(QPainter& painter, const QRectF& area, qreal radius = 4.0);

// A round LED of the given colour, lit with a glow or dark.
void paintLed(QPainter& painter, QPointF centre, qreal radius, const QColor& colour, bool lit);

// Polished chrome lit from the top-left, over a square of `radius` around `centre`.
QLinearGradient chromeGradient(QPointF centre, qreal radius);

// A chrome ring, as around a jack or an LED bezel.
void paintChromeRing(QPainter& painter, QPointF centre, qreal outer, qreal inner);

// How a push cap is shown.
enum class CapState { Normal, Hover, Pressed, Disabled };

// A rubber push cap with a chrome bezel, lit from above; pressed caps sink and darken.
void paintPushCap(QPainter& painter, const QRectF& area, CapState state, qreal radius = 6.0);

}  // namespace velk::art
