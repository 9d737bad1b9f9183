#include "AiffFormat.h"

#include <cmath>
#include <limits>

#include "eLibrary/ChunkWalk.h"

namespace eLibrary {

namespace {

// Truncates toward zero like a cast, but saturates where a cast of an absurd decoded rate
// (huge, infinite or NaN) would be undefined.
int32_t truncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (value >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace

AiffFormatReader::AiffFormatReader(InputStream& stream) : m_Stream(stream) {
    // The walk's outcome is not kept: the records hold whatever was read, and valid() judges them.
    if (readContainerChunk(m_Stream.size(), 0))
        m_Sound.seekPcm(m_Stream, m_Comm, 0);
}

bool AiffFormatReader::readContainerChunk(uint32_t end, int depth) {
    return walkChunks(
        m_Stream, end, ByteOrder::BigEndian,
        [this, depth](uint32_t id, uint32_t size, uint32_t p) { return readSubChunk(id, size, p, depth); });
}

bool AiffFormatReader::readSubChunk(uint32_t id, uint32_t size, uint32_t position, int depth) {
    if (!seekFromBegin(m_Stream, position))
        return false;
    switch (id) {
        case fourCC("COMM"):
            return m_Comm.readHeader(m_Stream, id, size, position);
        case fourCC("SSND"):
            return m_Sound.readHeader(m_Stream, id, size, position);
        case fourCC("FORM"):
            if (depth >= kMaxContainerDepth)
                return true;
            return m_Form.readHeader(m_Stream, id, size, position) &&
                   readContainerChunk(position + size, depth + 1);
        default:
            return true;
    }
}

bool AiffFormatReader::fail() const {
    return m_Stream.fail();
}

bool AiffFormatReader::valid() const {
    return m_Form.valid() && m_Comm.valid() && m_Sound.valid(m_Comm);
}

bool AiffFormatReader::validSampeRate() const {
    return m_Comm.checkSampleRate();
}

bool AiffFormatReader::validChannels() const {
    return m_Comm.checkChannels();
}

bool AiffFormatReader::validSampleSize() const {
    return m_Comm.checkSampleSize();
}

int32_t AiffFormatReader::getChannels() const {
    return m_Comm.channels;
}

int32_t AiffFormatReader::getSampleFrames() const {
    return PcmDataLayout::saturate(m_Comm.sampleFrames);
}

int32_t AiffFormatReader::getSampleRate() const {
    return truncateToInt32(m_Comm.sampleRate);
}

int32_t AiffFormatReader::getSampleSize() const {
    return m_Comm.sampleSize;
}

int32_t AiffFormatReader::getBitRate() const {
    return truncateToInt32(m_Comm.sampleSize * (m_Comm.channels * m_Comm.sampleRate));
}

int32_t AiffFormatReader::tellPcm() {
    return m_Sound.tellPcm(m_Stream, m_Comm);
}

bool AiffFormatReader::seekPcm(int32_t frame) {
    return m_Sound.seekPcm(m_Stream, m_Comm, frame);
}

int32_t AiffFormatReader::readPcm16s(int16_t** buffers, int32_t channels, int32_t frames) {
    return m_Sound.readPcm16s(m_Stream, m_Comm, buffers, channels, frames);
}

int32_t AiffFormatReader::readPcm32s(int32_t** buffers, int32_t channels, int32_t frames) {
    return m_Sound.readPcm32s(m_Stream, m_Comm, buffers, channels, frames);
}

int32_t AiffFormatReader::readPcm32f(float** buffers, int32_t channels, int32_t frames) {
    return m_Sound.readPcm32f(m_Stream, m_Comm, buffers, channels, frames);
}

bool AiffFormatReader::hasFormat() const {
    // A COMM chunk cut short by the end of the file leaves fields that were never read.
    return m_Form.valid() && m_Comm.checkChunkID() &&
           uint64_t{m_Comm.position} + AiffCommonChunk::kFieldBytes <= m_Stream.size();
}

}  // namespace eLibrary
