// The device manager against the simulated head, both on the in-process MIDI hub, driven the way
// the main window drives it, on a clock that only moves when a test drives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/ErrorCodes.h"
#include "common/MIDIManager.h"
#include "common/ManualClock.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/EditorMessages.h"
#include "sim/VirtualDevicePorts.h"

namespace velk::sim {
namespace {

using namespace std::chrono_literals;
constexpr uint16_t kVersion = 110;

// What the listeners heard, for the test to wait on.
class EventLog {
public:
    static void callback(EVelkEventID event, int32_t data, void* self) {
        EventLog& log = *static_cast<EventLog*>(self);
        std::lock_guard lock(log.m_Mutex);
        log.m_Events.emplace_back(event, data);
        log.m_Changed.notify_all();
    }

    // Waits until `event` has been heard `count` times with `data`.
    bool heard(EVelkEventID event, int32_t data, int count = 1, std::chrono::milliseconds timeout = 10s) {
        std::unique_lock lock(m_Mutex);
        return m_Changed.wait_for(lock, timeout, [&] {
            return std::count(m_Events.begin(), m_Events.end(), std::pair{event, data}) >= count;
        });
    }

private:
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::vector<std::pair<EVelkEventID, int32_t>> m_Events;
};

// Every setting away from its default, and every slot with a name and gain of its own.
void personalise(AmpState& state) {
    state.effectBlock = {2, 1, 1, 3, 2, 4, 5, 0, 3, 2, 0, 1, 3, 0, 0, 0};
    for (int slot = 0; slot < AmpState::kSlots; ++slot)
        state.firSlots[slot] =
            test::sampleRecord(("Cabinet " + std::to_string(slot)).c_str(), 1000 + 1111 * slot);
}

class EditorConnectionTest : public testing::TestWithParam<HeadModel> {
protected:
    void SetUp() override {
        mstd::setProcessClock(&clock);
        head = std::make_unique<AmpSimulator>(std::make_unique<VirtualDevicePorts>(hub),
                                              AmpSimulator::Options{GetParam(), kVersion, {}});
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

    int amps() const { return ampCount(GetParam()); }

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

    mstd::CManualClock clock;  // stands still unless a test drives it
    midi::VirtualMidiHub hub;
    std::unique_ptr<AmpSimulator> head;
    CVelkManager* manager = nullptr;
    EventLog events;
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

std::string headName(const testing::TestParamInfo<HeadModel>& info) {
    return info.param == HeadModel::Single ? "Single" : "Dual";
}
INSTANTIATE_TEST_SUITE_P(BothHeads, EditorConnectionTest, testing::Values(HeadModel::Single, HeadModel::Dual),
                         headName);
}  // namespace
}  // namespace velk::sim
