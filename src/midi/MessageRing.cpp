#include "midi/MessageRing.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace midi {

MessageRing::MessageRing(size_t capacity)
    : m_Capacity(std::bit_ceil(capacity + sizeof(Header))), m_Bytes(new uint8_t[m_Capacity]) {}

bool MessageRing::write(const Header& header, const uint8_t* bytes) {
    const size_t written = m_Written.load(std::memory_order_relaxed);
    const size_t free = m_Capacity - (written - m_Read.load(std::memory_order_acquire));
    if (free < sizeof header + header.length)
        return false;
    copyIn(written, &header, sizeof header);
    if (header.length > 0)
        copyIn(written + sizeof header, bytes, header.length);
    m_Written.store(written + sizeof header + header.length, std::memory_order_release);
    return true;
}

bool MessageRing::peek(Header& header) const {
    const size_t read = m_Read.load(std::memory_order_relaxed);
    if (m_Written.load(std::memory_order_acquire) - read < sizeof header)
        return false;
    copyOut(read, &header, sizeof header);
    return true;  // the writer publishes header and bytes together
}

void MessageRing::read(const Header& header, uint8_t* bytes) {
    const size_t read = m_Read.load(std::memory_order_relaxed);
    copyOut(read + sizeof header, bytes, header.length);
    m_Read.store(read + sizeof header + header.length, std::memory_order_release);
}

void MessageRing::skip(const Header& header) {
    m_Read.store(m_Read.load(std::memory_order_relaxed) + sizeof header + header.length,
                 std::memory_order_release);
}

void MessageRing::copyIn(size_t position, const void* from, size_t length) {
    const size_t start = position & (m_Capacity - 1);
    const size_t first = std::min(length, m_Capacity - start);
    std::memcpy(m_Bytes.get() + start, from, first);
    std::memcpy(m_Bytes.get(), static_cast<const uint8_t*>(from) + first, length - first);
}

void MessageRing::copyOut(size_t position, void* to, size_t length) const {
    const size_t start = position & (m_Capacity - 1);
    const size_t first = std::min(length, m_Capacity - start);
    std::memcpy(to, m_Bytes.get() + start, first);
    std::memcpy(static_cast<uint8_t*>(to) + first, m_Bytes.get(), length - first);
}

}  // namespace midi
