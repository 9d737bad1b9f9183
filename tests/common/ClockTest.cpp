#include "common/Clock.h"
#include "common/ManualClock.h"
#include "midi/MessageRecorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using midi::test::Handoff;

class ManualClockTest : public testing::Test {
protected:
    void SetUp() override { mstd::setProcessClock(&m_Clock); }
    void TearDown() override { mstd::setProcessClock(nullptr); }

    // Waits on the clock on a helper thread, handing over whether the condition was met.
    std::thread waitOn(Handoff<bool>& result, const std::function<bool()>& ready) {
        return std::thread([this, &result, ready] {
            std::unique_lock lock(m_Mutex);
            result.set(m_Clock.waitUntil(lock, m_Condition, m_Clock.steadyMS() + 5000, ready));
        });
    }

    mstd::CManualClock m_Clock;
    std::mutex m_Mutex;
    std::condition_variable m_Condition;
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
    Handoff<bool> first, second;
    std::thread shortSleep([&] {
        mstd::sleepMS(10);
        first.set(true);
    });
    std::thread longSleep([&] {
        mstd::sleepMS(20);
        second.set(true);
    });
    ASSERT_TRUE(m_Clock.awaitWaiters(2));
    m_Clock.advance(9);
    EXPECT_FALSE(first.wait(20ms));
    m_Clock.advance(1);
    EXPECT_TRUE(first.wait());
    EXPECT_FALSE(second.wait(20ms));
    m_Clock.advance(10);
    EXPECT_TRUE(second.wait());
    shortSleep.join();
    longSleep.join();
    EXPECT_EQ(m_Clock.waiterCount(), 0u);
}

TEST_F(ManualClockTest, waitEndsEarlyWhenSignalledAndReportsFalseAtItsDeadline) {
    bool signalled = false;
    Handoff<bool> early, late;
    std::thread signalledWaiter = waitOn(early, [&] { return signalled; });
    ASSERT_TRUE(m_Clock.awaitWaiters(1));
    {
        std::lock_guard lock(m_Mutex);
        signalled = true;
    }
    m_Condition.notify_all();
    EXPECT_EQ(early.wait(), true);
    signalledWaiter.join();

    std::thread deadlineWaiter = waitOn(late, [] { return false; });
    ASSERT_TRUE(m_Clock.awaitWaiters(1));
    m_Clock.advance(5000);
    EXPECT_EQ(late.wait(), false);
    deadlineWaiter.join();
}

TEST(SystemClock, sleepTakesRealTimeAndTheWallClockIsTheSystemTime) {
    const auto before = std::chrono::steady_clock::now();
    const uint64_t beforeMS = mstd::getClockMS();
    mstd::sleepMS(20);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 20ms);
    EXPECT_GE(mstd::getClockMS() - beforeMS, 20u);
    EXPECT_LE(std::abs(mstd::getWallClockSeconds() - std::time(nullptr)), 1);
}

TEST(SystemClock, signalledWaitEndsBeforeItsDeadline) {
    mstd::CSystemClock clock;
    std::mutex mutex;
    std::condition_variable condition;
    bool signalled = false;
    std::thread signaller([&] {
        std::this_thread::sleep_for(10ms);
        std::lock_guard lock(mutex);
        signalled = true;
        condition.notify_all();
    });
    const auto before = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex);
    EXPECT_TRUE(clock.waitUntil(lock, condition, clock.steadyMS() + 5000, [&] { return signalled; }));
    lock.unlock();
    signaller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 4s);
}

}  // namespace
