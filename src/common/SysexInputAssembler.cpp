#include "common/SysexInputAssembler.h"

#include "common/SysexCodec.h"

#include <algorithm>

namespace {

bool isDataByte(uint8_t byte) {
    return byte < 0x80;
}

}  // namespace

CSysexInputAssembler::CSysexInputAssembler(size_t maxMessageLength) : m_MaxMessageLength(maxMessageLength) {}

void CSysexInputAssembler::reserve(size_t capacity) {
    m_Message.reserve(std::min(capacity, m_MaxMessageLength));
}

void CSysexInputAssembler::clear() {
    m_Message.clear();
    m_Complete = false;
}

bool CSysexInputAssembler::take(uint8_t byte) {
    if (m_Complete)
        clear();
    if (isDataByte(byte)) {
        if (m_Message.size() >= m_MaxMessageLength)
            m_Message.clear();  // dropped whole: its remaining bytes find no message in progress
        else if (!m_Message.empty())
            m_Message.push_back(byte);
        return false;
    }
    if (byte == velk::sysex::kEnd && !m_Message.empty()) {
        m_Message.push_back(byte);
        m_Complete = true;
        return true;
    }
    m_Message.clear();
    if (byte == velk::sysex::kStart)
        m_Message.push_back(byte);
    return false;
}
