#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "eLibrary/InputStream.h"

namespace eLibrary {

// A read-only file. Its size is a snapshot taken at opening: later growth is not seen.
//
// The stream keeps its own read buffer and its own position: a reader's chunk walk seeks often,
// mostly to where it already is or to places it never reads, and each seek of the standard
// stream would discard its buffer and cost system calls. Seeks here only move the position; the
// file is positioned when bytes outside the buffer are read.
class InputFileStream : public InputStream {
public:
    explicit InputFileStream(const char* path);
    ~InputFileStream() override;

    InputFileStream(const InputFileStream&) = delete;
    InputFileStream& operator=(const InputFileStream&) = delete;

    bool fail() const override;
    uint32_t size() override;
    uint32_t tell() override;
    bool seek(int32_t offset, SeekOrigin origin) override;
    uint32_t readBuffer(void* buffer, uint32_t size) override;

private:
    // Enough for a whole impulse response of 2048 stereo 32-bit frames in one read.
    static constexpr size_t kBufferSize = 32 * 1024;

    // Fills the buffer from the current position; false when nothing could be read there.
    bool refill();

    FILE* m_File;
    struct stat m_Status {};
    std::unique_ptr<uint8_t[]> m_Buffer;
    long m_Position = 0;
    long m_BufferStart = 0;  // file offset of the buffer's first byte
    long m_BufferLength = 0;
};

}  // namespace eLibrary
