#include "AudioConverter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>
#include <type_traits>

namespace eLibrary {

namespace {

// Where the frames come from and go to; the same for every sample format.
template <typename T>
struct ConversionRange {
    const uint8_t* source;
    int32_t sourceChannels;
    int32_t sourceFrameOffset;
    T** buffers;
    int32_t frameOffset;
    int32_t frames;
    int32_t channels;
};

template <typename T>
ConversionRange<T> makeRange(const uint8_t* source, int32_t sourceChannels, int32_t sourceFrameOffset,
                             int32_t sourceFrames, T** buffers, int32_t channels, int32_t frameOffset,
                             int32_t capacity) {
    return {source,
            sourceChannels,
            sourceFrameOffset,
            buffers,
            frameOffset,
            std::min(capacity, sourceFrames),
            std::min(sourceChannels, channels)};
}

// Applies `decode` (container bytes → destination sample) to every sample of the range.
template <int Bytes, typename T, typename Decode>
int32_t convertRange(const ConversionRange<T>& range, Decode decode) {
    if (range.channels < 1)
        return range.frames;
    const ptrdiff_t frameStride = ptrdiff_t{range.sourceChannels} * Bytes;
    for (int32_t c = 0; c < range.channels; ++c) {
        const uint8_t* in = range.source + range.sourceFrameOffset * frameStride + ptrdiff_t{c} * Bytes;
        T* out = range.buffers[c] + range.frameOffset;
        for (int32_t i = 0; i < range.frames; ++i, in += frameStride)
            out[i] = decode(in);
    }
    return range.frames;
}

// Every integer sample first becomes a 32-bit value holding its significant bits left-justified;
// each destination type derives from that one value.
template <typename T>
T fromLeftJustified(int32_t value) {
    if constexpr (std::is_same_v<T, int16_t>)
        return static_cast<int16_t>(value >> 16);
    else if constexpr (std::is_same_v<T, int32_t>)
        return value;
    else
        return static_cast<float>(value * 0x1p-31);
}

// Assembles a container's bytes, most significant first, into the top of 32 bits and keeps only
// the sample's own bits (12-, 20- and 28-bit samples leave four low bits of padding).
template <int Bytes, bool BigEndian>
uint32_t assembleLeftJustified(const uint8_t* bytes) {
    uint32_t value = 0;
    for (int k = 0; k < Bytes; ++k)
        value = (value << 8) | bytes[BigEndian ? k : Bytes - 1 - k];
    return value << (32 - 8 * Bytes);
}

template <int Bytes, bool BigEndian, typename T>
int32_t convertIntegers(const ConversionRange<T>& range, int32_t bits, bool unsignedBytes) {
    const uint32_t keep = ~uint32_t{0} << (32 - bits);
    const uint32_t flip = unsignedBytes ? 0x80000000u : 0;
    return convertRange<Bytes>(range, [keep, flip](const uint8_t* in) {
        return fromLeftJustified<T>(
            static_cast<int32_t>((assembleLeftJustified<Bytes, BigEndian>(in) & keep) ^ flip));
    });
}

template <bool BigEndian, typename T>
int32_t convertIntegerSamples(const ConversionRange<T>& range, int32_t bits, bool unsignedBytes) {
    switch (bits) {
        case 8:
            return convertIntegers<1, BigEndian>(range, bits, unsignedBytes);
        case 12:
        case 16:
            return convertIntegers<2, BigEndian>(range, bits, false);
        case 20:
        case 24:
            return convertIntegers<3, BigEndian>(range, bits, false);
        case 28:
        case 32:
            return convertIntegers<4, BigEndian>(range, bits, false);
        default:
            return 0;
    }
}

// Float samples scaled to an integer range, clamped, rounded half away from zero. NaN, which has
// no integer value, becomes silence.
template <typename I>
I scaleFloat(float sample) {
    constexpr double kScale = -static_cast<double>(std::numeric_limits<I>::min());
    constexpr double kLowest = std::numeric_limits<I>::min();
    constexpr double kHighest = std::numeric_limits<I>::max();
    const double x = sample * kScale;
    if (std::isnan(x))
        return 0;
    if (x < kLowest)
        return std::numeric_limits<I>::min();
    if (x > kHighest)
        return std::numeric_limits<I>::max();
    return static_cast<I>(x >= 0 ? x + 0.5 : x - 0.5);
}

template <typename T>
int32_t convertFloatSamples(const ConversionRange<T>& range) {
    return convertRange<4>(range, [](const uint8_t* in) {
        const float sample = std::bit_cast<float>(assembleLeftJustified<4, false>(in));
        if constexpr (std::is_same_v<T, float>)
            return sample;
        else
            return scaleFloat<T>(sample);
    });
}

constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint16_t kWaveFormatIeeeFloat = 3;

}  // namespace

template <typename T>
int32_t convertWavToPcmBuffers(uint16_t formatTag, uint16_t bitsPerSample, const uint8_t* source,
                               int32_t sourceChannels, int32_t sourceFrameOffset, int32_t sourceFrames,
                               T** buffers, int32_t channels, int32_t frameOffset, int32_t capacity) {
    const auto range = makeRange(source, sourceChannels, sourceFrameOffset, sourceFrames, buffers, channels,
                                 frameOffset, capacity);
    if (formatTag == kWaveFormatPcm)
        return convertIntegerSamples<false>(range, bitsPerSample, true);
    if (formatTag == kWaveFormatIeeeFloat && bitsPerSample == 32)
        return convertFloatSamples(range);
    return 0;
}

template <typename T>
int32_t convertAifToPcmBuffers(uint16_t sampleSize, const uint8_t* source, int32_t sourceChannels,
                               int32_t sourceFrameOffset, int32_t sourceFrames, T** buffers, int32_t channels,
                               int32_t frameOffset, int32_t capacity) {
    const auto range = makeRange(source, sourceChannels, sourceFrameOffset, sourceFrames, buffers, channels,
                                 frameOffset, capacity);
    return convertIntegerSamples<true>(range, sampleSize, false);
}

#define ELIBRARY_INSTANTIATE_CONVERTERS(T)                                                               \
    template int32_t convertWavToPcmBuffers<T>(uint16_t, uint16_t, const uint8_t*, int32_t, int32_t,     \
                                               int32_t, T**, int32_t, int32_t, int32_t);                 \
    template int32_t convertAifToPcmBuffers<T>(uint16_t, const uint8_t*, int32_t, int32_t, int32_t, T**, \
                                               int32_t, int32_t, int32_t);
ELIBRARY_INSTANTIATE_CONVERTERS(int16_t)
ELIBRARY_INSTANTIATE_CONVERTERS(int32_t)
ELIBRARY_INSTANTIATE_CONVERTERS(float)
#undef ELIBRARY_INSTANTIATE_CONVERTERS

}  // namespace eLibrary
