#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eLibrary/AiffFormat.h"
#include "eLibrary/AudioFileBuilder.h"
#include "eLibrary/MemoryInputStream.h"
#include "eLibrary/WaveFormat.h"

// Reads `frames` frames into `channels` buffers and returns them channel after channel.
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

template <typename T>
std::vector<std::vector<T>> deinterleave(const std::vector<T>& values, int channels) {
    std::vector<std::vector<T>> out(static_cast<size_t>(channels));
    for (size_t i = 0; i < values.size(); ++i)
        out[i % static_cast<size_t>(channels)].push_back(values[i]);
    return out;
}

// The verdicts a loader uses to accept or refuse a file, a letter each when true: Valid, sample
// Rate, Channels, sample Size, Format chunk present ("VRCSF"), '-' when false.
inline std::string verdictsOf(const eLibrary::AudioFormatReader& reader) {
    const bool verdicts[] = {reader.valid(), reader.validSampeRate(), reader.validChannels(),
                             reader.validSampleSize(), reader.hasFormat()};
    std::string out = "VRCSF";
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = verdicts[i] ? out[i] : '-';
    return out;
}

// One file, the verdicts and frame count its reader must reach and the frames a read of ten
// stereo frames delivers; a valid file holds the frames {1, -1, 2, -2, 3, -3, 4, -4}.
struct ReaderCase {
    const char* label;
    testaudio::Bytes file;
    const char* verdicts;
    int32_t frames;
    int32_t delivered;

    friend void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.label; }
};

inline const std::vector<int32_t> kFourStereoFrames = {1, -1, 2, -2, 3, -3, 4, -4};

template <typename Reader>
void expectJudgedAndRead(const ReaderCase& c) {
    MemoryInputStream stream(c.file);
    Reader reader(stream);
    EXPECT_EQ(verdictsOf(reader), c.verdicts);
    EXPECT_EQ(reader.getSampleFrames(), c.frames);
    reader.seekPcm(0);
    int32_t delivered = -1;
    auto channels = readChannels<int16_t>(reader, 2, 10, &delivered);
    EXPECT_EQ(delivered, c.delivered);
    if (c.verdicts[0] == 'V') {
        std::vector<std::vector<int16_t>> expected{{1, 2, 3, 4}, {-1, -2, -3, -4}};
        for (auto& channel : expected)
            channel.resize(static_cast<size_t>(std::max(delivered, 0)));
        EXPECT_EQ(channels, expected);
    }
}

inline std::string readerCaseName(const testing::TestParamInfo<ReaderCase>& info) {
    return info.param.label;
}

// The two formats, for tests that hold for both.
struct Wave {
    using Reader = eLibrary::WaveFormatReader;
    static testaudio::Bytes file(const testaudio::Format& format, const std::vector<int32_t>& values) {
        return testaudio::wavFile(format, testaudio::wavSamples(format.bits, values));
    }
    static testaudio::Bytes container(const testaudio::Bytes& chunks) { return testaudio::riffWave(chunks); }
};

struct Aiff {
    using Reader = eLibrary::AiffFormatReader;
    static testaudio::Bytes file(const testaudio::Format& format, const std::vector<int32_t>& values) {
        return testaudio::aiffFile(format, testaudio::aiffSamples(format.bits, values));
    }
    static testaudio::Bytes container(const testaudio::Bytes& chunks) { return testaudio::formAiff(chunks); }
};
