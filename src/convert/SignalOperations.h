#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "convert/AudioSignal.h"

namespace velk::convert {

// The channels `first` to `first + count - 1` of interleaved frames of `channels` channels.
std::vector<float> channelsOf(std::span<const float> samples, int channels, int first, int count);

// Drops every frame after the first `frames`.
void keepFrames(AudioSignal& signal, size_t frames);

// The largest magnitude of any sample (0 for silence).
double peakOf(std::span<const float> samples);

void scale(AudioSignal& signal, double factor);

// Samples as integers of `bits` bits, left-justified in 32 bits, and how many lay beyond full scale
// and were clipped.
struct PcmSamples {
    std::vector<int32_t> samples;
    size_t clipped = 0;
    double peak = 0;  // of the integers, 1.0 = full scale
};

// Rounds to the nearest step; +1.0 itself becomes the largest positive value without counting as
// clipped, since two's complement has one step less above zero than below.
PcmSamples quantized(std::span<const float> samples, int bits);

}  // namespace velk::convert
