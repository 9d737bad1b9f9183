#pragma once

#include <cstdint>

namespace eLibrary {

// Converters from interleaved file samples to one destination buffer per channel, for T = int16_t,
// int32_t or float. Each converts min(capacity, sourceFrames) frames of min(sourceChannels,
// channels) channels, reading source frames from sourceFrameOffset and writing destination frames
// from frameOffset, and returns the frame count; 0 (writing nothing) for an unsupported sample
// format. Integer samples of every size deliver their top bits: 16-bit destinations get the upper
// 16 bits of wider samples without rounding, floats are scaled so full scale is 1.0.

// Little-endian WAVE samples: format tag 1 (integer PCM, 8 bits unsigned, 12 to 32 bits signed)
// or 3 (32-bit IEEE float).
template <typename T>
int32_t convertWavToPcmBuffers(uint16_t formatTag, uint16_t bitsPerSample, const uint8_t* source,
                               int32_t sourceChannels, int32_t sourceFrameOffset, int32_t sourceFrames,
                               T** buffers, int32_t channels, int32_t frameOffset, int32_t capacity);

// Big-endian AIFF samples, always signed integers of 8 to 32 bits.
template <typename T>
int32_t convertAifToPcmBuffers(uint16_t sampleSize, const uint8_t* source, int32_t sourceChannels,
                               int32_t sourceFrameOffset, int32_t sourceFrames, T** buffers, int32_t channels,
                               int32_t frameOffset, int32_t capacity);

}  // namespace eLibrary
