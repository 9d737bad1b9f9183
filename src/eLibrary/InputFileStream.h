#pragma once

#include <sys/stat.h>

#include <cstdio>

#include "eLibrary/InputStream.h"

namespace eLibrary {

// A read-only file. Its size is a snapshot taken at opening: later growth is not seen.
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
    FILE* m_File;
    struct stat m_Status {};
};

}  // namespace eLibrary
