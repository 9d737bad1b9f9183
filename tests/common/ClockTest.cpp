#include "common/Clock.h"
#include "common/VelkTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

using velktest::Background;
using namespace std::chrono_literals;

TEST(SystemClock, sleepsAndWaitsInRealTimeOnTheSystemsWallClock) {
    const auto before = std::chrono::steady_clock::now();
    const uint64_t beforeMS = mstd::getClockMS();
    mstd::sleepMS(20);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 20ms);
    EXPECT_GE(mstd::getClockMS() - beforeMS, 20u);
    EXPECT_LE(std::abs(mstd::getWallClockSeconds() - std::time(nullptr)), 1);

    mstd::CSystemClock clock;
    std::mutex mutex;
    std::condition_variable condition;
    bool signalled = false;
    Background signaller([&] {
        std::this_thread::sleep_for(10ms);
        std::lock_guard lock(mutex);
        signalled = true;
        condition.notify_all();
    });
    std::unique_lock lock(mutex);
    EXPECT_TRUE(clock.waitUntil(lock, condition, clock.steadyMS() + 5000, [&] { return signalled; }));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 4s);
}

}  // namespace
