#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace velk::controls {

// The controls draw from vertical strips of equally tall pre-rendered frames, frame 0 at the top.
// A strip drawn for a high-density screen carries its device pixel ratio: its frames cover the
// same logical pixels with more image pixels.

// The logical size of one frame, as the control lays itself out; empty when the count is below 1.
QSize stripFrameSize(const QImage& strip, int frameCount);

// Where frame `index` lies in the strip, in image pixels; an empty rectangle for an index outside
// the strip.
QRect stripFrameRect(const QImage& strip, int frameCount, int index);

// Draws one frame scaled into `target`, source-over with the given opacity. An index outside the
// strip draws nothing.
void drawStripFrame(QPainter& painter, const QImage& strip, int frameCount, int index, const QRectF& target,
                    qreal opacity = 1.0);

// The art is also drawn at this device pixel ratio, for high-density screens.
inline constexpr int kDenseArtRatio = 2;

// The resource name of an image drawn at `ratio` image pixels a logical pixel: Qt's "@2x" naming,
// e.g. "VAZEV_BASE/VAZEV_BASE@2x.png"; the name itself at ratio 1.
QString scaledImageName(const QString& relativeName, int ratio);

// An image of the application's resources by its relative name, e.g. "VAZEV_BASE/VAZEV_BASE.png",
// drawn for a screen of `deviceRatio`: the high-density drawing, carrying its ratio, on a screen
// denser than 1 where one was made; the plain one elsewhere.
QImage resourceImage(const QString& relativeName, qreal deviceRatio);
// The same for the densest screen of the application, so that the art stays crisp on any screen
// the window moves to.
QImage resourceImage(const QString& relativeName);

}  // namespace velk::controls
