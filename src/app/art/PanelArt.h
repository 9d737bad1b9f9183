#pragma once

#include <QImage>

// The two panel backgrounds, drawn around the frames their controls occupy, and the app icon.
namespace velk::art {

QImage paintEffectSettingsBase();
QImage paintSpeakerSimulationBase();
QImage paintApplicationIcon(int size);

}  // namespace velk::art
