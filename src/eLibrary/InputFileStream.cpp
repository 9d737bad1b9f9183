#include "InputFileStream.h"

namespace eLibrary {

InputFileStream::InputFileStream(const char* path) : m_File(std::fopen(path, "rb")) {
    // A failed stat leaves the zeroed status: the stream then looks empty rather than holding garbage.
    if (m_File && ::stat(path, &m_Status) != 0)
        m_Status = {};
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
    return m_File ? static_cast<uint32_t>(std::ftell(m_File)) : 0;
}

bool InputFileStream::seek(int32_t offset, SeekOrigin origin) {
    int whence;
    switch (origin) {
        case SeekBegin:
            whence = SEEK_SET;
            break;
        case SeekCurrent:
            whence = SEEK_CUR;
            break;
        case SeekEnd:
            whence = SEEK_END;
            break;
        default:
            return false;
    }
    return m_File && std::fseek(m_File, offset, whence) == 0;
}

uint32_t InputFileStream::readBuffer(void* buffer, uint32_t size) {
    return m_File ? static_cast<uint32_t>(std::fread(buffer, 1, size, m_File)) : 0;
}

}  // namespace eLibrary
