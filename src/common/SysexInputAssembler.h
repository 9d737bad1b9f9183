#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Cuts the bytes of incoming packets into System Exclusive messages, F0 to F7. A data byte extends
// the message in progress; a status byte ends it: F7 completes it, any other (real-time bytes
// included) discards it, and F0 starts the next one. Bytes outside a message are dropped, and a
// message that outgrows the limit is dropped whole. A message may span any number of packets.
// Not thread-safe: its owner feeds it from one thread at a time.
class CSysexInputAssembler {
public:
    // A device that never ends its message must not make us grow without bound.
    static constexpr size_t kDefaultMaxMessageLength = 64 * 1024;

    // Longest message kept before its F7, in bytes from F0 on.
    explicit CSysexInputAssembler(size_t maxMessageLength = kDefaultMaxMessageLength);

    // Hands each message completed by `bytes` to deliver(std::span<const uint8_t>), which returns
    // false to drop the rest of `bytes`; returns false when it did.
    template <typename Deliver>
    bool feed(std::span<const uint8_t> bytes, Deliver&& deliver) {
        for (uint8_t byte : bytes) {
            if (take(byte) && !deliver(std::span<const uint8_t>(m_Message)))
                return false;
        }
        return true;
    }

    void reserve(size_t capacity);
    void clear();  // forgets a message in progress

private:
    // True when `byte` completed the message, which stays in m_Message until the next byte.
    bool take(uint8_t byte);

    size_t m_MaxMessageLength;
    std::vector<uint8_t> m_Message;  // empty: no message in progress
    bool m_Complete = false;
};
