#include "midi/TrafficTap.h"

#include <utility>

namespace midi {

namespace {

constexpr uint8_t kSysexStart = 0xF0;
constexpr uint8_t kSysexEnd = 0xF7;
constexpr uint8_t kFirstRealTime = 0xF8;  // may come between a message's bytes without ending it

}  // namespace

void TrafficTap::setWatching(bool watching) {
    m_Watching = watching;
    if (watching)
        return;
    std::lock_guard lock(m_Mutex);
    m_Incoming.clear();
}

void TrafficTap::write(TraceDirection direction, std::span<const uint8_t> bytes) {
    if (!m_Watching)
        return;
    std::lock_guard lock(m_Mutex);
    if (direction == TraceDirection::Out)
        keep(direction, {bytes.begin(), bytes.end()});
    else
        assembleIncoming(bytes);
}

std::vector<TrafficEntry> TrafficTap::take() {
    std::lock_guard lock(m_Mutex);
    return std::exchange(m_Kept, {});
}

void TrafficTap::keep(TraceDirection direction, std::vector<uint8_t> bytes) {
    if (m_Kept.size() >= kKeptLimit)
        m_Kept.erase(m_Kept.begin());
    m_Kept.push_back({std::chrono::system_clock::now(), direction, std::move(bytes)});
}

void TrafficTap::assembleIncoming(std::span<const uint8_t> bytes) {
    for (const uint8_t byte : bytes) {
        if (byte == kSysexStart) {
            m_Incoming.assign(1, byte);
        } else if (byte < 0x80 || byte >= kFirstRealTime) {
            if (!m_Incoming.empty() && byte < 0x80)
                m_Incoming.push_back(byte);
        } else if (byte == kSysexEnd && !m_Incoming.empty()) {
            m_Incoming.push_back(byte);
            keep(TraceDirection::In, std::exchange(m_Incoming, {}));
        } else {
            m_Incoming.clear();  // any other status byte ends an unfinished message
        }
    }
}

}  // namespace midi
