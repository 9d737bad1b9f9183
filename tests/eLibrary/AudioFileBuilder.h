#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "eLibrary/AudioUtilities.h"

// Builds WAVE and AIFF byte images, well-formed or deliberately broken, for the reader tests.
namespace testaudio {

using Bytes = std::vector<uint8_t>;
using eLibrary::ByteOrder;

Bytes operator+(Bytes a, const Bytes& b);

Bytes u16(uint16_t value, ByteOrder order);
Bytes u32(uint32_t value, ByteOrder order);
Bytes id(const char (&fourCC)[5]);

// One chunk: header, data and the pad byte of an odd size. The declared size defaults to the
// data's size.
Bytes chunk(const char (&chunkID)[5], const Bytes& data, ByteOrder order);
Bytes chunkWithSize(const char (&chunkID)[5], uint32_t declaredSize, const Bytes& data, ByteOrder order);

// Integer samples (each a value of `bits` bits) in their containers: little-endian WAVE, with
// 8-bit samples stored unsigned, or big-endian AIFF; 12-, 20- and 28-bit values sit in the top bits.
Bytes wavSamples(int bits, std::initializer_list<int32_t> values);
Bytes wavSamples(int bits, const std::vector<int32_t>& values);
Bytes aiffSamples(int bits, const std::vector<int32_t>& values);
Bytes floatSamples(std::initializer_list<float> values);

struct WavFormat {
    uint16_t channels = 2;
    uint32_t sampleRate = 44100;
    uint16_t bits = 16;
    uint16_t formatTag = 1;
};
// The 16 bytes of a fmt chunk with consistent block align and byte rate.
Bytes fmtData(const WavFormat& format);
// A canonical file: RIFF/WAVE with a 16-byte fmt chunk, then data.
Bytes wavFile(const WavFormat& format, const Bytes& sampleBytes);
Bytes riffWave(const Bytes& chunks);

struct AiffFormat {
    uint16_t channels = 2;
    double sampleRate = 44100.0;
    uint16_t bits = 16;
};
Bytes extended80(double value);
Bytes commData(const AiffFormat& format, uint32_t frames);
Bytes ssndData(const Bytes& sampleBytes, uint32_t offset = 0);
// A plain file: FORM/AIFF with COMM then SSND (offset 0); frames derived from the data.
Bytes aiffFile(const AiffFormat& format, const Bytes& sampleBytes);
Bytes formAiff(const Bytes& chunks);

// Deterministic pseudo-random samples of `bits` bits.
std::vector<int32_t> noise(size_t count, int bits, uint32_t seed);

// A directory of its own under the system's temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string write(const std::string& name, const Bytes& bytes) const;
    std::string path(const std::string& name) const;

private:
    std::filesystem::path m_Path;
};

}  // namespace testaudio
