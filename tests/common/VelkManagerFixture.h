#pragma once

// A fresh device manager per test, on the in-process MIDI service with a scripted amplifier,
// under a clock the test advances.

#include "ScriptedAmp.h"
#include "VelkTestSupport.h"

#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "midi/VirtualMidiHub.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <memory>

class ManagerTest : public testing::Test {
protected:
    void SetUp() override {
        mstd::setProcessClock(&clock);
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        manager = CVelkManager::instance();
        manager->addListenerCallback(velktest::EventRecorder::callback, &events);
    }
    void TearDown() override {
        CVelkManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
        mstd::setProcessClock(nullptr);
    }
    // A fresh manager and a fresh record, for tables whose rows each need one.
    void restart() {
        TearDown();
        events.clear();
        amp.clearReceived();
        SetUp();
    }

    // Hands one message to the receive path on this thread, in a buffer of exactly its size so
    // that a read past its end is caught; returns what it logged.
    std::string receive(const Bytes& message) {
        auto exact = std::make_unique<uint8_t[]>(message.size());
        std::copy(message.begin(), message.end(), exact.get());
        testing::internal::CaptureStderr();
        manager->handleMIDIIn(exact.get(), static_cast<uint32_t>(message.size()));
        return testing::internal::GetCapturedStderr();
    }

    // Runs `work` on a helper thread and moves the clock on in 10 ms steps whenever that thread
    // waits on it while the amplifier has nothing left to answer; returns once `work` is done.
    void runAdvancingClock(const std::function<void()>& work) {
        velktest::Background running(work);
        bool settled = false;
        while (!running.finished(std::chrono::milliseconds(1))) {
            // Only a wait that has lasted a whole poll counts, so a reply on its way is not outrun.
            const bool waiting = clock.waiterCount() > 0 && amp.idle();
            if (waiting && settled)
                clock.advance(10);
            settled = waiting;
        }
    }
    // One pass of the utility thread, its pauses and time-outs played out on the clock.
    void runPassWithPauses() {
        runAdvancingClock([this] { manager->doRequestEvent(); });
    }

    // Opens the ports and lets the amplifier's first heartbeat reply connect.
    void connect(uint8_t model) {
        amp.answerLikeAnAmplifier(model);
        manager->sendRequest(eVelkRequest_Open, 0, 0);
        manager->doRequestEvent();
        ASSERT_TRUE(events.waitFor(eVelkEvent_Opened));
        manager->doRequestEvent();  // the first pass with open ports sends a heartbeat request
        ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
        events.clear();
        amp.clearReceived();
    }

    FIRCOE playBuffer(int amp) {
        FIRCOE record{};
        manager->getPlayBuffer(amp, record);
        return record;
    }
    FIRCOE firSlot(int slot) {
        FIRCOE record{};
        manager->getFirSlot(slot, record);
        return record;
    }

    mstd::CManualClock clock;
    midi::VirtualMidiHub hub;
    velktest::ScriptedAmp amp{hub, "VelkSolvo/Amp"};
    velktest::EventRecorder events;
    CVelkManager* manager = nullptr;
};

// The same with an amplifier of `kModel` already connected.
template <uint8_t kModel>
class ConnectedManagerTest : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        connect(kModel);
    }
};
