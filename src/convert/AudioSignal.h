#pragma once

#include <cstddef>
#include <vector>

namespace velk::convert {

// Interleaved samples at full scale ±1.0. Single precision holds 24 bits exactly, more than the
// resampler keeps (20) and as many as the amplifier's loader reads.
struct AudioSignal {
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> samples;

    size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// How a file stores its samples: bits per sample, 0 for a coding without a fixed size (compressed
// or companded), and whether they are floating point.
struct SampleCoding {
    int bits = 0;
    bool floatingPoint = false;
};

// A file's format and level, as a conversion reports its input and its output.
struct AudioDescription {
    int sampleRate = 0;
    int channels = 0;
    size_t frames = 0;
    SampleCoding coding;
    double peak = 0;  // the largest magnitude of any sample, 1.0 = full scale
};

}  // namespace velk::convert
