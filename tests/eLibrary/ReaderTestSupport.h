#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "eLibrary/AudioFileBuilder.h"
#include "eLibrary/AudioFormat.h"

// What a reader says about a file: the verdicts a loader uses to accept or refuse it.
struct Verdicts {
    bool valid;
    bool validSampeRate;
    bool validChannels;
    bool validSampleSize;
    bool hasFormat;

    bool operator==(const Verdicts&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const Verdicts& v) {
        return os << "{valid " << v.valid << ", rate " << v.validSampeRate << ", channels " << v.validChannels
                  << ", size " << v.validSampleSize << ", format " << v.hasFormat << "}";
    }
};

inline Verdicts verdictsOf(const eLibrary::AudioFormatReader& reader) {
    return {reader.valid(), reader.validSampeRate(), reader.validChannels(), reader.validSampleSize(),
            reader.hasFormat()};
}

// One file and the verdicts its reader must reach.
struct ValidityCase {
    const char* label;
    testaudio::Bytes file;
    Verdicts expected;

    friend void PrintTo(const ValidityCase& c, std::ostream* os) { *os << c.label; }
};

inline std::string validityCaseName(const testing::TestParamInfo<ValidityCase>& info) {
    return info.param.label;
}

// Reads `frames` frames of `channels` channels and returns them channel after channel.
template <typename T>
std::vector<std::vector<T>> readChannels(eLibrary::AudioFormatReader& reader, int channels, int frames,
                                         int32_t* delivered = nullptr) {
    std::vector<std::vector<T>> out(static_cast<size_t>(channels),
                                    std::vector<T>(static_cast<size_t>(frames)));
    std::vector<T*> buffers;
    for (auto& channel : out)
        buffers.push_back(channel.data());
    int32_t n;
    if constexpr (std::is_same_v<T, int16_t>)
        n = reader.readPcm16s(buffers.data(), channels, frames);
    else if constexpr (std::is_same_v<T, int32_t>)
        n = reader.readPcm32s(buffers.data(), channels, frames);
    else
        n = reader.readPcm32f(buffers.data(), channels, frames);
    for (auto& channel : out)
        channel.resize(static_cast<size_t>(std::max(n, 0)));
    if (delivered)
        *delivered = n;
    return out;
}

// Splits interleaved values into channels.
inline std::vector<std::vector<int32_t>> deinterleave(const std::vector<int32_t>& values, int channels) {
    std::vector<std::vector<int32_t>> out(static_cast<size_t>(channels));
    for (size_t i = 0; i < values.size(); ++i)
        out[i % static_cast<size_t>(channels)].push_back(values[i]);
    return out;
}
