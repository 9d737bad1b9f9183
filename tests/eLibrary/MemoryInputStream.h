#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "eLibrary/InputStream.h"

// An in-memory stream with the file stream's seek rules (no negative positions; seeking past the
// end is allowed, reading there delivers nothing), for tests and fuzzing without files.
class MemoryInputStream : public eLibrary::InputStream {
public:
    MemoryInputStream(const uint8_t* data, size_t size) : m_Bytes(data, data + size) {}
    explicit MemoryInputStream(std::vector<uint8_t> bytes) : m_Bytes(std::move(bytes)) {}

    bool fail() const override { return false; }
    uint32_t size() override { return static_cast<uint32_t>(m_Bytes.size()); }
    uint32_t tell() override { return static_cast<uint32_t>(m_Position); }

    bool seek(int32_t offset, SeekOrigin origin) override {
        const int64_t bases[] = {0, m_Position, static_cast<int64_t>(m_Bytes.size())};
        if (origin < SeekBegin || origin > SeekEnd || bases[origin - SeekBegin] + offset < 0)
            return false;
        m_Position = bases[origin - SeekBegin] + offset;
        return true;
    }

    uint32_t readBuffer(void* buffer, uint32_t size) override {
        const int64_t available = std::max<int64_t>(0, static_cast<int64_t>(m_Bytes.size()) - m_Position);
        const auto count = static_cast<uint32_t>(std::min<int64_t>(size, available));
        if (count > 0)
            std::memcpy(buffer, m_Bytes.data() + m_Position, count);
        m_Position += count;
        return count;
    }

private:
    std::vector<uint8_t> m_Bytes;
    int64_t m_Position = 0;
};
