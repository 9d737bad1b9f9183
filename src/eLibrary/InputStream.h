#pragma once

#include <cstdint>

namespace eLibrary {

// A seekable source of bytes. Positions and sizes are 32-bit: the files read through it are small.
class InputStream {
public:
    // There is no 0: any other value makes seek fail without moving.
    enum SeekOrigin : int32_t {
        SeekBegin = 1,
        SeekCurrent = 2,
        SeekEnd = 3,
    };

    virtual ~InputStream() = default;

    virtual bool fail() const = 0;
    virtual uint32_t size() = 0;
    virtual uint32_t tell() = 0;
    virtual bool seek(int32_t offset, SeekOrigin origin) = 0;
    // Returns how many bytes arrived; fewer than size means the end was met or the read failed.
    virtual uint32_t readBuffer(void* buffer, uint32_t size) = 0;
};

}  // namespace eLibrary
