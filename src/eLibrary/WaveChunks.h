#pragma once

#include <cstdint>

#include "eLibrary/AudioUtilities.h"
#include "eLibrary/InputStream.h"
#include "eLibrary/PcmData.h"

namespace eLibrary {

// The chunk records of a RIFF WAVE file. Each holds its chunk's ID, size and position (the stream
// offset of its first data byte); every field stays zero until the chunk walk fills it.

struct WaveRiffChunk : ChunkHeader {
    uint32_t formType = 0;

    // Records the header and reads the form type; false on a short read.
    bool readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos);

    bool checkChunkID() const { return chunkID == fourCC("RIFF"); }
    bool checkChunkSize() const { return chunkSize >= 4; }
    bool checkChunkType() const { return formType == fourCC("WAVE"); }
    bool valid() const { return checkChunkID() && checkChunkSize() && checkChunkType(); }
};

struct WaveFmtChunk : ChunkHeader {
    // The fields the reader takes from the chunk; anything after them is ignored.
    static constexpr uint32_t kFieldBytes = 16;
    // The extensible header's tag: refused, whatever sub-format it wraps.
    static constexpr uint16_t kFormatExtensible = 0xFFFE;

    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;

    // Records the header and reads the six fields in file order, even from a chunk declared
    // shorter; false at the first short read.
    bool readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos);

    bool checkChunkID() const { return chunkID == fourCC("fmt "); }
    bool checkChunkSize() const { return true; }
    bool checkFormatTag() const { return formatTag == 1; }
    bool checkChannels() const { return channels == 1 || channels == 2; }
    bool checkSamplesPerSec() const { return samplesPerSec == 44100; }
    bool checkAvgBytesPerSec() const { return avgBytesPerSec == frameBytes() * samplesPerSec; }
    bool checkBlockAlign() const { return blockAlign == static_cast<uint16_t>(frameBytes()); }
    bool checkBitsPerSample() const {
        return bitsPerSample == 16 || bitsPerSample == 24 || bitsPerSample == 32;
    }
    bool valid() const {
        return checkChunkID() && checkChunkSize() && checkFormatTag() && checkChannels() &&
               checkSamplesPerSec() && checkAvgBytesPerSec() && checkBlockAlign() && checkBitsPerSample();
    }

    // Store the arguments and derive the format tag (3 for 32 bits), block align and byte rate.
    bool set(uint16_t newChannels, uint32_t newSamplesPerSec, uint16_t newBitsPerSample);
    bool setChannels(uint16_t newChannels);
    bool setSamplesPerSec(uint32_t newSamplesPerSec);
    bool setBitsPerSample(uint16_t newBitsPerSample);

    // Bytes per sample times channels, in 32 bits.
    uint32_t frameBytes() const { return static_cast<uint32_t>(bytesPerSample(bitsPerSample)) * channels; }

private:
    void deriveFields();
};

// Its position is where the sample data begins; the data itself is read only by the PCM reads.
struct WaveDataChunk : ChunkHeader, PcmChunkOperations<WaveDataChunk, WaveFmtChunk> {
    bool checkChunkID() const { return chunkID == fourCC("data"); }
    bool checkChunkSize(const WaveFmtChunk& fmt) const {
        return fmt.blockAlign != 0 && chunkSize % fmt.blockAlign == 0;
    }
    bool valid(const WaveFmtChunk& fmt) const { return checkChunkID() && checkChunkSize(fmt); }

    // Whole frames of block align bytes in the data (saturated to 32 bits); 0 with no block align.
    int32_t getSamplesPerData(const WaveFmtChunk& fmt) const;

    // Where the frames lie, and the block read with the format's converter.
    PcmDataLayout layout(const WaveFmtChunk& fmt) const;
    template <typename T>
    int32_t readPcm(InputStream& stream, const WaveFmtChunk& fmt, T** buffers, int32_t channels,
                    int32_t frames) const;
};

}  // namespace eLibrary
