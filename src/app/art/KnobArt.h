#pragma once

#include <QImage>

// The knob strips: one frame per position, the pointer turning over a fixed scale.
namespace velk::art {

// The small default knob: 51 frames, a line pointer over a dotted scale.
QImage paintSmallLineKnob(qreal scale);

// The speaker simulation's gain knob: 41 frames, -30 dB to 0 dB with a lit arc up to the value.
QImage paintGainKnob(qreal scale);

// The noise gate selector: 4 frames, a pointer knob turning 120 degrees around a point off its
// centre, with an LED at each position.
QImage paintNoiseGateKnob(qreal scale);

}  // namespace velk::art
