#include "controls/ImageStrip.h"

#include <QGuiApplication>
#include <QPainter>

namespace velk::controls {

QSize stripFrameSize(const QImage& strip, int frameCount) {
    if (frameCount < 1)
        return {};
    const qreal ratio = strip.devicePixelRatio();
    return {qRound(strip.width() / ratio), qRound(strip.height() / frameCount / ratio)};
}

QRect stripFrameRect(const QImage& strip, int frameCount, int index) {
    if (strip.isNull() || index < 0 || index >= frameCount)
        return {};
    const int frameHeight = strip.height() / frameCount;
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

QString scaledImageName(const QString& relativeName, int ratio) {
    if (ratio == 1)
        return relativeName;
    const qsizetype dot = relativeName.lastIndexOf(u'.');
    const QString suffix = QStringLiteral("@%1x").arg(ratio);
    return dot < 0 ? relativeName + suffix : QString(relativeName).insert(dot, suffix);
}

QImage resourceImage(const QString& relativeName, qreal deviceRatio) {
    if (deviceRatio > 1) {
        QImage dense(QStringLiteral(":/") + scaledImageName(relativeName, kDenseArtRatio));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(kDenseArtRatio);
            return dense;
        }
    }
    return QImage(QStringLiteral(":/") + relativeName);
}

QImage resourceImage(const QString& relativeName) {
    return resourceImage(relativeName, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

}  // namespace velk::controls
