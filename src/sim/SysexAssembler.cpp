#include "sim/SysexAssembler.h"

namespace velk::sim {

namespace {

constexpr uint8_t kSysexStart = 0xF0;
constexpr uint8_t kSysexEnd = 0xF7;
constexpr uint8_t kFirstRealTime = 0xF8;

}  // namespace

void SysexAssembler::feed(std::span<const uint8_t> bytes, const MessageHandler& handler) {
    for (uint8_t byte : bytes)
        take(byte, handler);
}

void SysexAssembler::take(uint8_t byte, const MessageHandler& handler) {
    if (byte >= kFirstRealTime)
        return;
    if (byte == kSysexStart) {
        m_Message.assign(1, byte);
        m_Collecting = true;
        return;
    }
    if (!m_Collecting)
        return;
    if (byte == kSysexEnd) {
        m_Message.push_back(byte);
        m_Collecting = false;
        handler(m_Message);
        return;
    }
    if (byte & 0x80 || m_Message.size() + 1 >= kMaxMessageSize) {
        m_Collecting = false;
        return;
    }
    m_Message.push_back(byte);
}

}  // namespace velk::sim
