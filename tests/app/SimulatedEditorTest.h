#pragma once

// The editor's main window against the built-in simulated amplifier on the in-process MIDI hub,
// with the device manager running as in the editor, on a clock the test moves unless it asks for
// real time.
#include <gtest/gtest.h>
#include <QTest>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "AppTestSupport.h"
#include "app/AppDelegate.h"
#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "app/SimulatedAmplifier.h"
#include "support/ManualClock.h"

namespace velk::test {

class SimulatedEditorTest : public testing::Test {
protected:
    SimulatedEditorTest() {
        QObject::connect(&controller, &AppWindowController::allDataReceived, [this] { ++stateReads; });
    }
    void TearDown() override {
        // Closed as the user closes it: the panels stop posting to the device manager before it ends.
        window.close();
        // A request that a failed test left waiting for its reply ends only as the clock moves.
        whileTheClockRuns(10, [this] { delegate.applicationWillTerminate(); });
        mstd::setProcessClock(nullptr);
        velk::test::clearPreferenceStore();
    }

    // Starts the editor as the program does, against a head of this model and firmware.
    void launch(velk::sim::HeadModel model, bool plugged = true) {
        if (!realTime)
            mstd::setProcessClock(&clock);
        amplifier = std::make_unique<SimulatedAmplifier>(model);
        if (!plugged)
            amplifier->head().unplug();
        controller.awakeFromNib();
        delegate.applicationDidFinishLaunching();
    }
    // Starts the editor against a head of this model and waits until it has read the head whole.
    void launchAndRead(velk::sim::HeadModel model) {
        launch(model);
        ASSERT_TRUE(driveUntilStateRead());
    }

    // Runs `work` while another thread moves the clock `stepMS` per real millisecond.
    void whileTheClockRuns(uint64_t stepMS, const std::function<void()>& work) {
        std::atomic<bool> done = false;
        std::thread ticker([&] {
            for (; !done; std::this_thread::sleep_for(std::chrono::milliseconds(1)))
                clock.advance(stepMS);
        });
        work();
        done = true;
        ticker.join();
    }
    // Turns the GUI thread's event loop, moving the clock 10 ms per real millisecond, until `done`;
    // false when `limitMS` of clock time pass first. In real time the search repeats every 3 s and
    // a reply may take up to 5 s: the limit allows for both, and a busy machine.
    bool driveUntil(const std::function<bool()>& done, uint64_t limitMS = 15'000) {
        if (realTime)
            return QTest::qWaitFor(done, static_cast<int>(limitMS));
        for (uint64_t driven = 0; driven < limitMS; driven += 10) {
            QTest::qWait(1);
            if (done())
                return true;
            clock.advance(10);
        }
        return done();
    }
    bool driveUntilStateRead(int count = 1, uint64_t limitMS = 15'000) {
        return driveUntil([&] { return stateReads >= count; }, limitMS);
    }

    VelkUtilityApp& app = velk::test::editorApplication();
    bool realTime = false;
    mstd::CManualClock clock;
    velk::test::AnsweringPresenter user;
    AppDelegate delegate;
    AppWindow window;
    AppWindowController controller{window};
    std::unique_ptr<SimulatedAmplifier> amplifier;
    int stateReads = 0;
};

}  // namespace velk::test
