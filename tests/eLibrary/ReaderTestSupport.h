#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eLibrary/AiffFormat.h"
#include "eLibrary/AudioFileBuilder.h"
#include "eLibrary/MemoryInputStream.h"
#include "eLibrary/WaveFormat.h"

// Reads up to `frames` frames into `channels` buffers and returns what arrived, channel after channel.
template <typename T>
std::vector<std::vector<T>> readChannels(eLibrary::AudioFormatReader& reader, int channels, int frames) {
    std::vector<std::vector<T>> out(static_cast<size_t>(channels),
                                    std::vector<T>(static_cast<size_t>(frames)));
    std::vector<T*> buffers;
    for (auto& channel : out)
        buffers.push_back(channel.data());
    int32_t delivered;
    if constexpr (std::is_same_v<T, int16_t>)
        delivered = reader.readPcm16s(buffers.data(), channels, frames);
    else if constexpr (std::is_same_v<T, int32_t>)
        delivered = reader.readPcm32s(buffers.data(), channels, frames);
    else
        delivered = reader.readPcm32f(buffers.data(), channels, frames);
    for (auto& channel : out)
        channel.resize(static_cast<size_t>(std::max(delivered, 0)));
    return out;
}

template <typename T>
std::vector<std::vector<T>> deinterleave(const std::vector<T>& values, int channels) {
    std::vector<std::vector<T>> out(static_cast<size_t>(channels));
    for (size_t i = 0; i < values.size(); ++i)
        out[i % static_cast<size_t>(channels)].push_back(values[i]);
    return out;
}

inline const std::vector<int32_t> kFourStereoFrames = {1, -1, 2, -2, 3, -3, 4, -4};
inline const std::vector<int16_t> kFourLeft = {1, 2, 3, 4};

// One file and what its reader must make of it. The verdicts are a letter each when true: Valid,
// sample Rate, Channels, sample Size, Format chunk present ("VRCSF"), '-' when false. `left` is
// the first channel a read of ten stereo 16-bit frames delivers.
struct ReaderCase {
    const char* label;
    testaudio::Bytes file;
    const char* verdicts;
    int32_t frames;
    std::vector<int16_t> left;

    friend void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.label; }
};

template <typename Reader>
void expectJudgedAndRead(const ReaderCase& c) {
    MemoryInputStream stream(c.file);
    Reader reader(stream);
    const bool verdicts[] = {reader.valid(), reader.validSampeRate(), reader.validChannels(),
                             reader.validSampleSize(), reader.hasFormat()};
    std::string letters = "VRCSF";
    for (size_t i = 0; i < letters.size(); ++i)
        letters[i] = verdicts[i] ? letters[i] : '-';
    EXPECT_EQ(letters, c.verdicts);
    EXPECT_EQ(reader.getSampleFrames(), c.frames);
    reader.seekPcm(0);
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 10)[0], c.left);
}

// The two formats, for what holds for both.
struct Wave {
    using Reader = eLibrary::WaveFormatReader;
    static testaudio::Bytes file(const testaudio::Format& format, const std::vector<int32_t>& values) {
        return testaudio::wav(format, values);
    }
    static testaudio::Bytes container(const testaudio::Bytes& chunks) { return testaudio::riffWave(chunks); }
};

struct Aiff {
    using Reader = eLibrary::AiffFormatReader;
    static testaudio::Bytes file(const testaudio::Format& format, const std::vector<int32_t>& values) {
        return testaudio::aiff(format, values);
    }
    static testaudio::Bytes container(const testaudio::Bytes& chunks) { return testaudio::formAiff(chunks); }
};
