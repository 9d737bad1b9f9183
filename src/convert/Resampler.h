#pragma once

#include <span>
#include <string>

#include "convert/AudioSignal.h"

struct soxr;

namespace velk::convert {

// A signal taken to `toRate` block by block through libsoxr at its high quality (sox's default): a
// flat passband up to 91 % of the lower Nyquist frequency and linear phase, so an impulse response
// keeps its shape. Fed in blocks, libsoxr never holds the whole input; the output is the same as
// in one go. A signal already at that rate passes as it is. Throws ConversionError ResampleFailed
// naming `path`.
class Resampler {
public:
    Resampler(int fromRate, int toRate, int channels, size_t inputFrames, const std::string& path);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // The next frames of the input, interleaved.
    void push(std::span<const float> samples);
    // The whole resampled signal, once the input has ended.
    AudioSignal finish();

private:
    // Feeds `frames` frames (none, with `samples` null, to drain the filter at the end).
    void process(const float* samples, size_t frames);

    std::string m_Path;
    soxr* m_Soxr = nullptr;
    AudioSignal m_Out;
    size_t m_Produced = 0;  // frames
};

}  // namespace velk::convert
