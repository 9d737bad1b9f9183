#include "convert/SignalOperations.h"

#include <algorithm>
#include <cmath>

namespace velk::convert {

std::vector<float> channelsOf(std::span<const float> samples, int channels, int first, int count) {
    std::vector<float> out;
    const size_t frames = samples.size() / static_cast<size_t>(channels);
    out.reserve(frames * static_cast<size_t>(count));
    for (size_t frame = 0; frame < frames; ++frame) {
        const auto start = samples.begin() + static_cast<ptrdiff_t>(frame * channels + first);
        out.insert(out.end(), start, start + count);
    }
    return out;
}

void keepFrames(AudioSignal& signal, size_t frames) {
    if (frames < signal.frames())
        signal.samples.resize(frames * static_cast<size_t>(signal.channels));
}

double peakOf(std::span<const float> samples) {
    float peak = 0;
    for (const float sample : samples)
        peak = std::max(peak, std::abs(sample));
    return peak;
}

void scale(AudioSignal& signal, double factor) {
    for (float& sample : signal.samples)
        sample = static_cast<float>(sample * factor);
}

PcmSamples quantized(std::span<const float> samples, int bits) {
    const double fullScale = std::ldexp(1.0, bits - 1);
    const double lowest = -fullScale;
    const double highest = fullScale - 1;
    const int shift = 32 - bits;
    PcmSamples out;
    out.samples.reserve(samples.size());
    int64_t largest = 0;
    for (const float sample : samples) {
        out.clipped += std::abs(sample) > 1.0;
        const auto value =
            static_cast<int64_t>(std::clamp(std::round(double{sample} * fullScale), lowest, highest));
        largest = std::max(largest, value < 0 ? -value : value);
        out.samples.push_back(static_cast<int32_t>(static_cast<uint32_t>(value) << shift));
    }
    out.peak = static_cast<double>(largest) / fullScale;
    return out;
}

}  // namespace velk::convert
