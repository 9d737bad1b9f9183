#include "common/MIDIManager.h"

#include "midi/MessageRecorder.h"
#include "midi/VirtualMidiHub.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ostream>
#include <thread>

namespace {

using midi::test::Bytes;
using midi::test::MessageRecorder;
using midi::test::numberedSysex;
using midi::test::recordMessage;
using namespace std::chrono_literals;

constexpr int kNotShortMessage = -10838;
const Bytes kSentinel{0xF0, 0x7D, 0x7F, 0xF7};

// A manager on an in-process hub with one amplifier-like device that records what it receives.
class MIDIManagerTest : public testing::Test {
protected:
    void SetUp() override {
        amp = addDevice("VelkSolvo/Ab 2");
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        CMIDIManager::initialize(nullptr, nullptr);
        manager = CMIDIManager::instance();
        ASSERT_NE(manager, nullptr);
    }
    void TearDown() override {
        CMIDIManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
    }

    std::unique_ptr<midi::VirtualDevice> addDevice(const std::string& name,
                                                   midi::VirtualDeviceSides sides = {},
                                                   MessageRecorder* received = nullptr) {
        received = received ? received : &atAmp;
        return hub.addDevice(
            name, [received](const midi::Packet& packet) { received->record(packet.bytes); }, sides);
    }

    // Opens the first endpoints of the current lists.
    void openBoth() {
        std::vector<std::string> names;
        manager->getMidiInDevices(names);
        manager->getMidiOutDevices(names);
        ASSERT_EQ(manager->openMidiIn(0, recordMessage, &fromAmp, 512), 0);
        ASSERT_EQ(manager->openMidiOut(0), 0);
    }

    // Waits until everything sent before has been delivered (deliveries keep their order).
    void sendSentinelAndWait(size_t expectedBefore) {
        amp->send(kSentinel);
        ASSERT_TRUE(fromAmp.waitForCount(expectedBefore + 1));
    }

    midi::VirtualMidiHub hub;
    MessageRecorder atAmp;
    MessageRecorder fromAmp;
    std::unique_ptr<midi::VirtualDevice> amp;
    CMIDIManager* manager = nullptr;
};

// ---- Assembly of incoming System Exclusive messages

struct AssemblyCase {
    const char* name;
    std::vector<midi::PacketList> deliveries;
    std::vector<Bytes> expected;
};

void PrintTo(const AssemblyCase& assembly, std::ostream* out) {
    *out << assembly.name;
}

midi::Packet packet(Bytes bytes) {
    return {0, std::move(bytes)};
}

const Bytes kHeartbeatReply{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x31, 0xF7};

const AssemblyCase kAssemblyCases[] = {
    {"wholeMessageInOnePacket", {{packet(kHeartbeatReply)}}, {kHeartbeatReply}},
    {"messageSplitOverTwoPackets",
     {{packet({0xF0, 0x43, 0x7D, 0x60}), packet({0x58, 0x48, 0x44, 0x31, 0xF7})}},
     {kHeartbeatReply}},
    {"messageSpanningTwoPacketLists",
     {{packet({0xF0, 0x43, 0x7D, 0x60, 0x58})}, {packet({0x48, 0x44, 0x31, 0xF7})}},
     {kHeartbeatReply}},
    {"realTimeByteAbortsTheMessage", {{packet({0xF0, 0x01, 0x02, 0xF8, 0x03, 0xF7})}}, {}},
    {"secondStartDiscardsTheFirstMessage", {{packet({0xF0, 0x01, 0xF0, 0x02, 0xF7})}}, {{0xF0, 0x02, 0xF7}}},
    {"channelMessageIsDropped", {{packet({0x90, 0x40, 0x7F})}}, {}},
    {"channelStatusAbortsTheMessage", {{packet({0xF0, 0x01, 0x90, 0x40, 0xF7})}}, {}},
    {"dataBeforeTheStartIsDropped", {{packet({0x01, 0x02, 0xF0, 0x03, 0xF7})}}, {{0xF0, 0x03, 0xF7}}},
    {"endWithoutStartIsDropped", {{packet({0x01, 0xF7})}}, {}},
    {"twoMessagesInOnePacketInOrder",
     {{packet({0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7})}},
     {{0xF0, 0x01, 0xF7}, {0xF0, 0x02, 0xF7}}},
    {"emptyMessage", {{packet({0xF0, 0xF7})}}, {{0xF0, 0xF7}}},
};

class MIDIManagerAssembly : public MIDIManagerTest, public testing::WithParamInterface<AssemblyCase> {};

TEST_P(MIDIManagerAssembly, deliversExactlyTheCompleteSysexMessages) {
    openBoth();
    for (const midi::PacketList& delivery : GetParam().deliveries)
        amp->send(delivery);
    sendSentinelAndWait(GetParam().expected.size());

    std::vector<Bytes> expected = GetParam().expected;
    expected.push_back(kSentinel);
    EXPECT_EQ(fromAmp.messages(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MIDIManagerAssembly, testing::ValuesIn(kAssemblyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MIDIManagerTest, assemblesLongMessagesSentOneByteAPacket) {
    openBoth();
    Bytes message = numberedSysex(532, 9);
    midi::PacketList bytewise;
    for (uint8_t byte : message)
        bytewise.push_back(packet({byte}));

    amp->send(bytewise);
    ASSERT_TRUE(fromAmp.waitForCount(1));

    EXPECT_EQ(fromAmp.messages()[0], message);
}

TEST_F(MIDIManagerTest, dropsAMessageThatNeverEndsInsteadOfGrowingWithoutBound) {
    openBoth();
    Bytes endless(200 * 1024, 0x11);
    endless.front() = 0xF0;
    endless.back() = 0xF7;

    amp->send(endless);
    sendSentinelAndWait(0);

    EXPECT_EQ(fromAmp.messages(), std::vector<Bytes>{kSentinel});
}

TEST_F(MIDIManagerTest, deleteLongMessageBufferForgetsAPartlyReceivedMessage) {
    openBoth();
    // The sentinel's callback runs before the partial message is parsed; the discard is
    // applied when the next delivery starts, so the order of the two cannot matter.
    amp->send(midi::PacketList{packet({0xF0, 0x7D, 0x7F, 0xF7, 0xF0, 0x01, 0x02})});
    ASSERT_TRUE(fromAmp.waitForCount(1));

    manager->deleteLongMessageBuffer();
    amp->send(Bytes{0x03, 0xF7});
    sendSentinelAndWait(1);

    EXPECT_EQ(fromAmp.messages(), (std::vector<Bytes>{kSentinel, kSentinel}));
}

TEST_F(MIDIManagerTest, partlyReceivedMessageCompletesWithoutDelete) {
    openBoth();
    amp->send(midi::PacketList{packet({0xF0, 0x7D, 0x7F, 0xF7, 0xF0, 0x01, 0x02})});
    amp->send(Bytes{0x03, 0xF7});
    ASSERT_TRUE(fromAmp.waitForCount(2));

    EXPECT_EQ(fromAmp.messages()[1], (Bytes{0xF0, 0x01, 0x02, 0x03, 0xF7}));
}

void throwOnFirstMessage(void* userData, const uint8_t* bytes, uint32_t length) {
    auto* recorder = static_cast<MessageRecorder*>(userData);
    recorder->record(Bytes(bytes, bytes + length));
    if (recorder->count() == 1)
        throw std::runtime_error("receiver failed");
}

TEST_F(MIDIManagerTest, exceptionInTheCallbackDropsTheRestOfThatDeliveryOnly) {
    std::vector<std::string> names;
    manager->getMidiInDevices(names);
    ASSERT_EQ(manager->openMidiIn(0, throwOnFirstMessage, &fromAmp, 512), 0);
    testing::internal::CaptureStderr();

    amp->send(Bytes{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7});
    amp->send(Bytes{0xF0, 0x03, 0xF7});
    ASSERT_TRUE(fromAmp.waitForCount(2));

    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[CATCH] Exception! - CMIDIManager::procMidiIn()\n");
    EXPECT_EQ(fromAmp.messages(), (std::vector<Bytes>{{0xF0, 0x01, 0xF7}, {0xF0, 0x03, 0xF7}}));
}

// ---- Device lists and ports

TEST_F(MIDIManagerTest, listsEveryEndpointSoThatPositionsAreIndicesAndAppends) {
    auto unnamed = addDevice("", {.source = true, .destination = false});
    auto keys = addDevice("Keys", {.source = true, .destination = false});
    std::vector<std::string> sources{"kept"};
    std::vector<std::string> destinations;

    manager->getMidiInDevices(sources);
    manager->getMidiOutDevices(destinations);

    EXPECT_EQ(sources, (std::vector<std::string>{"kept", "VelkSolvo/Ab 2", "", "Keys"}));
    EXPECT_EQ(destinations, std::vector<std::string>{"VelkSolvo/Ab 2"});
}

TEST_F(MIDIManagerTest, indexOpensTheEndpointAtThatPositionOfTheList) {
    MessageRecorder atKeys;
    auto unnamed = addDevice("");
    auto keys = addDevice("Keys", {}, &atKeys);
    std::vector<std::string> names;
    manager->getMidiInDevices(names);
    manager->getMidiOutDevices(names);

    ASSERT_EQ(manager->openMidiIn(2, recordMessage, &fromAmp, 512), 0);
    ASSERT_EQ(manager->openMidiOut(2), 0);
    amp->send(Bytes{0xF0, 0x01, 0xF7});
    keys->send(Bytes{0xF0, 0x02, 0xF7});
    ASSERT_EQ(manager->sendLongMessage(kSentinel.data(), 4), 0);
    ASSERT_TRUE(fromAmp.waitForCount(1));
    ASSERT_TRUE(atKeys.waitForCount(1));

    EXPECT_EQ(fromAmp.messages(), (std::vector<Bytes>{{0xF0, 0x02, 0xF7}}));
    EXPECT_EQ(atKeys.messages(), std::vector<Bytes>{kSentinel});
    EXPECT_EQ(atAmp.count(), 0u);
}

TEST_F(MIDIManagerTest, indexKeepsMeaningTheListedEndpointWhenAnEarlierOneVanishes) {
    auto first = addDevice("First");
    amp.reset();
    amp = addDevice("VelkSolvo/Ab 2");
    std::vector<std::string> sources;
    manager->getMidiInDevices(sources);
    ASSERT_EQ(sources, (std::vector<std::string>{"First", "VelkSolvo/Ab 2"}));

    first.reset();  // now the amplifier is the first endpoint of the service
    ASSERT_EQ(manager->openMidiIn(1, recordMessage, &fromAmp, 512), 0);
    amp->send(Bytes{0xF0, 0x05, 0xF7});

    ASSERT_TRUE(fromAmp.waitForCount(1));
    EXPECT_EQ(fromAmp.messages()[0], (Bytes{0xF0, 0x05, 0xF7}));
}

TEST_F(MIDIManagerTest, openingAListedEndpointThatVanishedFails) {
    std::vector<std::string> names;
    manager->getMidiInDevices(names);
    manager->getMidiOutDevices(names);
    amp.reset();

    EXPECT_NE(manager->openMidiIn(0, recordMessage, &fromAmp, 512), 0);
    EXPECT_NE(manager->openMidiOut(0), 0);
    EXPECT_NE(manager->openMidiIn(5, recordMessage, &fromAmp, 512), 0);
    EXPECT_FALSE(manager->isOpenedMidiIn());
    EXPECT_FALSE(manager->isOpenedMidiOut());
}

TEST_F(MIDIManagerTest, portsAndStartedFlagsFollowOpenStartStopClose) {
    openBoth();
    EXPECT_TRUE(manager->isOpenedMidiIn());
    EXPECT_TRUE(manager->isOpenedMidiOut());
    EXPECT_FALSE(manager->isStartedMidiIn());

    EXPECT_EQ(manager->startMidiIn(), 0);
    EXPECT_EQ(manager->startMidiOut(), 0);
    EXPECT_TRUE(manager->isStartedMidiIn());
    EXPECT_TRUE(manager->isStartedMidiOut());
    EXPECT_EQ(manager->stopMidiIn(), 0);
    EXPECT_FALSE(manager->isStartedMidiIn());
    manager->startMidiIn();

    EXPECT_EQ(manager->closeMidiIn(), 0);
    EXPECT_EQ(manager->closeMidiOut(), 0);
    EXPECT_FALSE(manager->isOpenedMidiIn());
    EXPECT_FALSE(manager->isOpenedMidiOut());
    EXPECT_FALSE(manager->isStartedMidiIn());
    EXPECT_FALSE(manager->isStartedMidiOut());
}

TEST_F(MIDIManagerTest, reopeningTheInputLeavesThePreviousSource) {
    auto keys = addDevice("Keys");
    std::vector<std::string> names;
    manager->getMidiInDevices(names);
    ASSERT_EQ(manager->openMidiIn(1, recordMessage, &fromAmp, 512), 0);
    ASSERT_EQ(manager->openMidiIn(0, recordMessage, &fromAmp, 512), 0);

    keys->send(Bytes{0xF0, 0x01, 0xF7});
    sendSentinelAndWait(0);

    EXPECT_EQ(fromAmp.messages(), std::vector<Bytes>{kSentinel});
}

TEST_F(MIDIManagerTest, noCallbackRunsAfterCloseMidiInReturns) {
    struct Guard {
        std::atomic<bool> closed = false;
        std::atomic<int> callsAfterClose = 0;
        std::atomic<int> calls = 0;
    } guard;
    auto onMessage = [](void* userData, const uint8_t*, uint32_t) {
        auto* self = static_cast<Guard*>(userData);
        ++self->calls;
        std::this_thread::sleep_for(1ms);
        if (self->closed)
            ++self->callsAfterClose;
    };
    std::vector<std::string> names;
    manager->getMidiInDevices(names);
    ASSERT_EQ(manager->openMidiIn(0, onMessage, &guard, 512), 0);
    std::atomic<bool> flooding = true;
    std::thread flood([&] {
        while (flooding)
            amp->send(Bytes{0xF0, 0x01, 0xF7});
    });
    while (guard.calls < 5)
        std::this_thread::yield();

    manager->closeMidiIn();
    guard.closed = true;
    std::this_thread::sleep_for(20ms);
    flooding = false;
    flood.join();

    EXPECT_EQ(guard.callsAfterClose, 0);
}

// The device manager closes the ports from its receive path when the amplifier changes model.
struct ClosingReceiver {
    explicit ClosingReceiver(CMIDIManager* owner) : manager(owner) {}
    CMIDIManager* manager;
    MessageRecorder received;
    std::atomic<int> closeStatus = 1;
};

void closeOnMessage(void* userData, const uint8_t* bytes, uint32_t length) {
    auto* receiver = static_cast<ClosingReceiver*>(userData);
    receiver->closeStatus = receiver->manager->closeMidiIn() | receiver->manager->closeMidiOut();
    receiver->received.record(Bytes(bytes, bytes + length));
}

TEST_F(MIDIManagerTest, callbackMayCloseThePortsAndTheRestOfItsDeliveryIsDropped) {
    ClosingReceiver receiver(manager);
    std::vector<std::string> names;
    manager->getMidiInDevices(names);
    manager->getMidiOutDevices(names);
    ASSERT_EQ(manager->openMidiIn(0, closeOnMessage, &receiver, 512), 0);
    ASSERT_EQ(manager->openMidiOut(0), 0);

    amp->send(Bytes{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7});
    ASSERT_TRUE(receiver.received.waitForCount(1));

    EXPECT_EQ(receiver.closeStatus, 0);
    EXPECT_FALSE(manager->isOpenedMidiIn());
    EXPECT_FALSE(manager->isOpenedMidiOut());
    ASSERT_EQ(manager->openMidiIn(0, recordMessage, &fromAmp, 512), 0);  // the utility thread reopens
    sendSentinelAndWait(0);
    EXPECT_EQ(receiver.received.messages(), (std::vector<Bytes>{{0xF0, 0x01, 0xF7}}));
}

TEST_F(MIDIManagerTest, callbackAndAnotherThreadClosingTogetherNeverDeadlock) {
    ClosingReceiver receiver(manager);
    std::vector<std::string> names;
    manager->getMidiInDevices(names);
    for (int round = 0; round < 200; ++round) {
        ASSERT_EQ(manager->openMidiIn(0, closeOnMessage, &receiver, 512), 0);
        amp->send(Bytes{0xF0, 0x01, 0xF7});
        if (round % 2)
            std::this_thread::sleep_for(std::chrono::microseconds(round * 5));
        manager->closeMidiIn();
        EXPECT_FALSE(manager->isOpenedMidiIn());
    }
}

TEST_F(MIDIManagerTest, healthCheckClosesThePortsOfAVanishedDeviceOnly) {
    openBoth();
    manager->startMidiIn();
    manager->startMidiOut();

    manager->healthCheck();
    EXPECT_TRUE(manager->isOpenedMidiIn());
    EXPECT_TRUE(manager->isOpenedMidiOut());

    amp.reset();
    manager->healthCheck();
    EXPECT_FALSE(manager->isOpenedMidiIn());
    EXPECT_FALSE(manager->isOpenedMidiOut());
    EXPECT_FALSE(manager->isStartedMidiIn());
    EXPECT_FALSE(manager->isStartedMidiOut());
    EXPECT_EQ(manager->sendLongMessage(kSentinel.data(), 4), 0);  // no destination: nothing sent
}

TEST_F(MIDIManagerTest, healthCheckTreatsADevicePluggedInAgainAsVanished) {
    openBoth();
    amp.reset();
    amp = addDevice("VelkSolvo/Ab 2");

    manager->healthCheck();

    EXPECT_FALSE(manager->isOpenedMidiIn());
    EXPECT_FALSE(manager->isOpenedMidiOut());
}

// ---- Sending

TEST_F(MIDIManagerTest, longSendWithoutDestinationReturnsAtOnceWithoutSending) {
    EXPECT_EQ(manager->sendLongMessage(kSentinel.data(), 4), 0);
    EXPECT_EQ(hub.sendsInFlight(), 0);
    EXPECT_EQ(atAmp.count(), 0u);
}

TEST_F(MIDIManagerTest, longSendReturnsOnlyOnceTheMessageHasGone) {
    openBoth();
    hub.setSendLatency(100ms);
    Bytes message = numberedSysex(532, 4);
    auto started = std::chrono::steady_clock::now();

    EXPECT_EQ(manager->sendLongMessage(message.data(), static_cast<int32_t>(message.size())), 0);

    EXPECT_GE(std::chrono::steady_clock::now() - started, 100ms);
    EXPECT_EQ(hub.sendsInFlight(), 0);
    ASSERT_TRUE(atAmp.waitForCount(1));
    EXPECT_EQ(atAmp.messages()[0], message);
}

TEST_F(MIDIManagerTest, aCompletionBeforeTheWaitDoesNotEndTheNextSendsWait) {
    openBoth();
    hub.setCompleteBeforeReturn(true);
    ASSERT_EQ(manager->sendLongMessage(kSentinel.data(), 4), 0);
    hub.setCompleteBeforeReturn(false);
    hub.setSendLatency(100ms);
    auto started = std::chrono::steady_clock::now();

    EXPECT_EQ(manager->sendLongMessage(kSentinel.data(), 4), 0);

    EXPECT_GE(std::chrono::steady_clock::now() - started, 100ms);
    EXPECT_EQ(hub.sendsInFlight(), 0);
}

TEST_F(MIDIManagerTest, longSendsArriveInOrderAndWhole) {
    openBoth();
    for (uint8_t i = 0; i < 40; ++i) {
        Bytes message = numberedSysex(11 + i * 13, i);
        ASSERT_EQ(manager->sendLongMessage(message.data(), static_cast<int32_t>(message.size())), 0);
    }
    ASSERT_TRUE(atAmp.waitForCount(40));
    for (uint8_t i = 0; i < 40; ++i)
        EXPECT_EQ(atAmp.messages()[i], numberedSysex(11 + i * 13, i));
}

TEST_F(MIDIManagerTest, longSendToAVanishedDeviceReportsFailure) {
    openBoth();
    amp.reset();

    EXPECT_NE(manager->sendLongMessage(kSentinel.data(), 4) & 0xFFFF, 0);
}

TEST_F(MIDIManagerTest, closingTheOutputEndsALongSendInFlightWithFailure) {
    openBoth();
    hub.setSendLatency(2000ms);
    midi::test::Handoff<int> sendStatus;
    std::thread sending([&] { sendStatus.set(manager->sendLongMessage(kSentinel.data(), 4)); });
    while (hub.sendsInFlight() == 0)
        std::this_thread::yield();

    manager->closeMidiOut();
    sending.join();

    EXPECT_EQ(sendStatus.wait(), midi::kStatusCancelled);
}

struct ShortMessageCase {
    const char* name;
    int32_t channel, status, data1, data2;
    int expectedStatus;
    Bytes expectedBytes;
};

void PrintTo(const ShortMessageCase& message, std::ostream* out) {
    *out << message.name;
}

const ShortMessageCase kShortMessageCases[] = {
    {"noteOnOnChannel4", 3, 0x90, 0x40, 0x7F, 0, {0x93, 0x40, 0x7F}},
    {"channelIsMaskedToFourBits", 0x13, 0x90, 0x40, 0x00, 0, {0x93, 0x40, 0x00}},
    {"lowNibbleOfStatusIsIgnored", 2, 0x95, 0x10, 0x20, 0, {0x92, 0x10, 0x20}},
    {"programChangeHasOneDataByte", 0, 0xC0, 0x05, 0x66, 0, {0xC0, 0x05}},
    {"channelPressureHasOneDataByte", 15, 0xD0, 0x20, 0x66, 0, {0xDF, 0x20}},
    {"programChangeWithChannelInStatus", 0, 0xC3, 0x05, 0x66, 0, {0xC0, 0x05}},
    {"pitchBendHasTwoDataBytes", 1, 0xE0, 0x00, 0x40, 0, {0xE1, 0x00, 0x40}},
    {"songPositionHasTwoDataBytes", 9, 0xF2, 0x01, 0x02, 0, {0xF2, 0x01, 0x02}},
    {"songSelectHasOneDataByte", 9, 0xF3, 0x07, 0x66, 0, {0xF3, 0x07}},
    {"quarterFrameHasOneDataByte", 9, 0xF1, 0x35, 0x66, 0, {0xF1, 0x35}},
    {"clockIsOneByte", 9, 0xF8, 0x66, 0x66, 0, {0xF8}},
    {"activeSensingIsOneByte", 0, 0xFE, 0, 0, 0, {0xFE}},
    {"sysexStartIsRefused", 0, 0xF0, 0x01, 0x02, kNotShortMessage, {}},
    {"dataByteAsStatusIsRefused", 0, 0x40, 0x01, 0x02, kNotShortMessage, {}},
    {"statusAboveAByteIsRefused", 0, 0x190, 0x01, 0x02, kNotShortMessage, {}},
    {"dataWithTopBitIsRefused", 0, 0x90, 0x80, 0x02, kNotShortMessage, {}},
    {"secondDataWithTopBitIsRefused", 0, 0xB0, 0x07, 0xF7, kNotShortMessage, {}},
};

class MIDIManagerShortMessage : public MIDIManagerTest,
                                public testing::WithParamInterface<ShortMessageCase> {};

TEST_P(MIDIManagerShortMessage, sendsTheMessagesBytesOrRefusesThem) {
    const ShortMessageCase& message = GetParam();
    openBoth();

    EXPECT_EQ(manager->sendShortMessage(message.channel, message.status, message.data1, message.data2),
              message.expectedStatus);
    ASSERT_EQ(manager->sendLongMessage(kSentinel.data(), 4), 0);  // behind the short one on the wire
    ASSERT_TRUE(atAmp.waitForCount(message.expectedBytes.empty() ? 1 : 2));

    std::vector<Bytes> expected;
    if (!message.expectedBytes.empty())
        expected.push_back(message.expectedBytes);
    expected.push_back(kSentinel);
    EXPECT_EQ(atAmp.messages(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MIDIManagerShortMessage, testing::ValuesIn(kShortMessageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MIDIManagerTest, shortSendWithoutOutputReturnsZeroWithoutSending) {
    EXPECT_EQ(manager->sendShortMessage(0, 0x90, 0x40, 0x7F), 0);
    EXPECT_EQ(manager->sendShortMessage(0, 0xF0, 0x40, 0x7F), 0);
}

// ---- Service

TEST_F(MIDIManagerTest, notifiesEndpointChangesThroughTheNotifyProc) {
    std::atomic<int> notifications = 0;
    CMIDIManager::initialize([](const void*, void* refCon) { ++*static_cast<std::atomic<int>*>(refCon); },
                             &notifications);
    manager = CMIDIManager::instance();

    auto keys = addDevice("Keys");
    keys.reset();

    EXPECT_EQ(notifications, 2);
}

TEST(MIDIManagerWithoutService, logsTheClientFailureFindsNothingAndSendsNothing) {
    CMIDIManager::setServiceProvider([] { return std::shared_ptr<midi::MidiService>(); });
    testing::internal::CaptureStderr();
    CMIDIManager::initialize(nullptr, nullptr);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::MatchesRegex("MIDIClientCreate returned error\\. \\(MIDIManager:[0-9]+\\)\n"));
    CMIDIManager* manager = CMIDIManager::instance();
    std::vector<std::string> names;

    manager->getMidiInDevices(names);
    manager->getMidiOutDevices(names);

    EXPECT_EQ(manager->service(), nullptr);
    EXPECT_FALSE(manager->serviceUnavailableReason().empty());
    EXPECT_TRUE(names.empty());
    EXPECT_NE(manager->openMidiIn(0, recordMessage, nullptr, 512), 0);
    EXPECT_NE(manager->openMidiOut(0), 0);
    EXPECT_EQ(manager->sendLongMessage(kSentinel.data(), 4), 0);
    CMIDIManager::terminate();
    CMIDIManager::setServiceProvider(nullptr);
}

TEST(MIDIManagerWithoutService, picksUpAServiceThatAppearsLater) {
    midi::VirtualMidiHub hub;
    auto amp = hub.addDevice("VelkSolvo/Ab 1", nullptr);
    std::atomic<bool> serviceRunning = false;
    CMIDIManager::setServiceProvider(
        [&] { return serviceRunning ? hub.openService() : std::shared_ptr<midi::MidiService>(); });
    testing::internal::CaptureStderr();
    CMIDIManager::initialize(nullptr, nullptr);
    testing::internal::GetCapturedStderr();
    std::vector<std::string> names;

    serviceRunning = true;
    CMIDIManager::instance()->getMidiInDevices(names);

    EXPECT_EQ(names, std::vector<std::string>{"VelkSolvo/Ab 1"});
    EXPECT_NE(CMIDIManager::instance()->service(), nullptr);
    EXPECT_TRUE(CMIDIManager::instance()->serviceUnavailableReason().empty());
    CMIDIManager::terminate();
    CMIDIManager::setServiceProvider(nullptr);
}

TEST(MIDIManagerLifetime, instanceExistsBetweenInitializeAndTerminate) {
    midi::VirtualMidiHub hub;
    CMIDIManager::setServiceProvider([&] { return hub.openService(); });
    CMIDIManager::terminate();
    EXPECT_EQ(CMIDIManager::instance(), nullptr);

    EXPECT_EQ(CMIDIManager::initialize(nullptr, nullptr), 0);
    CMIDIManager* first = CMIDIManager::instance();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(CMIDIManager::initialize(nullptr, nullptr), 0);
    EXPECT_NE(CMIDIManager::instance(), nullptr);

    CMIDIManager::terminate();
    EXPECT_EQ(CMIDIManager::instance(), nullptr);
    CMIDIManager::setServiceProvider(nullptr);
}

}  // namespace
