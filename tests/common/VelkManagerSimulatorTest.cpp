// The device manager's requests against the simulated head, checked on the head itself: what the
// editor sends must end up, byte for byte, in the amplifier's state.

#include "VelkTestSupport.h"

#include "common/MIDIManager.h"
#include "common/ManualClock.h"
#include "common/VelkManager.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualDevicePorts.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace velktest;
using velk::sim::AmpSimulator;
using velk::sim::AmpState;
using velk::sim::HeadModel;
using velk::sim::Request;

class SimulatedHead : public testing::Test {
protected:
    void SetUp() override { mstd::setProcessClock(&clock); }
    void TearDown() override {
        CVelkManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
        mstd::setProcessClock(nullptr);
    }

    // Plugs the head in and plays the main window's part: open, version, full read.
    void connect(HeadModel model) {
        head = std::make_unique<AmpSimulator>(std::make_unique<velk::sim::VirtualDevicePorts>(hub),
                                              AmpSimulator::Options{model, 110, {}});
        ASSERT_EQ(head->plug(), 0);
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        manager = CVelkManager::instance();
        manager->addListenerCallback(EventRecorder::callback, &events);
        manager->start();
        manager->sendRequest(eVelkRequest_Open, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_Connected));
        manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
        manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived));
    }

    // Moves the clock 10 ms at a time until `count` events of `id` have been raised, or until
    // 20 s of clock time have passed.
    bool driveUntil(EVelkEventID id, size_t count = 1) {
        for (int step = 0; step < 2000 && !events.waitFor(id, count, 1ms); ++step)
            clock.advance(10);
        return events.waitFor(id, count, 1ms);
    }

    FIRCOE mirrored(int amp) {
        FIRCOE record{};
        manager->getPlayBuffer(amp, record);
        return record;
    }

    mstd::CManualClock clock;
    midi::VirtualMidiHub hub;
    std::unique_ptr<AmpSimulator> head;
    CVelkManager* manager = nullptr;
    EventRecorder events;
};

TEST_F(SimulatedHead, effectSettingsGainAndBypassLandInTheHead) {
    connect(HeadModel::Dual);
    const FIRCOE ampI = head->playBuffer(0);
    manager->sendRequest(eVelkRequest_BoosterType, 1, 2);
    manager->sendRequest(eVelkRequest_FxLoop, 0, 1);
    manager->sendRequest(eVelkRequest_ReverbType, 1, 3);
    manager->sendRequest(eVelkRequest_NoiseGate, 0, 2);
    manager->sendRequest(eVelkRequest_SendConnection, 3, 0);
    manager->sendRequest(eVelkRequest_ReturnConnection, 1, 0);
    manager->sendRequest(eVelkRequest_FIRGain, 1, CVelkManager::shortGain(-6.0));
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);  // its answer marks the others done
    ASSERT_TRUE(driveUntil(eVelkEvent_MainVersion, 2));
    const auto block = head->state().effectBlock;
    EXPECT_EQ((std::array{block[9], block[2], block[11], block[4], block[5], block[6]}),
              (std::array<uint8_t, 6>{2, 1, 3, 2, 3, 1}));
    EXPECT_EQ(head->playBuffer(1).gain, 8211);
    EXPECT_EQ(mirrored(1).gain, 8211);

    manager->sendRequest(eVelkRequest_Bypass, 1, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_BypassSent));
    EXPECT_TRUE(head->state().isBypassed(1));
    EXPECT_EQ(recordBytes(head->playBuffer(1)), recordBytes(mirrored(1)));
    EXPECT_EQ(recordBytes(head->playBuffer(0)), recordBytes(ampI)) << "Amp I is untouched";
}

// The speaker panel's rename (play the stored IR again, change its name, write it back), then a
// reset of all impulse responses, read back in full.
TEST_F(SimulatedHead, renameStoresTheNewNameInTheCurrentSlotAndAResetIsReadBack) {
    connect(HeadModel::Dual);
    const int slot = head->state().currentSlot(1);
    char name[64] = "Renamed cab";
    // Posting waits while a pass runs, and the name's pauses need the clock this thread drives.
    Background posting([&] {
        manager->sendRequest(eVelkRequest_ChangeFIR, 1, 0);
        manager->setSpeakerTabIrName(name);
        manager->sendRequest(eVelkRequest_FIRName, 1, 0);
        manager->sendRequest(eVelkRequest_FIRDataWrite, 1, 0);
    });
    ASSERT_TRUE(driveUntil(eVelkEvent_FIRWriteDone));
    ASSERT_TRUE(posting.finished());
    EXPECT_STREQ(head->firSlot(slot).name, "Renamed cab");
    EXPECT_EQ(recordBytes(head->firSlot(slot)), recordBytes(head->playBuffer(1)));
    EXPECT_STREQ(mirrored(1).name, "Renamed cab");

    manager->sendRequest(eVelkRequest_InitFIRData, 0, 0);
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 2));
    EXPECT_EQ(events.count(eVelkEvent_FIRDataInitialized), 2u);
    const AmpState state = head->state();
    EXPECT_STREQ(mirrored(1).name, state.firSlots[state.currentSlot(1)].name);
    EXPECT_STRNE(mirrored(1).name, "Renamed cab");
}

// An amp type change that arrives between the end of a stream and its flash write: the write
// bound to the old amp type never reaches the head, and one bound to the new type does.
TEST_F(SimulatedHead, aFlashWriteBoundToAnAmpTypeIsSentOnlyWhileTheAmpHasIt) {
    connect(HeadModel::Dual);
    const int before = manager->getAmpType(1);
    const int after = (before + 1) % 5;
    ASSERT_TRUE(head->changeAmpType(1, after));
    ASSERT_TRUE(driveUntil(eVelkEvent_AmpTypeChanged));
    manager->sendRequest(eVelkRequest_FIRDataWriteOfAmpType, 1, before);
    ASSERT_TRUE(driveUntil(eVelkEvent_FIRWriteFailed));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 0);
    manager->sendRequest(eVelkRequest_FIRDataWriteOfAmpType, 1, after);
    ASSERT_TRUE(driveUntil(eVelkEvent_FIRWriteDone));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 1);
}

// A preview lands byte for byte. Then the head is swapped for the other model: the editor drops
// the connection, takes the new model at once, and after the silence limit searches, reopens and
// can read the new head in full.
TEST_F(SimulatedHead, previewLandsAndAModelSwitchEndsInAFullReadOfTheNewModel) {
    connect(HeadModel::Single);
    FIRCOE record = recordWithPattern("Open back 1x12", 4115, 21);
    manager->setSpeakerTabFIRCOE(record);
    manager->sendRequest(eVelkRequest_FIRCOE, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_FIRCOESent));
    EXPECT_EQ(recordBytes(head->playBuffer(0)), recordBytes(record));

    head->switchModel(HeadModel::Dual);
    ASSERT_TRUE(driveUntil(eVelkEvent_Disconnected));
    EXPECT_TRUE(manager->disconnectedByModelChange());
    ASSERT_TRUE(driveUntil(eVelkEvent_NotConnected, 2));
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Connected, 2));
    EXPECT_EQ(events.events().back(), (SEvent{eVelkEvent_Connected, 2}));
    head->clearReceived();
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 2));
    EXPECT_EQ(head->receivedCount(Request::Dump), 11);
    EXPECT_EQ(manager->getModel(), 0x32);
}

// Unplugged after taking packet 4 and before answering it: the wait runs out, the editor drops
// the connection, and once the head is back a full read makes the mirror true again.
TEST_F(SimulatedHead, unpluggingMidTransferTimesOutAndIsRepairedByTheNextConnection) {
    connect(HeadModel::Dual);
    head->editWireFaults(
        [](velk::sim::WireFaults& faults) { faults.unplugOn(Request::CoefficientPacket, 5); });
    manager->setSpeakerTabFIRCOE(recordWithPattern("Half sent", 4115, 3));
    manager->sendRequest(eVelkRequest_FIRCOE, 1, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Disconnected));
    const auto raised = events.events();
    EXPECT_EQ(raised[raised.size() - 2], (SEvent{eVelkEvent_Error, 1004}));
    EXPECT_EQ(events.count(eVelkEvent_FIRCOESent), 0u);
    EXPECT_EQ(head->receivedCount(Request::CoefficientPacket), 5);

    ASSERT_EQ(head->plug(), 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_NotConnected, 1));
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Connected, 2));
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 2));
    const AmpState state = head->state();
    EXPECT_STREQ(mirrored(1).name, state.firSlots[state.currentSlot(1)].name);
}

}  // namespace
