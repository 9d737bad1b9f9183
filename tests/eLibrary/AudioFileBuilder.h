#pragma once

#include <cstdint>
#include <filesystem>
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

// One chunk: header, data and the pad byte of an odd size; the declared size defaults to the data's.
Bytes chunk(const char (&chunkID)[5], const Bytes& data, ByteOrder order, int64_t declaredSize = -1);

// Integer samples (each a value of `bits` bits, 12-, 20- and 28-bit ones in the top bits of their
// container): little-endian WAVE with 8-bit samples stored unsigned, or big-endian AIFF.
Bytes wavSamples(int bits, const std::vector<int32_t>& values);
Bytes aiffSamples(int bits, const std::vector<int32_t>& values);
Bytes floatSamples(const std::vector<float>& values);

struct Format {
    uint16_t channels = 2;
    uint32_t sampleRate = 44100;
    uint16_t bits = 16;
    uint16_t formatTag = 1;  // WAVE only
};

// The 16 bytes of a fmt chunk with consistent block align and byte rate.
Bytes fmtData(const Format& format);
Bytes riffWave(const Bytes& chunks);
// RIFF/WAVE with a 16-byte fmt chunk, then data.
Bytes wavFile(const Format& format, const Bytes& sampleBytes);

Bytes commData(const Format& format, uint32_t frames);
// Offset, block size, `offset` filler bytes, then the samples.
Bytes ssndData(const Bytes& sampleBytes, uint32_t offset = 0);
Bytes formAiff(const Bytes& chunks);
// FORM/AIFF with COMM then SSND; the frame count is derived from the data.
Bytes aiffFile(const Format& format, const Bytes& sampleBytes);

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
