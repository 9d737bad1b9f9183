#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// The button and switch strips, in the frame orders the image buttons expect.
namespace velk::art {

// A 4-frame latching type switch (off, hover, pressed, on): an LED over a push cap, its name below.
QImage paintTypeSwitch(QSize size, const QString& name, const QColor& ledColour, qreal scale);

// The 6-frame FX loop switch (off, off-hover, on-hover, off-pressed, on-pressed, on).
QImage paintFxLoopSwitch(QSize size, const QString& name, qreal scale);

// The 6-frame bypass footswitch, frames as the FX loop switch.
QImage paintBypassSwitch(QSize size, qreal scale);

// A 4-frame momentary button (disabled, hover, pressed, normal) with a caption on its cap.
QImage paintCaptionButton(QSize size, const QString& caption, qreal scale);

// A 4-frame momentary button (disabled, hover, pressed, normal) with a folder on its cap.
QImage paintFolderButton(QSize size, qreal scale);

// The 2-frame amp indicator: Amp I, then Amp II.
QImage paintAmpBadge(QSize size, const QString& ampI, const QString& ampII, qreal scale);

}  // namespace velk::art
