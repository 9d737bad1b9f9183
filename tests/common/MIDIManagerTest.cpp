#include "common/MIDIManager.h"

#include "midi/MessageRecorder.h"
#include "midi/VirtualMidiHub.h"
#include "support/SendFaults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using midi::test::Bytes;
using midi::test::MessageRecorder;
using midi::test::numberedSysex;
using midi::test::recordMessage;
using Messages = std::vector<Bytes>;
using Names = std::vector<std::string>;
using namespace std::chrono_literals;

const Bytes kSentinel{0xF0, 0x7D, 0x7F, 0xF7};

Bytes sysex(uint8_t body) {
    return {0xF0, body, 0xF7};
}

// A manager on an in-process hub with one amplifier-like device that records what it receives.
class MIDIManagerTest : public testing::Test {
protected:
    void SetUp() override {
        amp = addDevice("VelkSolvo/Ab 2");
        CMIDIManager::setServiceProvider(
            [this] { return serviceRunning ? faults.wrap(hub.openService()) : nullptr; });
        CMIDIManager::initialize(nullptr, nullptr);
        manager = CMIDIManager::instance();
    }
    void TearDown() override {
        CMIDIManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
    }
    std::unique_ptr<midi::VirtualDevice> addDevice(const std::string& name,
                                                   MessageRecorder* received = nullptr,
                                                   midi::VirtualDeviceSides sides = {}) {
        received = received ? received : &atAmp;
        return hub.addDevice(
            name, [received](const midi::Packet& p) { received->record(p.bytes); }, sides);
    }
    void listEndpoints() {
        Names names;
        manager->getMidiInDevices(names);
        manager->getMidiOutDevices(names);
    }
    int openIn(uint32_t index, MidiInCallback callback = recordMessage, void* userData = nullptr) {
        return manager->openMidiIn(index, callback, userData ? userData : &fromAmp, 512);
    }
    // The first endpoints of fresh lists.
    void openBoth(MidiInCallback callback = recordMessage, void* userData = nullptr) {
        listEndpoints();
        ASSERT_EQ(openIn(0, callback, userData), 0);
        ASSERT_EQ(manager->openMidiOut(0), 0);
    }

    // What the callback got, once a sentinel the amplifier sends now has arrived behind it.
    Messages receivedBeforeSentinel() {
        const size_t before = fromAmp.count();
        amp->send(kSentinel);
        EXPECT_TRUE(fromAmp.waitUntil(
            [&](const Messages& got) { return got.size() > before && got.back() == kSentinel; }, 10s));
        Messages received = fromAmp.messages();
        received.pop_back();
        return received;
    }
    int sendLong(const Bytes& message) {
        return manager->sendLongMessage(message.data(), static_cast<int32_t>(message.size()));
    }

    midi::VirtualMidiHub hub;
    std::atomic<bool> serviceRunning = true;
    midi::test::SendFaults faults;
    MessageRecorder atAmp;
    MessageRecorder fromAmp;
    std::unique_ptr<midi::VirtualDevice> amp;
    CMIDIManager* manager = nullptr;
};

// ---- Assembly of incoming System Exclusive messages

struct AssemblyCase {
    const char* name;
    std::vector<std::vector<Bytes>> deliveries;  // of packets
    Messages expected;
};

void PrintTo(const AssemblyCase& assembly, std::ostream* out) {
    *out << assembly.name;
}

std::vector<Bytes> oneBytePerPacket(const Bytes& message) {
    std::vector<Bytes> packets;
    for (uint8_t byte : message)
        packets.push_back({byte});
    return packets;
}

const Bytes kLong = numberedSysex(532, 9);

const AssemblyCase kAssemblyCases[] = {
    {"wholeMessageInOnePacket", {{kLong}}, {kLong}},
    {"spanningTwoDeliveries", {{{0xF0, 0x01}}, {{0x02, 0xF7}}}, {{0xF0, 0x01, 0x02, 0xF7}}},
    {"oneBytePerPacket", {oneBytePerPacket(kLong)}, {kLong}},
    {"twoInOnePacketInOrder", {{{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7}}}, {sysex(1), sysex(2)}},
    {"emptyMessage", {{{0xF0, 0xF7}}}, {{0xF0, 0xF7}}},
    {"realTimeByteAbortsTheMessage", {{{0xF0, 0x01, 0x02, 0xF8, 0x03, 0xF7}}}, {}},
    {"channelStatusAbortsTheMessage", {{{0xF0, 0x01, 0x90, 0x40, 0xF7}}}, {}},
    {"channelMessageIsDropped", {{{0x90, 0x40, 0x7F}}}, {}},
    {"missingEndDropsTheMessageAtTheNextStart", {{{0xF0, 0x01, 0xF0, 0x02, 0xF7}}}, {sysex(2)}},
    {"dataBeforeTheStartIsDropped", {{{0x01, 0x02, 0xF0, 0x03, 0xF7}}}, {sysex(3)}},
    {"endWithoutStartIsDropped", {{{0x01, 0xF7}}}, {}},
    {"overlongMessageIsDropped", {{numberedSysex(200 * 1024, 1)}}, {}},
};

class MIDIManagerAssembly : public MIDIManagerTest, public testing::WithParamInterface<AssemblyCase> {};

TEST_P(MIDIManagerAssembly, deliversExactlyTheCompleteSysexMessages) {
    openBoth();
    for (const std::vector<Bytes>& delivery : GetParam().deliveries) {
        midi::PacketList packets;
        for (const Bytes& bytes : delivery)
            packets.push_back({0, bytes});
        amp->send(packets);
    }
    EXPECT_EQ(receivedBeforeSentinel(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MIDIManagerAssembly, testing::ValuesIn(kAssemblyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MIDIManagerTest, deleteLongMessageBufferForgetsAPartlyReceivedMessage) {
    openBoth();
    // The discard applies when the next delivery starts, so it cannot matter whether the partial
    // message behind the sentinel was parsed before it.
    amp->send(Bytes{0xF0, 0x7D, 0x7F, 0xF7, 0xF0, 0x01, 0x02});
    ASSERT_TRUE(fromAmp.waitForCount(1));
    manager->deleteLongMessageBuffer();
    amp->send(Bytes{0x03, 0xF7});
    EXPECT_EQ(receivedBeforeSentinel(), Messages{kSentinel});
}

void throwOnFirstMessage(void* recorder, const uint8_t* bytes, uint32_t length) {
    recordMessage(recorder, bytes, length);
    if (static_cast<MessageRecorder*>(recorder)->count() == 1)
        throw std::runtime_error("receiver failed");
}

TEST_F(MIDIManagerTest, exceptionInTheCallbackDropsTheRestOfThatDeliveryOnly) {
    openBoth(throwOnFirstMessage);
    testing::internal::CaptureStderr();
    amp->send(Bytes{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7});
    amp->send(sysex(3));
    ASSERT_TRUE(fromAmp.waitForCount(2));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[CATCH] Exception! - CMIDIManager::procMidiIn()\n");
    EXPECT_EQ(fromAmp.messages(), (Messages{sysex(1), sysex(3)}));
}

// ---- Device lists and ports

// An index keeps meaning the endpoint listed there, even when an earlier one has vanished since.
TEST_F(MIDIManagerTest, listsEveryEndpointSoThatPositionsAreTheIndicesThatOpenThem) {
    MessageRecorder atKeys;
    auto unnamed = addDevice("", nullptr, {.source = true, .destination = false});
    auto keys = addDevice("Keys", &atKeys);
    Names sources{"kept"};
    Names destinations;
    manager->getMidiInDevices(sources);
    manager->getMidiOutDevices(destinations);
    EXPECT_EQ(sources, (Names{"kept", "VelkSolvo/Ab 2", "", "Keys"}));
    EXPECT_EQ(destinations, (Names{"VelkSolvo/Ab 2", "Keys"}));
    unnamed.reset();
    EXPECT_NE(openIn(1), 0);
    EXPECT_NE(openIn(5), 0);
    EXPECT_FALSE(manager->isOpenedMidiIn());
    ASSERT_EQ(openIn(2), 0);
    ASSERT_EQ(manager->openMidiOut(1), 0);
    amp->send(sysex(1));
    keys->send(sysex(2));
    ASSERT_EQ(sendLong(kSentinel), 0);
    ASSERT_TRUE(fromAmp.waitForCount(1) && atKeys.waitForCount(1));
    EXPECT_EQ(fromAmp.messages(), Messages{sysex(2)});
    EXPECT_EQ(atKeys.messages(), Messages{kSentinel});
    EXPECT_EQ(atAmp.count(), 0u);
}

TEST_F(MIDIManagerTest, reopeningTheInputLeavesThePreviousSource) {
    auto keys = addDevice("Keys");
    listEndpoints();
    ASSERT_EQ(openIn(1), 0);
    ASSERT_EQ(openIn(0), 0);
    keys->send(sysex(1));
    EXPECT_EQ(receivedBeforeSentinel(), Messages{});
}

TEST_F(MIDIManagerTest, noCallbackRunsAfterCloseMidiInReturns) {
    struct Guard {
        std::atomic<bool> closed = false;
        std::atomic<int> calls = 0;
        std::atomic<int> callsAfterClose = 0;
    } guard;
    auto slowCallback = [](void* userData, const uint8_t*, uint32_t) {
        auto* self = static_cast<Guard*>(userData);
        ++self->calls;
        std::this_thread::sleep_for(1ms);
        self->callsAfterClose += self->closed ? 1 : 0;
    };
    openBoth(slowCallback, &guard);
    std::atomic<bool> flooding = true;
    std::thread flood([&] {
        while (flooding)
            amp->send(sysex(1));
    });
    while (guard.calls < 5)
        std::this_thread::yield();
    manager->closeMidiIn();
    guard.closed = true;
    std::this_thread::sleep_for(20ms);  // room for a late callback to show
    flooding = false;
    flood.join();
    EXPECT_EQ(guard.callsAfterClose, 0);
}

// The device manager closes the ports from its receive path when the amplifier changes model.
struct ClosingReceiver {
    CMIDIManager* manager;
    MessageRecorder received{};
    std::atomic<int> closeStatus = 1;
};

void closeOnMessage(void* userData, const uint8_t* bytes, uint32_t length) {
    auto* receiver = static_cast<ClosingReceiver*>(userData);
    receiver->closeStatus = receiver->manager->closeMidiIn() | receiver->manager->closeMidiOut();
    receiver->received.record(Bytes(bytes, bytes + length));
}

TEST_F(MIDIManagerTest, callbackAndAnotherThreadClosingTogetherNeverDeadlock) {
    ClosingReceiver receiver{manager};
    listEndpoints();
    for (int round = 0; round < 200; ++round) {
        ASSERT_EQ(openIn(0, closeOnMessage, &receiver), 0);
        amp->send(Bytes{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7});
        if (round % 2)
            std::this_thread::sleep_for(std::chrono::microseconds(round * 5));
        manager->closeMidiIn();
        EXPECT_FALSE(manager->isOpenedMidiIn());
    }
    EXPECT_GT(receiver.received.count(), 0u) << "the callback never got to close";
    EXPECT_EQ(receiver.closeStatus, 0);
    // A callback that closed the ports dropped the rest of its delivery.
    EXPECT_EQ(receiver.received.messages(), Messages(receiver.received.count(), sysex(1)));
    ASSERT_EQ(openIn(0), 0);  // as the utility thread reopens
    amp->send(sysex(2));
    EXPECT_EQ(receivedBeforeSentinel(), Messages{sysex(2)});
}

// A device plugged in again comes back under a new address: the connection to the old one is dead.
// (One that simply vanished is noticed on JACK, in midi/JackServiceTest.)
TEST_F(MIDIManagerTest, healthCheckClosesThePortsOfADeviceThatWasPluggedInAgain) {
    openBoth();
    manager->startMidiIn();
    manager->startMidiOut();
    manager->healthCheck();
    ASSERT_TRUE(manager->isOpenedMidiIn() && manager->isOpenedMidiOut());
    amp.reset();
    amp = addDevice("VelkSolvo/Ab 2");
    manager->healthCheck();
    EXPECT_FALSE(manager->isOpenedMidiIn() || manager->isOpenedMidiOut());
    EXPECT_FALSE(manager->isStartedMidiIn() || manager->isStartedMidiOut());
}

// ---- Sending

TEST_F(MIDIManagerTest, sendsWithoutAnOpenOutputReturnZeroAndSendNothing) {
    EXPECT_EQ(sendLong(sysex(1)), 0);
    EXPECT_EQ(faults.sendsInFlight(), 0);
}

// A send held on its way must hold the sender: the port manager returns only once it has gone.
TEST_F(MIDIManagerTest, longSendReturnsOnlyOnceTheMessageHasGone) {
    openBoth();
    for (const bool completedEarlierOnce : {false, true}) {
        SCOPED_TRACE(completedEarlierOnce ? "after a send that completed before its wait" : "first send");
        if (completedEarlierOnce) {
            faults.setCompleteBeforeReturn(true);
            ASSERT_EQ(sendLong(kSentinel), 0);
            faults.setCompleteBeforeReturn(false);
        }
        faults.setHolding(true);
        midi::test::Handoff<int> sendStatus;
        std::thread sending([&] { sendStatus.set(sendLong(kLong)); });
        while (faults.sendsInFlight() == 0)
            std::this_thread::yield();
        EXPECT_FALSE(sendStatus.wait(50ms));
        faults.setHolding(false);
        faults.release();
        sending.join();
        EXPECT_EQ(sendStatus.wait(), 0);
    }
    ASSERT_TRUE(atAmp.waitForCount(3));
    EXPECT_EQ(atAmp.messages(), (Messages{kLong, kSentinel, kLong}));
}

TEST_F(MIDIManagerTest, closingTheOutputEndsALongSendInFlightWithFailure) {
    openBoth();
    faults.setHolding(true);
    midi::test::Handoff<int> sendStatus;
    std::thread sending([&] { sendStatus.set(sendLong(kSentinel)); });
    while (faults.sendsInFlight() == 0)
        std::this_thread::yield();
    manager->closeMidiOut();
    sending.join();
    EXPECT_EQ(sendStatus.wait(), midi::kStatusCancelled);
}

// ---- Service

// No service at all: the port manager lists and opens nothing until one appears.
class MIDIManagerWithoutService : public MIDIManagerTest {
protected:
    void SetUp() override {
        serviceRunning = false;
        testing::internal::CaptureStderr();
        MIDIManagerTest::SetUp();
        log = testing::internal::GetCapturedStderr();
    }

    std::string log;
};

TEST_F(MIDIManagerWithoutService, logsTheFailureOpensAndSendsNothingAndPicksUpAServiceThatAppears) {
    EXPECT_THAT(log, testing::MatchesRegex("MIDIClientCreate returned error\\. \\(MIDIManager:[0-9]+\\)\n"));
    EXPECT_NE(manager->openMidiOut(0), 0) << "never listed";
    EXPECT_NE(manager->openMidiIn(0, recordMessage, nullptr, 512), 0);
    Names names;
    manager->getMidiInDevices(names);
    manager->getMidiOutDevices(names);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(manager->service(), nullptr);
    EXPECT_FALSE(manager->serviceUnavailableReason().empty());
    EXPECT_EQ(sendLong(kSentinel), 0);
    serviceRunning = true;
    manager->getMidiInDevices(names);
    EXPECT_EQ(names, Names{"VelkSolvo/Ab 2"});
    EXPECT_NE(manager->service(), nullptr);
    EXPECT_TRUE(manager->serviceUnavailableReason().empty());
}

// The search for the amp rewrites the reason on the utility thread while a window reads it (a race
// under ThreadSanitizer when it was handed out by reference).
TEST_F(MIDIManagerWithoutService, reasonMayBeReadWhileASearchRewritesIt) {
    std::thread search([this] {
        for (int i = 0; i < 200; ++i) {
            Names names;
            manager->getMidiInDevices(names);
        }
    });
    for (int i = 0; i < 200; ++i)
        EXPECT_FALSE(manager->serviceUnavailableReason().empty());
    search.join();
}

}  // namespace
