#include "controls/ImageStrip.h"

#include <QPainter>

namespace velk::controls {

int stripFrameHeight(const QImage& strip, int frameCount) {
    return frameCount < 1 ? 0 : strip.height() / frameCount;
}

QRect stripFrameRect(const QImage& strip, int frameCount, int index) {
    if (strip.isNull() || index < 0 || index >= frameCount)
        return {};
    const int frameHeight = stripFrameHeight(strip, frameCount);
    return {0, index * frameHeight, strip.width(), frameHeight};
}

void drawStripFrame(QPainter& painter, const QImage& strip, int frameCount, int index, const QRectF& target,
                    qreal opacity) {
    const QRect source = stripFrameRect(strip, frameCount, index);
    if (source.isEmpty())
        return;
    painter.save();
    painter.setOpacity(opacity);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, strip, source);
    painter.restore();
}

QImage resourceImage(const QString& relativeName) {
    return QImage(QStringLiteral(":/") + relativeName);
}

}  // namespace velk::controls
