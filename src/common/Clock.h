#pragma once

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>

namespace mstd {

// Where the core's time comes from: every interval, time-out and pause of the core reads and
// waits through the process clock, so tests can substitute a clock they advance by hand.
class CClock {
public:
    virtual ~CClock() = default;

    // Monotonic milliseconds.
    virtual uint64_t steadyMS() const = 0;
    // Wall-clock time in whole seconds.
    virtual time_t wallSeconds() const = 0;

    // Waits on `condition` (its mutex held through `lock`) until `ready()` holds or steadyMS()
    // reaches `deadlineMS`, and returns ready(). Whoever makes ready() true does so under that
    // mutex (or takes and releases it afterwards) and then notifies `condition`.
    virtual bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                           uint64_t deadlineMS, const std::function<bool()>& ready) = 0;

    // Pauses the calling thread for at least `ms` milliseconds of this clock.
    virtual void sleepMS(uint32_t ms);
};

// The process clock: the system's, unless a test installed its own.
CClock& processClock();
// Installs `clock` (null restores the system clock). Only while no thread uses the clock.
void setProcessClock(CClock* clock);

uint64_t getClockMS();
time_t getWallClockSeconds();
// Pauses the calling thread for `ms` milliseconds of the process clock.
void sleepMS(uint32_t ms);

// std::chrono::steady_clock and the system wall clock.
class CSystemClock : public CClock {
public:
    uint64_t steadyMS() const override;
    time_t wallSeconds() const override;
    bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                   uint64_t deadlineMS, const std::function<bool()>& ready) override;
    void sleepMS(uint32_t ms) override;
};

}  // namespace mstd
