#include "cli/EventQueue.h"

namespace velk::cli {

void EventQueue::listener(EVelkEventID event, int32_t data, void* self) {
    static_cast<EventQueue*>(self)->push({event, data});
}

void EventQueue::push(DeviceEvent event) {
    {
        std::lock_guard lock(m_Mutex);
        m_Events.push_back(event);
    }
    m_Arrived.notify_one();
}

std::optional<DeviceEvent> EventQueue::pop(Clock::time_point deadline) {
    std::unique_lock lock(m_Mutex);
    if (!m_Arrived.wait_until(lock, deadline, [this] { return !m_Events.empty(); }))
        return std::nullopt;
    const DeviceEvent event = m_Events.front();
    m_Events.pop_front();
    return event;
}

}  // namespace velk::cli
