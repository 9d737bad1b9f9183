#include "common/Clock.h"
#include "common/ManualClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

class ManualClockTest : public testing::Test {
protected:
    void SetUp() override { mstd::setProcessClock(&m_Clock); }
    void TearDown() override { mstd::setProcessClock(nullptr); }

    mstd::CManualClock m_Clock;
};

TEST_F(ManualClockTest, standsStillUntilAdvanced) {
    const uint64_t start = mstd::getClockMS();
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(mstd::getClockMS(), start);
    m_Clock.advance(1500);
    EXPECT_EQ(mstd::getClockMS(), start + 1500);
}

TEST_F(ManualClockTest, wallClockCountsWholeSecondsOfAdvance) {
    const time_t start = mstd::getWallClockSeconds();
    m_Clock.advance(999);
    EXPECT_EQ(mstd::getWallClockSeconds(), start);
    m_Clock.advance(1);
    EXPECT_EQ(mstd::getWallClockSeconds(), start + 1);
    m_Clock.advance(5500);
    EXPECT_EQ(mstd::getWallClockSeconds(), start + 6);
}

TEST_F(ManualClockTest, sleepEndsOnlyWhenEnoughTimeHasBeenAdvanced) {
    auto sleeper = std::async(std::launch::async, [] { mstd::sleepMS(10); });
    ASSERT_TRUE(m_Clock.awaitWaiters(1));
    m_Clock.advance(9);
    EXPECT_EQ(sleeper.wait_for(20ms), std::future_status::timeout);
    m_Clock.advance(1);
    EXPECT_EQ(sleeper.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(m_Clock.waiterCount(), 0u);
}

TEST_F(ManualClockTest, waitEndsEarlyWhenItsConditionIsSignalled) {
    std::mutex mutex;
    std::condition_variable condition;
    bool signalled = false;
    auto waiter = std::async(std::launch::async, [&] {
        std::unique_lock lock(mutex);
        return m_Clock.waitUntil(lock, condition, m_Clock.steadyMS() + 5000, [&] { return signalled; });
    });
    ASSERT_TRUE(m_Clock.awaitWaiters(1));
    {
        std::lock_guard lock(mutex);
        signalled = true;
    }
    condition.notify_all();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
}

TEST_F(ManualClockTest, waitReportsFalseAtItsDeadline) {
    std::mutex mutex;
    std::condition_variable condition;
    auto waiter = std::async(std::launch::async, [&] {
        std::unique_lock lock(mutex);
        return m_Clock.waitUntil(lock, condition, m_Clock.steadyMS() + 5000, [] { return false; });
    });
    ASSERT_TRUE(m_Clock.awaitWaiters(1));
    m_Clock.advance(5000);
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(waiter.get());
}

TEST_F(ManualClockTest, advanceWakesEveryWaitingThread) {
    auto first = std::async(std::launch::async, [] { mstd::sleepMS(10); });
    auto second = std::async(std::launch::async, [] { mstd::sleepMS(20); });
    ASSERT_TRUE(m_Clock.awaitWaiters(2));
    m_Clock.advance(20);
    EXPECT_EQ(first.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(second.wait_for(5s), std::future_status::ready);
}

TEST(SystemClock, sleepTakesRealTime) {
    const auto before = std::chrono::steady_clock::now();
    const uint64_t beforeMS = mstd::getClockMS();
    mstd::sleepMS(20);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 20ms);
    EXPECT_GE(mstd::getClockMS() - beforeMS, 20u);
}

TEST(SystemClock, wallClockIsTheSystemTime) {
    const time_t now = std::time(nullptr);
    EXPECT_LE(std::abs(mstd::getWallClockSeconds() - now), 1);
}

TEST(SystemClock, signalledWaitEndsBeforeItsDeadline) {
    mstd::CSystemClock clock;
    std::mutex mutex;
    std::condition_variable condition;
    std::atomic<bool> signalled = false;
    std::thread signaller([&] {
        std::this_thread::sleep_for(10ms);
        {
            std::lock_guard lock(mutex);
            signalled = true;
        }
        condition.notify_all();
    });
    const auto before = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex);
    EXPECT_TRUE(clock.waitUntil(lock, condition, clock.steadyMS() + 5000, [&] { return signalled.load(); }));
    lock.unlock();
    signaller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 4s);
}

}  // namespace
