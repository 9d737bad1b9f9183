#pragma once

#include <QImage>

// The two panel backgrounds, drawn around the frames their controls occupy, and the app icon.
namespace velk::art {

QImage paintEffectSettingsBase(qreal scale);
QImage paintSpeakerSimulationBase(qreal scale);
QImage paintApplicationIcon(int size, qreal scale);

}  // namespace velk::art
