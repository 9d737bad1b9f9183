#pragma once

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "eLibrary/AudioUtilities.h"

// Builds WAVE and AIFF byte images, well-formed or deliberately broken, for the reader tests.
namespace testaudio {

using Bytes = std::vector<uint8_t>;
using eLibrary::ByteOrder;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Values of `bits` bits each in whole bytes, 12-, 20- and 28-bit ones in the top bits.
inline Bytes integers(int bits, const std::vector<int32_t>& values, ByteOrder order, uint32_t flip = 0) {
    const int bytes = (bits + 7) / 8;
    Bytes out;
    for (int32_t value : values) {
        const uint32_t shifted = (static_cast<uint32_t>(value) ^ flip) << (bytes * 8 - bits);
        for (int k = 0; k < bytes; ++k)
            out.push_back(
                static_cast<uint8_t>(shifted >> 8 * (order == ByteOrder::BigEndian ? bytes - 1 - k : k)));
    }
    return out;
}

inline Bytes u16(uint16_t value, ByteOrder order) {
    return integers(16, {value}, order);
}

inline Bytes u32(uint32_t value, ByteOrder order) {
    return integers(32, {static_cast<int32_t>(value)}, order);
}

inline Bytes id(const char (&fourCC)[5]) {
    return Bytes(fourCC, fourCC + 4);
}

// One chunk: header, data and the pad byte of an odd size; the declared size defaults to the data's.
inline Bytes chunk(const char (&chunkID)[5], const Bytes& data, ByteOrder order, int64_t declaredSize = -1) {
    const auto size = static_cast<uint32_t>(declaredSize < 0 ? int64_t(data.size()) : declaredSize);
    return id(chunkID) + u32(size, order) + data + Bytes(data.size() % 2, 0);
}

// Little-endian WAVE samples, 8-bit ones stored unsigned, and big-endian AIFF ones.
inline Bytes wavSamples(int bits, const std::vector<int32_t>& values) {
    return integers(bits, values, ByteOrder::LittleEndian, bits == 8 ? 0x80 : 0);
}

inline Bytes aiffSamples(int bits, const std::vector<int32_t>& values) {
    return integers(bits, values, ByteOrder::BigEndian);
}

inline Bytes floatSamples(const std::vector<float>& values) {
    Bytes out;
    for (float value : values)
        out = out + u32(std::bit_cast<uint32_t>(value), ByteOrder::LittleEndian);
    return out;
}

struct Format {
    uint16_t channels = 2;
    uint32_t sampleRate = 44100;
    uint16_t bits = 16;
    uint16_t formatTag = 1;  // WAVE only
};

// The 16 bytes of a fmt chunk with consistent block align and byte rate, worked out here rather
// than by the reader's own record, so that a slip in its arithmetic shows.
inline Bytes fmtData(const Format& format) {
    constexpr auto LE = ByteOrder::LittleEndian;
    const auto blockAlign = static_cast<uint16_t>(format.channels * ((format.bits + 7) / 8));
    return u16(format.formatTag, LE) + u16(format.channels, LE) + u32(format.sampleRate, LE) +
           u32(format.sampleRate * blockAlign, LE) + u16(blockAlign, LE) + u16(format.bits, LE);
}

inline Bytes riffWave(const Bytes& chunks) {
    return chunk("RIFF", id("WAVE") + chunks, ByteOrder::LittleEndian);
}

// RIFF/WAVE with a 16-byte fmt chunk, then data.
inline Bytes wavFile(const Format& format, const Bytes& sampleBytes) {
    return riffWave(chunk("fmt ", fmtData(format), ByteOrder::LittleEndian) +
                    chunk("data", sampleBytes, ByteOrder::LittleEndian));
}

// Channels, frames, sample size and the rate as an 80-bit extended number.
inline Bytes commData(const Format& format, uint32_t frames) {
    constexpr auto BE = ByteOrder::BigEndian;
    const int exponent = std::bit_width(format.sampleRate) - 1;
    const uint64_t mantissa = uint64_t{format.sampleRate} << (63 - exponent);
    return u16(format.channels, BE) + u32(frames, BE) + u16(format.bits, BE) +
           u16(static_cast<uint16_t>(16383 + exponent), BE) + u32(uint32_t(mantissa >> 32), BE) +
           u32(uint32_t(mantissa), BE);
}

// Offset, block size, `offset` filler bytes, then the samples.
inline Bytes ssndData(const Bytes& sampleBytes, uint32_t offset = 0) {
    return u32(offset, ByteOrder::BigEndian) + u32(0, ByteOrder::BigEndian) + Bytes(offset, 0xEE) +
           sampleBytes;
}

inline Bytes formAiff(const Bytes& chunks) {
    return chunk("FORM", id("AIFF") + chunks, ByteOrder::BigEndian);
}

// FORM/AIFF with COMM then SSND; the frame count is derived from the data.
inline Bytes aiffFile(const Format& format, const Bytes& sampleBytes) {
    const size_t frameBytes = size_t{(format.bits + 7u) / 8u} * format.channels;
    const auto frames = static_cast<uint32_t>(frameBytes ? sampleBytes.size() / frameBytes : 0);
    return formAiff(chunk("COMM", commData(format, frames), ByteOrder::BigEndian) +
                    chunk("SSND", ssndData(sampleBytes), ByteOrder::BigEndian));
}

// The same from sample values of the format's size.
inline Bytes wav(const Format& format, const std::vector<int32_t>& values) {
    return wavFile(format, wavSamples(format.bits, values));
}

inline Bytes aiff(const Format& format, const std::vector<int32_t>& values) {
    return aiffFile(format, aiffSamples(format.bits, values));
}

// Deterministic pseudo-random samples of `bits` bits.
inline std::vector<int32_t> noise(size_t count, int bits, uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int64_t> distribution(-(int64_t{1} << (bits - 1)),
                                                        (int64_t{1} << (bits - 1)) - 1);
    std::vector<int32_t> values(count);
    for (int32_t& value : values)
        value = static_cast<int32_t>(distribution(generator));
    return values;
}

// A directory of its own under the system's temporary directory, removed with the object.
class TempDir {
public:
    TempDir() : m_Path(std::filesystem::temp_directory_path() / "velk-test-XXXXXX") {
        std::string pattern = m_Path.string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary directory");
        m_Path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return (m_Path / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path(name);
    }

private:
    std::filesystem::path m_Path;
};

}  // namespace testaudio
