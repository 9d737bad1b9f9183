// The device manager against the simulated head, both on the in-process MIDI hub, driven the way
// the main window drives it, on a clock that only moves when a test drives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/ErrorCodes.h"
#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "midi/MessageRecorder.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/EditorMessages.h"
#include "sim/VirtualDevicePorts.h"
#include "support/ManualClock.h"

namespace velk::sim {
namespace {

using namespace std::chrono_literals;
constexpr uint16_t kVersion = 110;

using Heard = std::pair<EVelkEventID, int32_t>;

// Connected to a head of `model`, with every setting of its own, as the main window connects.
class EditorConnection : public testing::Test {
protected:
    void SetUp() override {
        mstd::setProcessClock(&clock);
        head = std::make_unique<AmpSimulator>(std::make_unique<VirtualDevicePorts>(hub),
                                              AmpSimulator::Options{model, kVersion, {}});
        head->editState(test::personalise);
        ASSERT_EQ(head->plug(), 0);
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        CVelkManager::initialize();
        manager = CVelkManager::instance();
        manager->addListenerCallback(
            [](EVelkEventID event, int32_t data, void* log) {
                static_cast<midi::test::Recorder<Heard>*>(log)->record({event, data});
            },
            &events);
        manager->start();
        manager->sendRequest(eVelkRequest_Open, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_Connected, amps()));  // the model is the number of amps
        manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_MainVersion, kVersion));
        manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 0));
    }

    void TearDown() override {
        CVelkManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
        mstd::setProcessClock(nullptr);
    }

    int amps() const { return ampCount(model); }

    // Waits in real time until `event` has been heard `count` times with `data`.
    bool heard(EVelkEventID event, int32_t data, int count = 1, std::chrono::milliseconds timeout = 10s) {
        return events.waitUntil(
            [&](const std::vector<Heard>& all) {
                return std::count(all.begin(), all.end(), Heard{event, data}) >= count;
            },
            timeout);
    }

    // Moves the clock 10 ms at a time until `event` has been heard `count` times with `data`, for
    // at most `limitMS` of clock time.
    bool driveUntil(EVelkEventID event, int32_t data, int count = 1, uint64_t limitMS = 20'000) {
        for (uint64_t driven = 0; driven < limitMS; driven += 10) {
            if (heard(event, data, count, 1ms))
                return true;
            clock.advance(10);
        }
        return heard(event, data, count, 1ms);
    }

    FIRCOE mirrored(int amp) {
        FIRCOE record{};
        manager->getPlayBuffer(amp, record);
        return record;
    }

    HeadModel model = HeadModel::Dual;
    mstd::CManualClock clock;  // stands still unless a test drives it
    midi::VirtualMidiHub hub;
    std::unique_ptr<AmpSimulator> head;
    CVelkManager* manager = nullptr;
    midi::test::Recorder<Heard> events;
};

class EditorConnectionTest : public EditorConnection, public testing::WithParamInterface<HeadModel> {
protected:
    void SetUp() override {
        model = GetParam();
        EditorConnection::SetUp();
    }
};

// Every slot's header was read: turning the amp type knob on the head makes the editor play the
// header it read for that slot.
TEST_P(EditorConnectionTest, followsAmpTypeKnobWithTheHeadersItRead) {
    for (int amp = 0; amp < amps(); ++amp) {
        for (int type = 0; type < AmpState::kAmpTypes; ++type) {
            SCOPED_TRACE(testing::Message() << "amp " << amp << " type " << type);
            ASSERT_TRUE(head->changeAmpType(amp, type));
            ASSERT_TRUE(heard(eVelkEvent_AmpTypeChanged, amp, type + 1));
            EXPECT_EQ(manager->getAmpType(amp), type);
            const FIRCOE slot = head->firSlot(AmpState::slotOf(amp, type));
            EXPECT_STREQ(mirrored(amp).name, slot.name);
            EXPECT_EQ(mirrored(amp).gain, slot.gain);
        }
    }
}

// --- The head's faults as the editor meets them ---

TEST_P(EditorConnectionTest, readsThroughFiveCorruptDumpsButGivesUpAfterSixAndStaysConnected) {
    head->editAmpFaults([](AmpFaults& f) { f.corruptDumps = 5; });
    head->clearReceived();
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 0, 2));
    EXPECT_EQ(head->receivedCount(Request::Dump), 5 * amps() + 6);  // the first dump, UTIL, five times again
    EXPECT_EQ(manager->getAmpType(0), head->state().ampType(0));

    head->clearReceived();
    head->editAmpFaults([](AmpFaults& f) { f.corruptDumps = 6; });
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Error, mstd::eErr_ReceiveData));
    EXPECT_EQ(head->receivedCount(Request::Dump), 6);
    EXPECT_TRUE(manager->isConnected());
    EXPECT_FALSE(heard(eVelkEvent_AllDataReceived, 0, 3, 0ms));
}

// A refused packet is announced and the stream goes on, so the amp plays the rest of the record; a
// failed flash write stores nothing, and the next one stores what the amp plays.
TEST_P(EditorConnectionTest, aRefusedPacketAndAFailedFlashWriteAreAnnouncedAndTheStreamAndWritesGoOn) {
    const int amp = amps() - 1;
    const int slot = head->state().currentSlot(amp);
    const FIRCOE before = head->playBuffer(amp), stored = head->firSlot(slot);
    head->editAmpFaults([](AmpFaults& f) {
        f.rejectedPackets.set(4);
        f.failingFlashWrites = 1;
    });
    const FIRCOE record = test::sampleRecord("Rejected in part", 5181);
    manager->setSpeakerTabFIRCOE(record);
    manager->sendRequest(eVelkRequest_FIRCOE, amp, 0);
    ASSERT_TRUE(heard(eVelkEvent_FIRCOESent, amp));
    EXPECT_TRUE(heard(eVelkEvent_FIRPacketRejected, amp));
    // Each acknowledgement ends the editor's wait before it is announced, so the last may follow
    // the end of the stream.
    EXPECT_TRUE(heard(eVelkEvent_FIRPacketAccepted, amp, 9));
    FIRCOE expected = record;
    std::memcpy(reinterpret_cast<uint8_t*>(&expected) + 4 * 448,
                reinterpret_cast<const uint8_t*>(&before) + 4 * 448, 448);
    EXPECT_TRUE(sameRecord(head->playBuffer(amp), expected));

    manager->sendRequest(eVelkRequest_FIRDataWrite, amp, 0);
    ASSERT_TRUE(heard(eVelkEvent_FIRWriteFailed, amp));
    EXPECT_TRUE(sameRecord(head->firSlot(slot), stored));
    manager->sendRequest(eVelkRequest_FIRDataWrite, amp, 0);
    ASSERT_TRUE(heard(eVelkEvent_FIRWriteDone, amp));
    EXPECT_TRUE(sameRecord(head->firSlot(slot), expected));
}

// The head is swapped for the other model: the editor drops the connection, takes the new model
// at once, and after the silence limit searches, reopens and can read the new head in full.
TEST_P(EditorConnectionTest, aModelSwitchEndsInAFullReadOfTheNewModel) {
    const HeadModel other = model == HeadModel::Single ? HeadModel::Dual : HeadModel::Single;
    head->switchModel(other);
    ASSERT_TRUE(driveUntil(eVelkEvent_Disconnected, 0));
    EXPECT_TRUE(manager->disconnectedByModelChange());
    ASSERT_TRUE(driveUntil(eVelkEvent_NotConnected, 0, 2));
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Connected, ampCount(other)));
    EXPECT_EQ(events.messages().back(), std::pair(eVelkEvent_Connected, ampCount(other)));
    head->clearReceived();
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 0, 2));
    EXPECT_EQ(head->receivedCount(Request::Dump), other == HeadModel::Dual ? 11 : 6);
    EXPECT_EQ(manager->getModel(), static_cast<uint8_t>(other));
}

std::string headName(const testing::TestParamInfo<HeadModel>& info) {
    return info.param == HeadModel::Single ? "Single" : "Dual";
}
INSTANTIATE_TEST_SUITE_P(BothHeads, EditorConnectionTest, testing::Values(HeadModel::Single, HeadModel::Dual),
                         headName);

using DualHeadConnection = EditorConnection;

// An amp type change that arrives between the end of a stream and its flash write: the write
// bound to the old amp type never reaches the head, and one bound to the new type does.
TEST_F(DualHeadConnection, aFlashWriteBoundToAnAmpTypeIsSentOnlyWhileTheAmpHasIt) {
    const int before = manager->getAmpType(1);
    const int after = (before + 1) % 5;
    ASSERT_TRUE(head->changeAmpType(1, after));
    ASSERT_TRUE(driveUntil(eVelkEvent_AmpTypeChanged, 1));
    manager->sendRequest(eVelkRequest_FIRDataWriteOfAmpType, 1, before);
    ASSERT_TRUE(driveUntil(eVelkEvent_FIRWriteFailed, 1));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 0);
    manager->sendRequest(eVelkRequest_FIRDataWriteOfAmpType, 1, after);
    ASSERT_TRUE(driveUntil(eVelkEvent_FIRWriteDone, 1));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 1);
}

// Unplugged after taking packet 4 and before answering it: the wait runs out, the editor drops
// the connection, and once the head is back a full read makes the mirror true again.
TEST_F(DualHeadConnection, unpluggingMidTransferTimesOutAndIsRepairedByTheNextConnection) {
    head->editWireFaults([](WireFaults& faults) { faults.unplugOn(Request::CoefficientPacket, 5); });
    manager->setSpeakerTabFIRCOE(test::sampleRecord("Half sent", 4115));
    manager->sendRequest(eVelkRequest_FIRCOE, 1, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Disconnected, 0));
    const auto raised = events.messages();
    EXPECT_EQ(raised[raised.size() - 2], std::pair(eVelkEvent_Error, int32_t{mstd::eErr_Timeout}));
    EXPECT_FALSE(heard(eVelkEvent_FIRCOESent, 1, 1, 0ms));
    EXPECT_EQ(head->receivedCount(Request::CoefficientPacket), 5);

    ASSERT_EQ(head->plug(), 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_NotConnected, 0));
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Connected, 2, 2));
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 0, 2));
    const AmpState state = head->state();
    EXPECT_STREQ(mirrored(1).name, state.firSlots[state.currentSlot(1)].name);
}

}  // namespace
}  // namespace velk::sim
