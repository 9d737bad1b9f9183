#pragma once

#include "common/Clock.h"

#include <atomic>
#include <chrono>
#include <vector>

namespace mstd {

// A clock that stands still until told to move: tests install it as the process clock and
// advance it, so waits of seconds take no real time. Advancing wakes every waiting thread.
class CManualClock : public CClock {
public:
    uint64_t steadyMS() const override;
    // The wall clock moves with the monotonic one: whole seconds since the start.
    time_t wallSeconds() const override;
    bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                   uint64_t deadlineMS, const std::function<bool()>& ready) override;

    void advance(uint64_t ms);
    // Waits (in real time, at most `patience`) until `count` threads are waiting on this
    // clock; true when they are.
    bool awaitWaiters(size_t count, std::chrono::milliseconds patience = std::chrono::seconds(10)) const;
    size_t waiterCount() const;
    // How many waits have begun on this clock so far, and a real-time wait (at most
    // `patience`) until `count` have: a test steps a thread from one pause to its next.
    uint64_t waitsStarted() const;
    bool awaitWaitsStarted(uint64_t count,
                           std::chrono::milliseconds patience = std::chrono::seconds(10)) const;

private:
    struct SWaiter {
        std::mutex* mutex;
        std::condition_variable* condition;
    };

    // Starts far from zero, like a machine that has been up for a while, so that "never" (0)
    // is long ago.
    static constexpr uint64_t kStartMS = 1'000'000;
    static constexpr time_t kWallStart = 1'700'000'000;
    std::atomic<uint64_t> m_NowMS = kStartMS;

    mutable std::mutex m_WaitersLock;
    mutable std::condition_variable m_WaitersChanged;
    std::vector<SWaiter*> m_Waiters;
    uint64_t m_WaitsStarted = 0;
};

}  // namespace mstd
