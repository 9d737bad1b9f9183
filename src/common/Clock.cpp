#include "common/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace mstd {

namespace {

CSystemClock gSystemClock;
std::atomic<CClock*> gProcessClock{&gSystemClock};

}  // namespace

CClock& processClock() {
    return *gProcessClock.load(std::memory_order_acquire);
}

void setProcessClock(CClock* clock) {
    gProcessClock.store(clock ? clock : &gSystemClock, std::memory_order_release);
}

uint64_t getClockMS() {
    return processClock().steadyMS();
}

time_t getWallClockSeconds() {
    return processClock().wallSeconds();
}

void sleepMS(uint32_t ms) {
    processClock().sleepMS(ms);
}

void CClock::sleepMS(uint32_t ms) {
    std::mutex mutex;
    std::condition_variable never;
    std::unique_lock lock(mutex);
    waitUntil(lock, never, steadyMS() + ms, [] { return false; });
}

uint64_t CSystemClock::steadyMS() const {
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

time_t CSystemClock::wallSeconds() const {
    return std::time(nullptr);
}

bool CSystemClock::waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                             uint64_t deadlineMS, const std::function<bool()>& ready) {
    const std::chrono::steady_clock::time_point deadline{std::chrono::milliseconds(deadlineMS)};
    return condition.wait_until(lock, deadline, ready);
}

void CSystemClock::sleepMS(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace mstd
