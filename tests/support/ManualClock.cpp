#include "support/ManualClock.h"

#include <algorithm>

namespace mstd {

uint64_t CManualClock::steadyMS() const {
    return m_NowMS.load();
}

time_t CManualClock::wallSeconds() const {
    return kWallStart + static_cast<time_t>((m_NowMS.load() - kStartMS) / 1000);
}

bool CManualClock::waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                             uint64_t deadlineMS, const std::function<bool()>& ready) {
    SWaiter waiter{lock.mutex(), &condition};
    // The registry is never entered while a waiter's mutex is held, so advance() may take them
    // in the other order.
    lock.unlock();
    {
        std::lock_guard registry(m_WaitersLock);
        m_Waiters.push_back(&waiter);
        ++m_WaitsStarted;
        m_WaitersChanged.notify_all();
    }
    lock.lock();
    while (!ready() && steadyMS() < deadlineMS)
        condition.wait(lock);
    const bool result = ready();
    lock.unlock();
    {
        std::lock_guard registry(m_WaitersLock);
        m_Waiters.erase(std::find(m_Waiters.begin(), m_Waiters.end(), &waiter));
        m_WaitersChanged.notify_all();
    }
    lock.lock();
    return result;
}

void CManualClock::advance(uint64_t ms) {
    std::lock_guard registry(m_WaitersLock);
    m_NowMS += ms;
    for (SWaiter* waiter : m_Waiters) {
        // Taking the waiter's mutex orders the new time before its next look at the clock.
        std::lock_guard waiterLock(*waiter->mutex);
        waiter->condition->notify_all();
    }
}

bool CManualClock::awaitWaiters(size_t count, std::chrono::milliseconds patience) const {
    std::unique_lock registry(m_WaitersLock);
    return m_WaitersChanged.wait_for(registry, patience, [&] { return m_Waiters.size() >= count; });
}

size_t CManualClock::waiterCount() const {
    std::lock_guard registry(m_WaitersLock);
    return m_Waiters.size();
}

uint64_t CManualClock::waitsStarted() const {
    std::lock_guard registry(m_WaitersLock);
    return m_WaitsStarted;
}

bool CManualClock::awaitWaitsStarted(uint64_t count, std::chrono::milliseconds patience) const {
    std::unique_lock registry(m_WaitersLock);
    return m_WaitersChanged.wait_for(registry, patience, [&] { return m_WaitsStarted >= count; });
}

}  // namespace mstd
