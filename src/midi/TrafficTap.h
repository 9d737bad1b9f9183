#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "midi/TraceLog.h"

namespace midi {

// One message that passed a traced service.
struct TrafficEntry {
    std::chrono::system_clock::time_point when;
    TraceDirection direction = TraceDirection::Out;
    std::vector<uint8_t> bytes;
};

// A trace sink that keeps whole messages for a watcher that collects them now and then (the MIDI
// monitor). While nobody watches, a message costs one atomic load and is not kept.
class TrafficTap : public TraceSink {
public:
    // What is kept for a watcher that stopped collecting: the oldest messages go first.
    static constexpr size_t kKeptLimit = 10'000;

    void setWatching(bool watching);
    bool watching() const { return m_Watching; }

    void write(TraceDirection direction, std::span<const uint8_t> bytes) override;

    // The messages kept since the last call, in the order they passed.
    std::vector<TrafficEntry> take();

private:
    void keep(TraceDirection direction, std::vector<uint8_t> bytes);
    void assembleIncoming(std::span<const uint8_t> bytes);

    std::atomic<bool> m_Watching{false};
    std::mutex m_Mutex;
    std::vector<TrafficEntry> m_Kept;
    // Deliveries may cut a message; an incoming one is kept once it is whole.
    std::vector<uint8_t> m_Incoming;
};

}  // namespace midi
