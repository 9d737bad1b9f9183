#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "common/VelkManager.h"

namespace velk::cli {

struct DeviceEvent {
    EVelkEventID id;
    int32_t data;
};

// velkctl's main queue: the device manager's listener hands each event over from the manager's
// threads, and the command takes them in order on its own thread, as the windows do.
class EventQueue {
public:
    using Clock = std::chrono::steady_clock;

    // The ListenerCallback; `self` is the queue.
    static void listener(EVelkEventID event, int32_t data, void* self);

    void push(DeviceEvent event);
    // The oldest event not taken yet, or nothing once `deadline` has passed.
    std::optional<DeviceEvent> pop(Clock::time_point deadline);

private:
    std::mutex m_Mutex;
    std::condition_variable m_Arrived;
    std::deque<DeviceEvent> m_Events;
};

}  // namespace velk::cli
