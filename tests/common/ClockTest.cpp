#include "common/Clock.h"
#include "common/VelkTestSupport.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

using velktest::Background;
using namespace std::chrono_literals;

class ManualClockTest : public testing::Test {
protected:
    void SetUp() override { mstd::setProcessClock(&m_Clock); }
    void TearDown() override { mstd::setProcessClock(nullptr); }

    mstd::CManualClock m_Clock;
};

TEST_F(ManualClockTest, standsStillUntilAdvancedAndCountsWholeWallClockSeconds) {
    const uint64_t start = mstd::getClockMS();
    const time_t wallStart = mstd::getWallClockSeconds();
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(mstd::getClockMS(), start);
    m_Clock.advance(999);
    EXPECT_EQ(mstd::getWallClockSeconds(), wallStart);
    m_Clock.advance(1);
    EXPECT_EQ(mstd::getWallClockSeconds(), wallStart + 1);
    m_Clock.advance(5500);
    EXPECT_EQ(mstd::getClockMS(), start + 6500);
    EXPECT_EQ(mstd::getWallClockSeconds(), wallStart + 6);
}

TEST_F(ManualClockTest, sleepsEndOnlyWhenEnoughTimeHasBeenAdvanced) {
    Background shortSleep([] { mstd::sleepMS(10); });
    Background longSleep([] { mstd::sleepMS(20); });
    ASSERT_TRUE(m_Clock.awaitWaiters(2));
    m_Clock.advance(9);
    EXPECT_FALSE(shortSleep.finished(20ms));
    m_Clock.advance(1);
    EXPECT_TRUE(shortSleep.finished());
    EXPECT_FALSE(longSleep.finished(20ms));
    m_Clock.advance(10);
    EXPECT_TRUE(longSleep.finished());
    EXPECT_EQ(m_Clock.waiterCount(), 0u);
}

TEST_F(ManualClockTest, waitEndsEarlyWhenSignalledAndReportsFalseAtItsDeadline) {
    std::mutex mutex;
    std::condition_variable condition;
    bool signalled = false;
    for (const bool signal : {true, false}) {
        signalled = false;
        bool result = !signal;
        Background waiting([&] {
            std::unique_lock lock(mutex);
            result = m_Clock.waitUntil(lock, condition, m_Clock.steadyMS() + 5000, [&] { return signalled; });
        });
        ASSERT_TRUE(m_Clock.awaitWaiters(1));
        if (signal) {
            std::lock_guard lock(mutex);
            signalled = true;
            condition.notify_all();
        } else {
            m_Clock.advance(5000);
        }
        ASSERT_TRUE(waiting.finished());
        EXPECT_EQ(result, signal);
    }
}

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
