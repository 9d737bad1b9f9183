#include "AiffChunks.h"

#include <bit>

#include "eLibrary/AudioConverter.h"

namespace eLibrary {

namespace {

constexpr auto kOrder = ByteOrder::BigEndian;

// The offset and block size fields that precede the sample frames in the chunk's data.
constexpr uint32_t kSoundHeaderBytes = 8;

}  // namespace

bool AiffFormChunk::readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos) {
    record(id, size, pos);
    return readFourCC(stream, formType);
}

bool AiffCommonChunk::readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos) {
    record(id, size, pos);
    if (!readU16(stream, kOrder, channels) || !readU32(stream, kOrder, sampleFrames) ||
        !readU16(stream, kOrder, sampleSize))
        return false;
    uint16_t rateWords[5];
    for (uint16_t& word : rateWords) {
        if (!readU16(stream, kOrder, word))
            return false;
    }
    sampleRate = decodeExtended(rateWords);
    return true;
}

bool AiffCommonChunk::setChannels(uint16_t newChannels) {
    channels = newChannels;
    return true;
}

bool AiffCommonChunk::setSampleSize(uint16_t newSampleSize) {
    sampleSize = newSampleSize;
    return true;
}

bool AiffCommonChunk::setSampleRate(double newSampleRate) {
    sampleRate = newSampleRate;
    return true;
}

double decodeExtended(const uint16_t (&words)[5]) {
    constexpr uint64_t kBiasDifference = 16383 - 1023;
    const uint64_t sign = words[0] >> 15;
    const uint64_t exponent = ((words[0] & 0x7FFFu) - kBiasDifference) & 0x7FF;
    const uint64_t mantissa = (uint64_t{words[1]} << 48) | (uint64_t{words[2]} << 32) |
                              (uint64_t{words[3]} << 16) | uint64_t{words[4]};
    const uint64_t fraction = (mantissa >> 11) & ((uint64_t{1} << 52) - 1);
    return std::bit_cast<double>((sign << 63) | (exponent << 52) | fraction);
}

bool AiffSoundChunk::readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos) {
    record(id, size, pos);
    return readU32(stream, kOrder, offset) && readU32(stream, kOrder, blockSize);
}

bool AiffSoundChunk::checkChunkSize(const AiffCommonChunk& comm) const {
    // Exact arithmetic: in 32 bits a huge offset or frame count could wrap into an accepted size.
    const uint64_t expected =
        uint64_t{offset} + uint64_t(comm.frameBytes()) * comm.sampleFrames + kSoundHeaderBytes;
    return chunkSize == expected;
}

PcmDataLayout AiffSoundChunk::layout(const AiffCommonChunk& comm) const {
    const int64_t dataStart = int64_t{position} + kSoundHeaderBytes + offset;
    const int64_t dataLength = int64_t{chunkSize} - kSoundHeaderBytes - offset;
    return PcmDataLayout(dataStart, dataLength, static_cast<uint16_t>(comm.frameBytes()));
}

int32_t AiffSoundChunk::getSampleFrames(const AiffCommonChunk& comm) const {
    return PcmDataLayout::saturate(layout(comm).frameAt(int64_t{position} + chunkSize));
}

template <typename T>
int32_t AiffSoundChunk::readPcm(InputStream& stream, const AiffCommonChunk& comm, T** buffers,
                                int32_t channels, int32_t frames) const {
    const uint16_t bits = comm.sampleSize;
    return readPcmBlocks(
        stream, layout(comm), comm.channels, bytesPerSample(bits), buffers, channels, frames,
        [bits](const uint8_t* source, int32_t sourceChannels, int32_t sourceOffset, int32_t sourceFrames,
               T** out, int32_t outChannels, int32_t outOffset, int32_t capacity) {
            return convertAifToPcmBuffers(bits, source, sourceChannels, sourceOffset, sourceFrames, out,
                                          outChannels, outOffset, capacity);
        });
}

// The sample types the shared frame operations read.
template int32_t AiffSoundChunk::readPcm(InputStream&, const AiffCommonChunk&, int16_t**, int32_t,
                                         int32_t) const;
template int32_t AiffSoundChunk::readPcm(InputStream&, const AiffCommonChunk&, int32_t**, int32_t,
                                         int32_t) const;
template int32_t AiffSoundChunk::readPcm(InputStream&, const AiffCommonChunk&, float**, int32_t,
                                         int32_t) const;

}  // namespace eLibrary
