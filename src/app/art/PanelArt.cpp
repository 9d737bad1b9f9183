#include "app/art/PanelArt.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "app/PanelLayout.h"
#include "app/art/ArtKit.h"
#include "strings/StringTable.h"

namespace velk::art {

namespace {

using velk::layout::qtRect;
using velk::strings::text;

QRectF frameOf(const velk::layout::SPFrame& frame) {
    return QRectF(qtRect(frame));
}

// A box of lettering just above a frame.
QRectF captionAbove(const QRectF& frame, qreal height = 14, qreal gap = 5) {
    return {frame.left(), frame.top() - gap - height, frame.width(), height};
}

// A caption over the left end of a display window.
void paintCaptionAbove(QPainter& painter, const QRectF& display, const QString& caption) {
    paintLettering(painter, captionAbove(display, 12, 4).adjusted(2, 0, 0, 0), caption, 10,
                   Qt::AlignLeft | Qt::AlignVCenter);
}

// A caption just left of a display window.
void paintCaptionBefore(QPainter& painter, const QRectF& display, const QString& caption) {
    paintLettering(painter, QRectF(display.left() - 108, display.top(), 100, display.height()), caption, 10,
                   Qt::AlignRight | Qt::AlignVCenter);
}

// The product name, large and gold, as on the amplifier's own faceplate; shrunk to fit its box.
void paintBrand(QPainter& painter, const QRectF& box) {
    const QString name = text("AppName").toUpper();
    QFont font = letteringFont(box.height() * 0.62, 118);
    font.setItalic(true);
    const qreal width = QFontMetricsF(font).horizontalAdvance(name);
    if (width > box.width())
        font.setPixelSize(static_cast<int>(font.pixelSize() * box.width() / width));
    QLinearGradient gold(box.topLeft(), box.bottomLeft());
    gold.setColorAt(0.0, QColor(0xff, 0xe6, 0xa8));
    gold.setColorAt(0.55, QColor(0xd4, 0x9a, 0x3a));
    gold.setColorAt(1.0, QColor(0x8a, 0x5a, 0x1a));
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0, 180));
    painter.drawText(box.translated(0, 2), Qt::AlignCenter, name);
    painter.setPen(QPen(QBrush(gold), 1));
    painter.drawText(box, Qt::AlignCenter, name);
    painter.restore();
}

// Position names around the noise gate selector, printed on the plate beside its LEDs.
void paintNoiseGateScale(QPainter& painter) {
    namespace effect = velk::layout::effect;
    const QRectF knob = frameOf(effect::kFrame_Noise_Gate_Knob);
    const QPointF centre = knob.topLeft() + QPointF(effect::kNoiseGateCenter);
    const char* keys[] = {"Art_NoiseGateOff", "Art_NoiseGateLow", "Art_NoiseGateMid", "Art_NoiseGateHigh"};
    const qreal sweepEnd = effect::kNoiseGateMaxDegree - 180.0;
    for (int p = 0; p < 4; ++p) {
        const qreal degrees = -150.0 + (sweepEnd + 150.0) * p / 3;
        const qreal a = qDegreesToRadians(degrees);
        const QPointF at = centre + QPointF(44 * qSin(a), -44 * qCos(a));
        paintLettering(painter, QRectF(at.x() - 60, at.y() - 7, 60, 14), text(keys[p]), 10,
                       Qt::AlignRight | Qt::AlignVCenter);
    }
    paintSectionRule(painter, QRectF(knob.left() - 40, knob.top() + 2, knob.width() + 48, 16),
                     text("Art_NoiseGate"), 12);
}

void paintSpeakerCone(QPainter& painter, QPointF centre, qreal radius) {
    painter.save();
    painter.setPen(Qt::NoPen);
    // Mounting ring with bolts.
    paintChromeRing(painter, centre, radius, radius * 0.9);
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(22.5 + i * 45.0);
        const QPointF bolt = centre + QPointF(radius * 0.95 * qCos(a), radius * 0.95 * qSin(a));
        painter.setBrush(QColor(0x20, 0x20, 0x22));
        painter.drawEllipse(bolt, 2.4, 2.4);
    }
    // Surround and cone, dark paper lit from the top-left.
    QRadialGradient cone(centre - QPointF(radius * 0.25, radius * 0.3), radius * 1.1);
    cone.setColorAt(0.0, QColor(0x3a, 0x38, 0x34));
    cone.setColorAt(0.7, QColor(0x16, 0x15, 0x14));
    cone.setColorAt(1.0, QColor(0x05, 0x05, 0x05));
    painter.setBrush(cone);
    painter.setPen(QPen(QColor(0, 0, 0), 1.5));
    painter.drawEllipse(centre, radius * 0.9, radius * 0.9);
    painter.setBrush(Qt::NoBrush);
    for (qreal r : {0.8, 0.66, 0.52}) {
        painter.setPen(QPen(QColor(255, 255, 255, 18), 1.2));
        painter.drawEllipse(centre, radius * r, radius * r);
        painter.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
        painter.drawEllipse(centre + QPointF(0.8, 0.8), radius * r, radius * r);
    }
    QRadialGradient cap(centre - QPointF(radius * 0.08, radius * 0.1), radius * 0.3);
    cap.setColorAt(0.0, QColor(0x70, 0x6c, 0x66));
    cap.setColorAt(1.0, QColor(0x12, 0x12, 0x12));
    painter.setBrush(cap);
    painter.setPen(QPen(QColor(0, 0, 0), 1.0));
    painter.drawEllipse(centre, radius * 0.25, radius * 0.25);
    painter.restore();
}

// A panel-sized faceplate with what `engrave` prints on it.
QImage makePanel(qreal scale, const std::function<void(QPainter&)>& engrave) {
    return makeImage(velk::layout::kPanelSize, scale, [&](QPainter& painter) {
        paintFaceplate(painter, QRectF(QPointF(0, 0), QSizeF(velk::layout::kPanelSize)));
        engrave(painter);
    });
}

}  // namespace

QImage paintEffectSettingsBase(qreal scale) {
    namespace effect = velk::layout::effect;
    return makePanel(scale, [](QPainter& painter) {
        const QRectF badge = frameOf(effect::kFrame_Amp_Ch_Label);
        paintLettering(painter, captionAbove(badge, 12, 4).adjusted(-20, 0, 20, 0), text("Art_Channel"), 10);

        const QRectF fxLoop = frameOf(effect::kFrame_Fx_Loop_Sw);
        paintLettering(painter, QRectF(fxLoop.left(), fxLoop.bottom() + 2, 60, 12), text("Art_On"), 9);

        paintNoiseGateScale(painter);

        painter.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
        painter.drawLine(QPointF(40, 250.5), QPointF(900, 250.5));
        painter.setPen(QPen(QColor(255, 255, 255, 22), 1.0));
        painter.drawLine(QPointF(40, 251.5), QPointF(900, 251.5));

        const QRectF boosterLabel = frameOf(effect::kFrame_Booster_Label);
        paintSectionRule(painter, captionAbove(boosterLabel, 16, 14), text("Art_Booster"), 13);
        paintDisplayWindow(painter, boosterLabel);
        const QRectF reverbLabel = frameOf(effect::kFrame_Reverb_Label);
        paintSectionRule(painter, captionAbove(reverbLabel, 16, 14), text("Art_Reverb"), 13);
        paintDisplayWindow(painter, reverbLabel);

        paintBrand(painter, QRectF(boosterLabel.right() + 20, 470,
                                   reverbLabel.left() - boosterLabel.right() - 40, 40));
    });
}

QImage paintSpeakerSimulationBase(qreal scale) {
    namespace speaker = velk::layout::speaker;
    return makePanel(scale, [](QPainter& painter) {
        const QRectF badge = frameOf(speaker::kFrame_Amp_Ch_Label);
        const QRectF ampType = frameOf(speaker::kFrame_Amp_Type_Label);
        const QRectF irName = frameOf(speaker::kFrame_IrName_Text);
        const QRectF irGain = frameOf(speaker::kFrame_IrGain_Label);
        paintSectionRule(painter, QRectF(badge.left(), 52, irGain.right() - badge.left(), 16),
                         text("Art_StoredIr"), 12);
        paintCaptionBefore(painter, ampType, text("Art_AmpType"));
        paintCaptionBefore(painter, irName, text("Art_IrName"));
        paintCaptionAbove(painter, irGain, text("Art_IrGain"));
        for (const QRectF& display : {ampType, irName, irGain})
            paintDisplayWindow(painter, display, 3);

        const QRectF folderLabel = frameOf(speaker::kFrame_Folder_Label);
        const QRectF folderButton = frameOf(speaker::kFrame_Folder_Btn);
        paintSectionRule(painter,
                         QRectF(folderLabel.left(), folderButton.center().y() - 8,
                                folderButton.left() - folderLabel.left() - 14, 16),
                         text("Art_IrFiles"), 12);
        paintDisplayWindow(painter, folderLabel, 3);
        paintDisplayWindow(painter, frameOf(speaker::kFrame_File_Table), 4);

        const QRectF gainLabel = frameOf(speaker::kFrame_Gain_Label);
        paintLettering(painter, captionAbove(gainLabel, 12, 5).adjusted(-30, 0, 30, 0), text("Art_Gain"), 10);
        paintDisplayWindow(painter, gainLabel, 3);

        const QRectF bypass = frameOf(speaker::kFrame_Bypass_Sw);
        paintLettering(painter, captionAbove(bypass, 12, 4).adjusted(-10, 0, 10, 0), text("Art_Bypass"), 11);

        const QRectF install = frameOf(speaker::kFrame_Install_Btn);
        paintLettering(painter, QRectF(install.left() - 20, install.bottom() + 6, install.width() + 40, 12),
                       text("Art_InstallHint"), 9, Qt::AlignCenter, palette::kLetteringDim);

        paintSpeakerCone(painter, QPointF(150, 395), 105);
        paintBrand(painter, QRectF(40, 520, 220, 30));
    });
}

QImage paintApplicationIcon(int size, qreal scale) {
    return makeImage({size, size}, scale, [size](QPainter& painter) {
        const qreal s = size;
        QRectF plate(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
        paintFaceplate(painter, plate);
        const QPointF centre(s / 2, s / 2);
        QRadialGradient cap(centre - QPointF(s * 0.1, s * 0.12), s * 0.42);
        cap.setColorAt(0.0, QColor(0x6a, 0x6a, 0x70));
        cap.setColorAt(0.5, QColor(0x22, 0x22, 0x25));
        cap.setColorAt(1.0, QColor(0x05, 0x05, 0x06));
        painter.setPen(QPen(QColor(0, 0, 0), s * 0.01));
        painter.setBrush(cap);
        painter.drawEllipse(centre, s * 0.3, s * 0.3);
        painter.setPen(QPen(palette::kAmber, s * 0.05, Qt::SolidLine, Qt::RoundCap));
        const QRectF arc(centre - QPointF(s * 0.38, s * 0.38), QSizeF(s * 0.76, s * 0.76));
        painter.drawArc(arc, 240 * 16, -200 * 16);
        painter.setPen(QPen(palette::kLettering, s * 0.045, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre, centre + QPointF(s * 0.17, -s * 0.17));
    });
}

}  // namespace velk::art
