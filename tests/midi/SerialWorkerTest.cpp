#include "midi/SerialWorker.h"

#include "midi/MessageRecorder.h"

#include <gtest/gtest.h>

#include <atomic>

// Order and threads: the hub's suite, whose every device and input runs on a worker.
namespace {

using namespace std::chrono_literals;

TEST(SerialWorker, stopWaitsForTheRunningTaskAndDropsTheRest) {
    midi::SerialWorker worker;
    std::atomic<bool> started = false;
    std::atomic<bool> finished = false;
    std::atomic<int> laterRuns = 0;
    worker.post([&] {
        started = true;
        std::this_thread::sleep_for(50ms);
        finished = true;
    });
    worker.post([&] { ++laterRuns; });
    while (!started)
        std::this_thread::yield();
    worker.stop();
    worker.post([&] { ++laterRuns; });
    EXPECT_TRUE(finished);
    EXPECT_EQ(laterRuns, 0);
}

TEST(SerialWorker, canBeStoppedAndDestroyedFromItsOwnTask) {
    auto worker = std::make_unique<midi::SerialWorker>();
    midi::test::Handoff<bool> destroyed;
    worker->post([&] {
        EXPECT_TRUE(worker->onWorkerThread());
        worker.reset();
        destroyed.set(true);
    });
    EXPECT_TRUE(destroyed.wait());
}

}  // namespace
