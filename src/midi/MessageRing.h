#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace midi {

// Whole messages through a lock-free ring between exactly one writing thread and one reading thread;
// either may be a real-time thread: nothing but the constructor locks or allocates. A message
// becomes visible to the reader only once it is complete. (JACK's own ring buffer orders neither
// its data nor its indices, so it is not used.)
class MessageRing {
public:
    struct Header {
        uint64_t sequence = 0;  // ties a sent message to its completion; 0 when none is wanted
        uint32_t length = 0;    // bytes following the header
        int32_t status = 0;     // a completion's result
    };

    // Room for `capacity` bytes, rounded up to a power of two; each message takes its length plus
    // the size of a header.
    explicit MessageRing(size_t capacity);

    // The longest message that fits at all.
    size_t maxLength() const { return m_Capacity - sizeof(Header); }

    // Writer side. False, writing nothing, when there is no room for the whole message.
    bool write(const Header& header, const uint8_t* bytes);

    // Reader side. True with the next complete message's header; the message stays until read or
    // skipped.
    bool peek(Header& header) const;
    // Takes the peeked message, its bytes into `bytes` (header.length of them).
    void read(const Header& header, uint8_t* bytes);
    void skip(const Header& header);

private:
    void copyIn(size_t position, const void* from, size_t length);
    void copyOut(size_t position, void* to, size_t length) const;

    const size_t m_Capacity;
    std::unique_ptr<uint8_t[]> m_Bytes;
    // Running byte counts; the writer publishes with release, the reader takes with acquire.
    std::atomic<size_t> m_Written{0};
    std::atomic<size_t> m_Read{0};
};

}  // namespace midi
