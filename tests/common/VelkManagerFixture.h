#pragma once

// A fresh device manager per test, on the in-process MIDI service with a scripted amplifier,
// under a clock the test advances.

#include "ScriptedAmp.h"
#include "VelkTestSupport.h"

#include "common/ManualClock.h"
#include "common/VelkManager.h"
#include "midi/VirtualMidiHub.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

class ManagerTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Hands one message to the receive path on this thread, in a buffer of exactly its size so
    // that a read past its end is caught; returns what it logged.
    std::string receive(const Bytes& message);
    // Runs `work` on a helper thread and moves the clock on in 10 ms steps whenever that thread
    // waits on it while the amplifier has nothing left to answer; returns once `work` is done.
    void runAdvancingClock(const std::function<void()>& work);
    // One pass of the utility thread, its pauses and time-outs played out on the clock.
    void runPassWithPauses();
    // Opens the ports and lets the amplifier's first heartbeat reply connect.
    void connect(uint8_t model);
    FIRCOE playBuffer(int amp);
    FIRCOE firSlot(int slot);

    mstd::CManualClock clock;
    midi::VirtualMidiHub hub;
    velktest::ScriptedAmp amp{hub, "VelkSolvo/Amp"};
    velktest::EventRecorder events;
    CVelkManager* manager = nullptr;
};
