// The device manager against the simulated head, both on the in-process MIDI hub, driven the way
// the main window drives it, on a clock that only moves when a test drives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/ErrorCodes.h"
#include "common/MIDIManager.h"
#include "common/SysexCodec.h"
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

// What the listeners heard, for the test to wait on.
class EventLog : public midi::test::Recorder<Heard> {
public:
    static void callback(EVelkEventID event, int32_t data, void* self) {
        static_cast<EventLog*>(self)->record({event, data});
    }

    // Waits until `event` has been heard `count` times with `data`.
    bool heard(EVelkEventID event, int32_t data, int count = 1,
               std::chrono::milliseconds timeout = 10s) const {
        return waitUntil(
            [&](const std::vector<Heard>& all) {
                return countOf(all, {event, data}) >= count;
            },
            timeout);
    }
    int count(EVelkEventID event, int32_t data) const { return countOf(messages(), {event, data}); }

private:
    static int countOf(const std::vector<Heard>& all, const Heard& one) {
        return static_cast<int>(std::count(all.begin(), all.end(), one));
    }
};

// Every setting away from its default, and every slot with a name and gain of its own.
void personalise(AmpState& state) {
    state.effectBlock = {2, 1, 1, 3, 2, 4, 5, 0, 3, 2, 0, 1, 3, 0, 0, 0};
    for (int slot = 0; slot < AmpState::kSlots; ++slot)
        state.firSlots[slot] =
            test::sampleRecord(("Cabinet " + std::to_string(slot)).c_str(), 1000 + 1111 * slot);
}

class EditorConnection : public testing::Test {
protected:
    void start(HeadModel headModel) {
        model = headModel;
        mstd::setProcessClock(&clock);
        head = std::make_unique<AmpSimulator>(std::make_unique<VirtualDevicePorts>(hub),
                                              AmpSimulator::Options{model, kVersion, {}});
        head->editState(personalise);
        ASSERT_EQ(head->plug(), 0);
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        CVelkManager::initialize();
        manager = CVelkManager::instance();
        manager->addListenerCallback(EventLog::callback, &events);
        manager->start();
    }

    void TearDown() override {
        CVelkManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
        mstd::setProcessClock(nullptr);
    }

    // The main window's part of the connection sequence.
    void connect() {
        manager->sendRequest(eVelkRequest_Open, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_Connected, amps()));  // the model is the number of amps
        manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_MainVersion, kVersion));
        manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
        ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 0));
    }

    int amps() const { return ampCount(model); }

    std::vector<int> dumpsRequested() const {
        std::vector<int> indexes;
        for (const ReceivedMessage& message : head->received())
            if (message.request == Request::Dump)
                indexes.push_back(velk::sysex::dumpIndex(message.bytes.data() + 8));
        return indexes;
    }

    void expectPlayBufferHeaderOfSlot(int amp, int slot) {
        SCOPED_TRACE(testing::Message() << "amp " << amp << " slot " << slot);
        FIRCOE mirrored{};
        ASSERT_TRUE(manager->getPlayBuffer(amp, mirrored));
        EXPECT_STREQ(mirrored.name, head->firSlot(slot).name);
        EXPECT_EQ(mirrored.gain, head->firSlot(slot).gain);
    }

    // Streams `record` to an amp's play buffer, as a preview does.
    void preview(const FIRCOE& record, int amp) {
        manager->setSpeakerTabFIRCOE(record);
        manager->sendRequest(eVelkRequest_FIRCOE, amp, 0);
        ASSERT_TRUE(events.heard(eVelkEvent_FIRCOESent, amp));
    }

    // Moves the clock 10 ms at a time until `event` has been heard `count` times with `data`, for
    // at most `limitMS` of clock time.
    bool driveUntil(EVelkEventID event, int32_t data, int count = 1, uint64_t limitMS = 20'000) {
        for (uint64_t driven = 0; driven < limitMS; driven += 10) {
            if (events.heard(event, data, count, 1ms))
                return true;
            clock.advance(10);
        }
        return events.heard(event, data, count, 1ms);
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
    EventLog events;
};

class EditorConnectionTest : public EditorConnection, public testing::WithParamInterface<HeadModel> {
protected:
    void SetUp() override { start(GetParam()); }
};

class DualHeadConnection : public EditorConnection {
protected:
    void SetUp() override {
        start(HeadModel::Dual);
        connect();
    }
};

TEST_P(EditorConnectionTest, connectsAndReadsTheWholeHead) {
    connect();
    EXPECT_EQ(manager->getModel(), static_cast<uint8_t>(GetParam()));
    EXPECT_TRUE(manager->isConnected());
    EXPECT_EQ(manager->getMainVer(), kVersion);
    std::vector<int> expectedDumps = {10, 0, 1, 2, 3, 4};
    if (GetParam() == HeadModel::Dual)
        expectedDumps.insert(expectedDumps.end(), {5, 6, 7, 8, 9});
    EXPECT_EQ(dumpsRequested(), expectedDumps);

    const AmpState state = head->state();
    for (int amp = 0; amp < amps(); ++amp) {
        EffectData effect{};
        ASSERT_TRUE(manager->getEffectData(amp, effect));
        const uint8_t* block = state.effectBlock.data() + 8 * amp;
        EXPECT_EQ(manager->getAmpType(amp), block[0]);
        EXPECT_EQ(std::vector({effect.boosterType, effect.fxLoop, effect.reverbType, effect.noiseGate}),
                  std::vector<int32_t>(block + 1, block + 5));
        expectPlayBufferHeaderOfSlot(amp, state.currentSlot(amp));
    }
    FxLoopConnection connection{};
    ASSERT_TRUE(manager->getFxLoopConnection(connection));
    EXPECT_EQ(connection.sendConnection, state.effectBlock[5]);
    EXPECT_EQ(connection.returnConnection, state.effectBlock[6]);
}

// Every slot's header was read: turning the amp type knob on the head makes the editor play the
// header it read for that slot.
TEST_P(EditorConnectionTest, followsAmpTypeKnobWithTheHeadersItRead) {
    connect();
    for (int amp = 0; amp < amps(); ++amp) {
        for (int type = 0; type < AmpState::kAmpTypes; ++type) {
            ASSERT_TRUE(head->changeAmpType(amp, type));
            ASSERT_TRUE(events.heard(eVelkEvent_AmpTypeChanged, amp, type + 1));
            EXPECT_EQ(manager->getAmpType(amp), type);
            expectPlayBufferHeaderOfSlot(amp, AmpState::slotOf(amp, type));
        }
    }
}

TEST_P(EditorConnectionTest, previewLandsOnTheHeadAndInstallStoresIt) {
    connect();
    const int amp = amps() - 1;
    const FIRCOE record = test::sampleRecord("My 2x12", 8211);
    preview(record, amp);
    EXPECT_TRUE(sameRecord(head->playBuffer(amp), record));
    // Each acknowledgement ends the editor's wait before it is announced, so the last may follow
    // the end of the stream.
    EXPECT_TRUE(events.heard(eVelkEvent_FIRPacketAccepted, amp, 10));

    manager->sendRequest(eVelkRequest_FIRDataWrite, amp, 0);
    ASSERT_TRUE(events.heard(eVelkEvent_FIRWriteDone, amp));
    EXPECT_TRUE(sameRecord(head->firSlot(head->state().currentSlot(amp)), record));
}

// --- The head's faults as the editor meets them ---

TEST_P(EditorConnectionTest, readsThroughFiveCorruptDumpsButGivesUpAfterSixAndStaysConnected) {
    head->editAmpFaults([](AmpFaults& f) { f.corruptDumps = 5; });
    connect();
    std::vector<int> dumps = dumpsRequested();
    EXPECT_EQ(std::count(dumps.begin(), dumps.end(), 10), 6);
    EXPECT_EQ(manager->getAmpType(0), head->state().ampType(0));

    head->clearReceived();
    head->editAmpFaults([](AmpFaults& f) { f.corruptDumps = 6; });
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Error, mstd::eErr_ReceiveData));
    EXPECT_EQ(dumpsRequested(), std::vector<int>(6, 10));
    EXPECT_TRUE(manager->isConnected());
    EXPECT_FALSE(events.heard(eVelkEvent_AllDataReceived, 0, 2, 0ms));
}

TEST_P(EditorConnectionTest, rejectedPacketIsAnnouncedAndTheStreamGoesOn) {
    connect();
    head->editAmpFaults([](AmpFaults& f) { f.rejectedPackets.set(4); });
    const FIRCOE before = head->playBuffer(0);
    const FIRCOE record = test::sampleRecord("Rejected in part", 5181);
    preview(record, 0);
    EXPECT_TRUE(events.heard(eVelkEvent_FIRPacketRejected, 0));
    EXPECT_TRUE(events.heard(eVelkEvent_FIRPacketAccepted, 0, 9));

    FIRCOE expected = record;
    std::memcpy(reinterpret_cast<uint8_t*>(&expected) + 4 * 448,
                reinterpret_cast<const uint8_t*>(&before) + 4 * 448, 448);
    EXPECT_TRUE(sameRecord(head->playBuffer(0), expected));
}

TEST_P(EditorConnectionTest, failedFlashWriteIsAnnouncedAndNothingIsStored) {
    connect();
    head->editAmpFaults([](AmpFaults& f) { f.failingFlashWrites = 1; });
    const int slot = head->state().currentSlot(0);
    const FIRCOE stored = head->firSlot(slot);
    manager->sendRequest(eVelkRequest_FIRDataWrite, 0, 0);
    ASSERT_TRUE(events.heard(eVelkEvent_FIRWriteFailed, 0));
    EXPECT_TRUE(sameRecord(head->firSlot(slot), stored));
}

TEST_P(EditorConnectionTest, requestToSilentHeadTimesOutAndDropsTheConnection) {
    connect();
    head->setSilent(true);
    const uint64_t asked = clock.steadyMS();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_Error, mstd::eErr_Timeout));
    EXPECT_GE(clock.steadyMS() - asked, 5000u);
    EXPECT_TRUE(events.heard(eVelkEvent_Disconnected, 0));
    EXPECT_FALSE(manager->isConnected());
}

TEST_P(EditorConnectionTest, headThatFallsSilentIsDroppedAfterSixSeconds) {
    connect();
    head->setSilent(true);
    const uint64_t silentFrom = clock.steadyMS();
    ASSERT_TRUE(driveUntil(eVelkEvent_Disconnected, 0));
    EXPECT_GE(clock.steadyMS() - silentFrom, 5500u);  // the last reply may have come up to 500 ms earlier
    EXPECT_LE(clock.steadyMS() - silentFrom, 9100u);
    EXPECT_GT(head->receivedCount(Request::Ignored), 0);

    head->setSilent(false);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    EXPECT_TRUE(driveUntil(eVelkEvent_Connected, amps(), 2, 5000));
}

// A preview lands byte for byte. Then the head is swapped for the other model: the editor drops
// the connection, takes the new model at once, and after the silence limit searches, reopens and
// can read the new head in full.
TEST_P(EditorConnectionTest, previewLandsAndAModelSwitchEndsInAFullReadOfTheNewModel) {
    connect();
    const FIRCOE record = test::sampleRecord("Open back 1x12", 4115);
    preview(record, 0);
    EXPECT_TRUE(sameRecord(head->playBuffer(0), record));

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

// ---- What the editor sends ends up, byte for byte, in the head's state

TEST_F(DualHeadConnection, effectSettingsGainAndBypassLandInTheHead) {
    const FIRCOE ampI = head->playBuffer(0);
    manager->sendRequest(eVelkRequest_BoosterType, 1, 1);
    manager->sendRequest(eVelkRequest_FxLoop, 0, 0);
    manager->sendRequest(eVelkRequest_ReverbType, 1, 3);
    manager->sendRequest(eVelkRequest_NoiseGate, 0, 1);
    manager->sendRequest(eVelkRequest_SendConnection, 3, 0);
    manager->sendRequest(eVelkRequest_ReturnConnection, 1, 0);
    manager->sendRequest(eVelkRequest_FIRGain, 1, CVelkManager::shortGain(-6.0));
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);  // its answer marks the others done
    ASSERT_TRUE(driveUntil(eVelkEvent_MainVersion, kVersion, 2));
    const auto block = head->state().effectBlock;
    EXPECT_EQ((std::array{block[9], block[2], block[11], block[4], block[5], block[6]}),
              (std::array<uint8_t, 6>{1, 0, 3, 1, 3, 1}));
    EXPECT_EQ(head->playBuffer(1).gain, 8211);
    EXPECT_EQ(mirrored(1).gain, 8211);

    manager->sendRequest(eVelkRequest_Bypass, 1, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_BypassSent, 1));
    EXPECT_TRUE(head->state().isBypassed(1));
    EXPECT_TRUE(sameRecord(head->playBuffer(1), mirrored(1)));
    EXPECT_TRUE(sameRecord(head->playBuffer(0), ampI)) << "Amp I is untouched";
}

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

// The speaker panel's rename (play the stored IR again, change its name, write it back), then a
// reset of all impulse responses, read back in full.
TEST_F(DualHeadConnection, renameStoresTheNewNameInTheCurrentSlotAndAResetIsReadBack) {
    const int slot = head->state().currentSlot(1);
    char name[64] = "Renamed cab";
    // Posting waits while a pass runs, and the name's pauses need the clock this thread drives.
    std::thread posting([&] {
        manager->sendRequest(eVelkRequest_ChangeFIR, 1, 0);
        manager->setSpeakerTabIrName(name);
        manager->sendRequest(eVelkRequest_FIRName, 1, 0);
        manager->sendRequest(eVelkRequest_FIRDataWrite, 1, 0);
    });
    const bool written = driveUntil(eVelkEvent_FIRWriteDone, 1);
    posting.join();
    ASSERT_TRUE(written);
    EXPECT_STREQ(head->firSlot(slot).name, "Renamed cab");
    EXPECT_TRUE(sameRecord(head->firSlot(slot), head->playBuffer(1)));
    EXPECT_STREQ(mirrored(1).name, "Renamed cab");

    manager->sendRequest(eVelkRequest_InitFIRData, 0, 0);
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(driveUntil(eVelkEvent_AllDataReceived, 0, 2));
    const auto heard = events.messages();  // by the reply and again by the request
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(),
                            [](const Heard& event) { return event.first == eVelkEvent_FIRDataInitialized; }),
              2);
    const AmpState state = head->state();
    EXPECT_STREQ(mirrored(1).name, state.firSlots[state.currentSlot(1)].name);
    EXPECT_STRNE(mirrored(1).name, "Renamed cab");
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
    EXPECT_EQ(events.count(eVelkEvent_FIRCOESent, 1), 0);
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
