#include "InputFileStream.h"

#include <algorithm>
#include <cstring>

namespace eLibrary {

InputFileStream::InputFileStream(const char* path) : m_File(std::fopen(path, "rb")) {
    if (!m_File)
        return;
    // A failed stat leaves the zeroed status: the stream then looks empty rather than holding garbage.
    if (::stat(path, &m_Status) != 0)
        m_Status = {};
    // The stream's own buffer replaces the standard one.
    std::setvbuf(m_File, nullptr, _IONBF, 0);
    m_Buffer = std::make_unique<uint8_t[]>(kBufferSize);
}

InputFileStream::~InputFileStream() {
    if (m_File)
        std::fclose(m_File);
    m_File = nullptr;
}

bool InputFileStream::fail() const {
    return m_File == nullptr;
}

uint32_t InputFileStream::size() {
    return static_cast<uint32_t>(m_Status.st_size);
}

uint32_t InputFileStream::tell() {
    return static_cast<uint32_t>(m_Position);
}

bool InputFileStream::seek(int32_t offset, SeekOrigin origin) {
    if (!m_File)
        return false;
    long target;
    switch (origin) {
        case SeekBegin:
            target = offset;
            break;
        case SeekCurrent:
            target = m_Position + offset;
            break;
        case SeekEnd:
            // The end is the file's own, not the size snapshot: ask the file where it is.
            if (std::fseek(m_File, offset, SEEK_END) != 0)
                return false;
            target = std::ftell(m_File);
            break;
        default:
            return false;
    }
    if (target < 0)
        return false;
    m_Position = target;
    return true;
}

uint32_t InputFileStream::readBuffer(void* buffer, uint32_t size) {
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t done = 0;
    while (m_File && done < size) {
        const bool inBuffer = m_Position >= m_BufferStart && m_Position < m_BufferStart + m_BufferLength;
        if (!inBuffer && !refill())
            break;
        const long available = m_BufferStart + m_BufferLength - m_Position;
        const auto count = static_cast<uint32_t>(std::min<long>(available, size - done));
        std::memcpy(out + done, m_Buffer.get() + (m_Position - m_BufferStart), count);
        m_Position += count;
        done += count;
    }
    return done;
}

bool InputFileStream::refill() {
    m_BufferStart = m_Position;
    m_BufferLength = 0;
    if (std::fseek(m_File, m_Position, SEEK_SET) != 0)
        return false;
    m_BufferLength = static_cast<long>(std::fread(m_Buffer.get(), 1, kBufferSize, m_File));
    return m_BufferLength > 0;
}

}  // namespace eLibrary
