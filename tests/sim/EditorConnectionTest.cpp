// The device manager against the simulated head, both on the in-process MIDI hub, driven the way
// the main window drives it: open, heartbeat, firmware version, full read; then a preview and an
// install, checked on the head itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/Clock.h"
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
constexpr auto kPatience = 10s;
constexpr uint16_t kVersion = 110;

// What the listeners heard, for the test to wait on in order.
class EventLog {
public:
    static void callback(EVelkEventID event, int32_t data, void* self) {
        static_cast<EventLog*>(self)->record(event, data);
    }

    // The data of the next `event` after the last one waited for; nothing after `timeout`.
    std::optional<int32_t> next(EVelkEventID event, std::chrono::milliseconds timeout = kPatience) {
        std::unique_lock lock(m_Mutex);
        std::optional<int32_t> data;
        m_Changed.wait_for(lock, timeout, [&] {
            for (; m_Cursor < m_Events.size(); ++m_Cursor) {
                if (m_Events[m_Cursor].first == event) {
                    data = m_Events[m_Cursor++].second;
                    return true;
                }
            }
            return false;
        });
        return data;
    }

    int count(EVelkEventID event) {
        std::lock_guard lock(m_Mutex);
        return static_cast<int>(std::count_if(m_Events.begin(), m_Events.end(),
                                              [event](const auto& e) { return e.first == event; }));
    }

    // Waits until `event` has been heard `count` times with `data`.
    bool waitForCount(EVelkEventID event, int32_t data, int count,
                      std::chrono::milliseconds timeout = kPatience) {
        std::unique_lock lock(m_Mutex);
        return m_Changed.wait_for(lock, timeout, [&] {
            return std::count(m_Events.begin(), m_Events.end(), std::pair{event, data}) >= count;
        });
    }

private:
    void record(EVelkEventID event, int32_t data) {
        std::lock_guard lock(m_Mutex);
        m_Events.emplace_back(event, data);
        m_Changed.notify_all();
    }

    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::vector<std::pair<EVelkEventID, int32_t>> m_Events;
    size_t m_Cursor = 0;
};

}  // namespace

void PrintTo(HeadModel model, std::ostream* os) {
    *os << (model == HeadModel::Single ? "Single" : "Dual");
}

namespace {

// Effect block with every setting away from its default, and a head with a named slot each.
constexpr std::array<uint8_t, 16> kEffectBlock = {2, 1, 1, 3, 2, 4, 5, 0, 3, 2, 0, 1, 3, 0, 0, 0};

void personalise(AmpState& state) {
    state.effectBlock = kEffectBlock;
    if (state.model == HeadModel::Single)
        std::fill(state.effectBlock.begin() + 8, state.effectBlock.end(), 0);
    for (int slot = 0; slot < AmpState::kSlots; ++slot) {
        FIRCOE& record = state.firSlots[slot];
        std::memset(record.name, 0, sizeof record.name);
        std::snprintf(record.name, sizeof record.name, "Cabinet of slot %d", slot);
        record.gain = static_cast<int16_t>(1000 + 1111 * slot);
    }
    for (int amp = 0; amp < 2; ++amp)
        state.playBuffers[amp] = state.firSlots[state.currentSlot(amp)];
}

class EditorConnectionTest : public testing::TestWithParam<HeadModel> {
protected:
    void SetUp() override {
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
    }

    // The main window's part of the connection sequence.
    void connect() {
        manager->sendRequest(eVelkRequest_Open, 0, 0);
        ASSERT_EQ(await(eVelkEvent_Connected), GetParam() == HeadModel::Single ? 1 : 2);
        manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
        ASSERT_EQ(await(eVelkEvent_MainVersion), kVersion);
        manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
        ASSERT_TRUE(await(eVelkEvent_AllDataReceived).has_value());
    }

    // The data of the next `event`, nothing if it does not come.
    virtual std::optional<int32_t> await(EVelkEventID event) { return events.next(event); }

    int amps() const { return ampCount(GetParam()); }

    std::vector<int> dumpsRequested() const {
        std::vector<int> indexes;
        for (const ReceivedMessage& message : head->received())
            if (message.request == Request::Dump)
                indexes.push_back(velk::sysex::dumpIndex(message.bytes.data() + 8));
        return indexes;
    }

    void expectPlayBufferHeaderOfSlot(int amp, int slot) {
        FIRCOE mirrored{};
        ASSERT_TRUE(manager->getPlayBuffer(amp, mirrored));
        const FIRCOE stored = head->firSlot(slot);
        EXPECT_STREQ(mirrored.name, stored.name) << "amp " << amp << " slot " << slot;
        EXPECT_EQ(mirrored.gain, stored.gain) << "amp " << amp << " slot " << slot;
    }

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
        EXPECT_EQ(effect.boosterType, block[1]);
        EXPECT_EQ(effect.fxLoop, block[2]);
        EXPECT_EQ(effect.reverbType, block[3]);
        EXPECT_EQ(effect.noiseGate, block[4]);
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
            ASSERT_EQ(events.next(eVelkEvent_AmpTypeChanged), amp);
            EXPECT_EQ(manager->getAmpType(amp), type);
            expectPlayBufferHeaderOfSlot(amp, AmpState::slotOf(amp, type));
        }
    }
}

TEST_P(EditorConnectionTest, previewLandsOnTheHeadAndInstallStoresIt) {
    connect();
    const int amp = amps() - 1;
    FIRCOE record = test::sampleRecord("My 2x12", 8211);
    manager->setSpeakerTabFIRCOE(record);
    manager->sendRequest(eVelkRequest_FIRCOE, amp, 0);
    ASSERT_EQ(events.next(eVelkEvent_FIRCOESent), amp);
    EXPECT_TRUE(sameRecord(head->playBuffer(amp), record));
    // Each acknowledgement ends the editor's wait before it is announced, so the last may follow
    // the end of the stream.
    EXPECT_TRUE(events.waitForCount(eVelkEvent_FIRPacketAccepted, amp, 10));

    manager->sendRequest(eVelkRequest_FIRDataWrite, amp, 0);
    ASSERT_EQ(events.next(eVelkEvent_FIRWriteDone), amp);
    EXPECT_TRUE(sameRecord(head->firSlot(head->state().currentSlot(amp)), record));
}

// --- The head's faults as the editor meets them ---

TEST_P(EditorConnectionTest, readsThroughFiveCorruptDumps) {
    head->editAmpFaults([](AmpFaults& f) { f.corruptDumps = 5; });
    connect();
    const std::vector<int> dumps = dumpsRequested();
    EXPECT_EQ(std::count(dumps.begin(), dumps.end(), 10), 6);
    EXPECT_EQ(manager->getAmpType(0), head->state().ampType(0));
}

TEST_P(EditorConnectionTest, givesUpAfterSixCorruptDumpsAndStaysConnected) {
    head->editAmpFaults([](AmpFaults& f) { f.corruptDumps = 6; });
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    ASSERT_TRUE(events.next(eVelkEvent_Connected).has_value());
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_EQ(events.next(eVelkEvent_Error), mstd::eErr_ReceiveData);
    EXPECT_EQ(dumpsRequested(), std::vector<int>(6, 10));
    EXPECT_TRUE(manager->isConnected());
    EXPECT_EQ(events.count(eVelkEvent_AllDataReceived), 0);
}

TEST_P(EditorConnectionTest, rejectedPacketIsAnnouncedAndTheStreamGoesOn) {
    connect();
    head->editAmpFaults([](AmpFaults& f) { f.rejectedPackets.set(4); });
    const FIRCOE before = head->playBuffer(0);
    FIRCOE record = test::sampleRecord("Rejected in part", 5181);
    manager->setSpeakerTabFIRCOE(record);
    manager->sendRequest(eVelkRequest_FIRCOE, 0, 0);
    ASSERT_EQ(events.next(eVelkEvent_FIRCOESent), 0);
    EXPECT_TRUE(events.waitForCount(eVelkEvent_FIRPacketRejected, 0, 1));
    EXPECT_TRUE(events.waitForCount(eVelkEvent_FIRPacketAccepted, 0, 9));

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
    ASSERT_EQ(events.next(eVelkEvent_FIRWriteFailed), 0);
    EXPECT_TRUE(sameRecord(head->firSlot(slot), stored));
}

// The same, on a clock the test moves: a silent head costs no real seconds.
class EditorSilenceTest : public EditorConnectionTest {
protected:
    void SetUp() override {
        mstd::setProcessClock(&clock);
        EditorConnectionTest::SetUp();
    }
    void TearDown() override {
        EditorConnectionTest::TearDown();
        mstd::setProcessClock(nullptr);
    }

    std::optional<int32_t> await(EVelkEventID event) override { return driveUntil(event, 20'000); }

    // Moves the clock 10 ms at a time until `event` is raised; its data, or nothing after
    // `limitMS` of clock time.
    std::optional<int32_t> driveUntil(EVelkEventID event, uint64_t limitMS) {
        for (uint64_t driven = 0; driven < limitMS; driven += 10) {
            if (auto data = events.next(event, 1ms))
                return data;
            clock.advance(10);
        }
        return events.next(event, 1ms);
    }

    mstd::CManualClock clock;
};

TEST_P(EditorSilenceTest, requestToSilentHeadTimesOutAndDropsTheConnection) {
    connect();
    head->setSilent(true);
    const uint64_t asked = clock.steadyMS();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    ASSERT_EQ(driveUntil(eVelkEvent_Error, 20'000), mstd::eErr_Timeout);
    EXPECT_GE(clock.steadyMS() - asked, 5000u);
    EXPECT_TRUE(events.next(eVelkEvent_Disconnected).has_value());
    EXPECT_FALSE(manager->isConnected());
}

TEST_P(EditorSilenceTest, headThatFallsSilentIsDroppedAfterSixSeconds) {
    connect();
    head->setSilent(true);
    const uint64_t silentFrom = clock.steadyMS();
    ASSERT_TRUE(driveUntil(eVelkEvent_Disconnected, 20'000).has_value());
    EXPECT_GE(clock.steadyMS() - silentFrom, 5500u);  // the last reply may have come up to 500 ms earlier
    EXPECT_LE(clock.steadyMS() - silentFrom, 9100u);
    EXPECT_GT(head->receivedCount(Request::Ignored), 0);

    head->setSilent(false);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    EXPECT_TRUE(driveUntil(eVelkEvent_Connected, 5000).has_value());
}

INSTANTIATE_TEST_SUITE_P(BothHeads, EditorSilenceTest, testing::Values(HeadModel::Single, HeadModel::Dual),
                         [](const auto& info) {
                             return info.param == HeadModel::Single ? "Single" : "Dual";
                         });

INSTANTIATE_TEST_SUITE_P(BothHeads, EditorConnectionTest, testing::Values(HeadModel::Single, HeadModel::Dual),
                         [](const auto& info) {
                             return info.param == HeadModel::Single ? "Single" : "Dual";
                         });

}  // namespace
}  // namespace velk::sim
