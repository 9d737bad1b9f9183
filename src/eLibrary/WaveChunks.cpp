#include "WaveChunks.h"

#include "eLibrary/AudioConverter.h"

namespace eLibrary {

bool WaveRiffChunk::readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos) {
    record(id, size, pos);
    return readFourCC(stream, formType);
}

bool WaveFmtChunk::readHeader(InputStream& stream, uint32_t id, uint32_t size, uint32_t pos) {
    record(id, size, pos);
    constexpr auto order = ByteOrder::LittleEndian;
    return readU16(stream, order, formatTag) && readU16(stream, order, channels) &&
           readU32(stream, order, samplesPerSec) && readU32(stream, order, avgBytesPerSec) &&
           readU16(stream, order, blockAlign) && readU16(stream, order, bitsPerSample);
}

bool WaveFmtChunk::set(uint16_t newChannels, uint32_t newSamplesPerSec, uint16_t newBitsPerSample) {
    channels = newChannels;
    samplesPerSec = newSamplesPerSec;
    bitsPerSample = newBitsPerSample;
    deriveFields();
    return true;
}

bool WaveFmtChunk::setChannels(uint16_t newChannels) {
    return set(newChannels, samplesPerSec, bitsPerSample);
}

bool WaveFmtChunk::setSamplesPerSec(uint32_t newSamplesPerSec) {
    return set(channels, newSamplesPerSec, bitsPerSample);
}

bool WaveFmtChunk::setBitsPerSample(uint16_t newBitsPerSample) {
    return set(channels, samplesPerSec, newBitsPerSample);
}

void WaveFmtChunk::deriveFields() {
    formatTag = bitsPerSample == 32 ? 3 : 1;
    blockAlign = static_cast<uint16_t>(frameBytes());
    avgBytesPerSec = uint32_t{blockAlign} * samplesPerSec;
}

int32_t WaveDataChunk::getSamplesPerData(const WaveFmtChunk& fmt) const {
    return fmt.blockAlign == 0 ? 0 : PcmDataLayout::saturate(chunkSize / fmt.blockAlign);
}

PcmDataLayout WaveDataChunk::layout(const WaveFmtChunk& fmt) const {
    return PcmDataLayout(position, chunkSize, fmt.blockAlign);
}

template <typename T>
int32_t WaveDataChunk::readPcm(InputStream& stream, const WaveFmtChunk& fmt, T** buffers, int32_t channels,
                               int32_t frames) const {
    const uint16_t formatTag = fmt.formatTag;
    const uint16_t bits = fmt.bitsPerSample;
    return readPcmBlocks(stream, layout(fmt), fmt.channels, bytesPerSample(bits), buffers, channels, frames,
                         [formatTag, bits](const uint8_t* source, int32_t sourceChannels,
                                           int32_t sourceOffset, int32_t sourceFrames, T** out,
                                           int32_t outChannels, int32_t outOffset, int32_t capacity) {
                             return convertWavToPcmBuffers(formatTag, bits, source, sourceChannels,
                                                           sourceOffset, sourceFrames, out, outChannels,
                                                           outOffset, capacity);
                         });
}

// The sample types the shared frame operations read.
template int32_t WaveDataChunk::readPcm(InputStream&, const WaveFmtChunk&, int16_t**, int32_t, int32_t) const;
template int32_t WaveDataChunk::readPcm(InputStream&, const WaveFmtChunk&, int32_t**, int32_t, int32_t) const;
template int32_t WaveDataChunk::readPcm(InputStream&, const WaveFmtChunk&, float**, int32_t, int32_t) const;

}  // namespace eLibrary
