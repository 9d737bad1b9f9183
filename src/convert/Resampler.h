#pragma once

#include <string>

#include "convert/AudioSignal.h"

namespace velk::convert {

// The signal at `sampleRate` through libsoxr at its high quality (sox's default): a flat passband
// up to 91 % of the lower Nyquist frequency and linear phase, so an impulse response keeps its
// shape. A signal already at that rate is returned as it is. Throws ConversionError
// ResampleFailed naming `path`.
AudioSignal resampled(AudioSignal signal, int sampleRate, const std::string& path);

}  // namespace velk::convert
