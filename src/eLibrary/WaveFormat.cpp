#include "WaveFormat.h"

#include "eLibrary/ChunkWalk.h"

namespace eLibrary {

WaveFormatReader::WaveFormatReader(InputStream& stream) : m_Stream(stream) {
    // The walk's outcome is not kept: the records hold whatever was read, and valid() judges them.
    if (readContainerChunk(m_Stream.size(), 0))
        m_Data.seekPcm(m_Stream, m_Fmt, 0);
}

bool WaveFormatReader::readContainerChunk(uint32_t end, int depth) {
    return walkChunks(
        m_Stream, end, ByteOrder::LittleEndian,
        [this, depth](uint32_t id, uint32_t size, uint32_t p) { return readSubChunk(id, size, p, depth); });
}

bool WaveFormatReader::readSubChunk(uint32_t id, uint32_t size, uint32_t position, int depth) {
    if (!seekFromBegin(m_Stream, position))
        return false;
    switch (id) {
        case fourCC("fmt "):
            return m_Fmt.readHeader(m_Stream, id, size, position);
        case fourCC("data"):
            m_Data.record(id, size, position);
            return true;
        case fourCC("RIFF"):
            if (depth >= kMaxContainerDepth)
                return true;
            return m_Riff.readHeader(m_Stream, id, size, position) &&
                   readContainerChunk(position + size, depth + 1);
        default:
            return true;
    }
}

bool WaveFormatReader::fail() const {
    return m_Stream.fail();
}

bool WaveFormatReader::valid() const {
    return m_Riff.valid() && m_Fmt.valid() && m_Data.valid(m_Fmt);
}

bool WaveFormatReader::validSampeRate() const {
    return m_Fmt.checkSamplesPerSec();
}

bool WaveFormatReader::validChannels() const {
    return m_Fmt.checkChannels();
}

bool WaveFormatReader::validSampleSize() const {
    return m_Fmt.checkBitsPerSample();
}

int32_t WaveFormatReader::getChannels() const {
    return m_Fmt.channels;
}

int32_t WaveFormatReader::getSampleFrames() const {
    return m_Data.getSamplesPerData(m_Fmt);
}

int32_t WaveFormatReader::getSampleRate() const {
    return static_cast<int32_t>(m_Fmt.samplesPerSec);
}

int32_t WaveFormatReader::getSampleSize() const {
    return m_Fmt.bitsPerSample;
}

int32_t WaveFormatReader::getBitRate() const {
    return static_cast<int32_t>(uint32_t{m_Fmt.bitsPerSample} * m_Fmt.channels * m_Fmt.samplesPerSec);
}

int32_t WaveFormatReader::tellPcm() {
    return m_Data.tellPcm(m_Stream, m_Fmt);
}

bool WaveFormatReader::seekPcm(int32_t frame) {
    return m_Data.seekPcm(m_Stream, m_Fmt, frame);
}

int32_t WaveFormatReader::readPcm16s(int16_t** buffers, int32_t channels, int32_t frames) {
    return m_Data.readPcm16s(m_Stream, m_Fmt, buffers, channels, frames);
}

int32_t WaveFormatReader::readPcm32s(int32_t** buffers, int32_t channels, int32_t frames) {
    return m_Data.readPcm32s(m_Stream, m_Fmt, buffers, channels, frames);
}

int32_t WaveFormatReader::readPcm32f(float** buffers, int32_t channels, int32_t frames) {
    return m_Data.readPcm32f(m_Stream, m_Fmt, buffers, channels, frames);
}

bool WaveFormatReader::hasFormat() const {
    // A fmt chunk cut short by the end of the file leaves fields that were never read.
    return m_Riff.valid() && m_Fmt.checkChunkID() &&
           uint64_t{m_Fmt.position} + WaveFmtChunk::kFieldBytes <= m_Stream.size();
}

}  // namespace eLibrary
