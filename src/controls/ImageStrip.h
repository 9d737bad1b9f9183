#pragma once

#include <QImage>
#include <QRect>

class QPainter;

namespace velk::controls {

// The controls draw from vertical strips of equally tall pre-rendered frames, frame 0 at the top.

// Height of one frame; 0 when the count is below 1.
int stripFrameHeight(const QImage& strip, int frameCount);

// Where frame `index` lies in the strip; an empty rectangle for an index outside the strip.
QRect stripFrameRect(const QImage& strip, int frameCount, int index);

// Draws one frame scaled into `target`, source-over with the given opacity. An index outside the
// strip draws nothing.
void drawStripFrame(QPainter& painter, const QImage& strip, int frameCount, int index, const QRectF& target,
                    qreal opacity = 1.0);

// An image of the application's resources by its relative name, e.g. "VAZEV_BASE/VAZEV_BASE.png".
QImage resourceImage(const QString& relativeName);

}  // namespace velk::controls
