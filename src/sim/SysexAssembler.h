#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace velk::sim {

// Cuts the byte stream arriving at the head into System Exclusive messages, F0 to F7, as a MIDI
// input does: real-time bytes pass through unseen, any other status byte ends an unfinished
// message, and a message longer than the head's buffer is dropped.
class SysexAssembler {
public:
    using MessageHandler = std::function<void(std::span<const uint8_t> message)>;

    static constexpr size_t kMaxMessageSize = 1024;  // the largest message of the protocol is 532

    void feed(std::span<const uint8_t> bytes, const MessageHandler& handler);

private:
    void take(uint8_t byte, const MessageHandler& handler);

    std::vector<uint8_t> m_Message;
    bool m_Collecting = false;
};

}  // namespace velk::sim
