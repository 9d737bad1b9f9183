#pragma once

#include <cstddef>
#include <cstring>
#include <new>

namespace mstd {

// A small owned buffer of plain values; allocation failure throws std::bad_alloc.
template <typename T>
class TSimpleBuffer {
public:
    TSimpleBuffer(size_t size, bool zeroFill) : m_Data(new T[size]), m_Size(size) {
        if (zeroFill)
            std::memset(m_Data, 0, size * sizeof(T));
    }
    virtual ~TSimpleBuffer() { delete[] m_Data; }

    TSimpleBuffer(const TSimpleBuffer&) = delete;
    TSimpleBuffer& operator=(const TSimpleBuffer&) = delete;

    T* data() { return m_Data; }
    const T* data() const { return m_Data; }
    size_t size() const { return m_Size; }

private:
    T* m_Data;
    size_t m_Size;
};

}  // namespace mstd
