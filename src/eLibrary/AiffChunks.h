#pragma once

#include <cstdint>

#include "eLibrary/AudioUtilities.h"
#include "eLibrary/InputStream.h"
#include "eLibrary/PcmData.h"

namespace eLibrary {

// The chunk records of an AIFF file (all numbers big-endian). Each holds its chunk's ID, size and
// position (the stream offset of its first data byte); every field stays zero until the chunk
// walk fills it.

struct AiffFormChunk : ChunkHeader {
    uint32_t formType = 0;

    // Records the header and reads the form type; false on a short read.
    bool readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos);

    bool checkChunkID() const { return chunkID == fourCC("FORM"); }
    bool checkChunkSize() const { return chunkSize >= 4; }
    bool checkChunkType() const { return formType == fourCC("AIFF"); }
    bool valid() const { return checkChunkID() && checkChunkSize() && checkChunkType(); }
};

struct AiffCommonChunk : ChunkHeader {
    // The chunk's data: channels, frames, sample size and the 80-bit sample rate.
    static constexpr uint32_t kFieldBytes = 18;

    uint16_t channels = 0;
    uint32_t sampleFrames = 0;
    uint16_t sampleSize = 0;
    double sampleRate = 0.0;

    // Records the header and reads the fields; false at the first short read.
    bool readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos);

    bool checkChunkID() const { return chunkID == fourCC("COMM"); }
    bool checkChunkSize() const { return chunkSize == kFieldBytes; }
    bool checkChannels() const { return channels == 1 || channels == 2; }
    bool checkSampleFrames() const { return true; }
    bool checkSampleSize() const { return sampleSize == 16 || sampleSize == 24 || sampleSize == 32; }
    bool checkSampleRate() const { return sampleRate == 44100.0; }
    bool valid() const {
        return checkChunkID() && checkChunkSize() && checkChannels() && checkSampleSize() &&
               checkSampleRate();
    }

    bool setChannels(uint16_t newChannels);
    bool setSampleSize(uint16_t newSampleSize);
    bool setSampleRate(double newSampleRate);

    // Bytes per sample times channels.
    int32_t frameBytes() const { return bytesPerSample(sampleSize) * channels; }
};

// Decodes an IEEE 754 80-bit extended number, given as its five big-endian 16-bit words, to a
// double: the exponent is rebiased and cut to 11 bits, the mantissa's integer bit and its low 11
// bits are dropped. Exact for every integer sample rate; zero, denormals, infinities and NaN get
// no special treatment (ten zero bytes decode as 2.0).
double decodeExtended(const uint16_t (&words)[5]);

struct AiffSoundChunk : ChunkHeader, PcmChunkOperations<AiffSoundChunk, AiffCommonChunk> {
    uint32_t offset = 0;  // bytes between the block size field and the first sample frame
    uint32_t blockSize = 0;

    // Records the header and reads the offset and block size; false on a short read.
    bool readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos);

    bool checkChunkID() const { return chunkID == fourCC("SSND"); }
    // The sample data fills the chunk exactly, with no trailing bytes.
    bool checkChunkSize(const AiffCommonChunk& comm) const;
    bool checkOffset() const { return true; }
    bool checkBlockSize() const { return true; }
    bool valid(const AiffCommonChunk& comm) const { return checkChunkID() && checkChunkSize(comm); }

    // Whole frames the chunk's data holds.
    int32_t getSampleFrames(const AiffCommonChunk& comm) const;

    // Where the frames lie, and the block read with the format's converter.
    PcmDataLayout layout(const AiffCommonChunk& comm) const;
    template <typename T>
    int32_t readPcm(InputStream& stream, const AiffCommonChunk& comm, T** buffers, int32_t channels,
                    int32_t frames) const;
};

}  // namespace eLibrary
