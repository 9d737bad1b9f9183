#include "midi/VirtualMidiHub.h"

#include "midi/MessageRecorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using midi::test::Bytes;
using midi::test::MessageRecorder;
using midi::test::numberedSysex;
using namespace std::chrono_literals;

// A send whose completion the test can wait for, with where and how it completed.
struct TrackedSend {
    explicit TrackedSend(Bytes message) : bytes(std::move(message)) {
        request.data = bytes.data();
        request.length = static_cast<uint32_t>(bytes.size());
        request.completion = [](midi::SysexRequest* done) {
            auto* self = static_cast<TrackedSend*>(done->completionRefCon);
            self->completionThread = std::this_thread::get_id();
            self->completed.set(done->status);
        };
        request.completionRefCon = this;
    }
    std::optional<int> waitForStatus() { return completed.wait(); }

    Bytes bytes;
    midi::SysexRequest request;
    std::thread::id completionThread;
    midi::test::Handoff<int> completed;
};

class VirtualMidiHubTest : public testing::Test {
protected:
    void SetUp() override {
        device = hub.addDevice("VelkSolvo/Ab 2",
                               [this](const midi::Packet& packet) { atDevice.record(packet.bytes); });
        service = hub.openService();
    }

    void openInput() {
        ASSERT_EQ(service->openInput(service->sources().at(0),
                                     [this](const midi::PacketList& packets) {
                                         for (const midi::Packet& packet : packets)
                                             atService.record(packet.bytes);
                                     }),
                  0);
    }
    void openOutput() { ASSERT_EQ(service->openOutput(service->destinations().at(0)), 0); }

    midi::VirtualMidiHub hub;
    MessageRecorder atDevice;
    MessageRecorder atService;
    std::unique_ptr<midi::VirtualDevice> device;
    std::shared_ptr<midi::MidiService> service;
};

TEST_F(VirtualMidiHubTest, listsDevicesAsSourcesAndDestinationsInCreationOrder) {
    auto inputOnly = hub.addDevice("Keys", nullptr, {.source = true, .destination = false});
    auto outputOnly = hub.addDevice("Lights", nullptr, {.source = false, .destination = true});

    auto sources = service->sources();
    auto destinations = service->destinations();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].name, "VelkSolvo/Ab 2");
    EXPECT_EQ(sources[1].name, "Keys");
    ASSERT_EQ(destinations.size(), 2u);
    EXPECT_EQ(destinations[0].name, "VelkSolvo/Ab 2");
    EXPECT_EQ(destinations[1].name, "Lights");
    EXPECT_EQ(sources[0].address, destinations[0].address);
    EXPECT_NE(sources[0].address, sources[1].address);
}

TEST_F(VirtualMidiHubTest, deviceReceivesSysexOnItsOwnThreadAndTheSendCompletesOnAnother) {
    openOutput();
    TrackedSend send(numberedSysex(532, 3));

    ASSERT_EQ(service->sendSysex(send.request), 0);
    EXPECT_EQ(send.waitForStatus(), 0);
    EXPECT_TRUE(send.request.complete);
    ASSERT_TRUE(atDevice.waitForCount(1));

    EXPECT_EQ(atDevice.messages()[0], send.bytes);
    EXPECT_NE(atDevice.threads()[0], std::this_thread::get_id());
    EXPECT_NE(send.completionThread, std::this_thread::get_id());
    EXPECT_NE(send.completionThread, atDevice.threads()[0]);
}

TEST_F(VirtualMidiHubTest, completesBeforeReturningWhenAsked) {
    hub.setCompleteBeforeReturn(true);
    openOutput();
    TrackedSend send(numberedSysex(11, 0));

    ASSERT_EQ(service->sendSysex(send.request), 0);

    EXPECT_TRUE(send.request.complete);
    EXPECT_EQ(send.completionThread, std::this_thread::get_id());
    EXPECT_EQ(send.waitForStatus(), 0);
}

TEST_F(VirtualMidiHubTest, keepsTheOrderOfMessagesBothWays) {
    openOutput();
    openInput();
    std::vector<std::unique_ptr<TrackedSend>> sends;
    for (uint8_t i = 0; i < 50; ++i) {
        sends.push_back(std::make_unique<TrackedSend>(numberedSysex(11 + i, i)));
        ASSERT_EQ(service->sendSysex(sends.back()->request), 0);
        device->send(numberedSysex(20 + i, i));
    }
    for (auto& send : sends)
        EXPECT_EQ(send->waitForStatus(), 0);
    ASSERT_TRUE(atDevice.waitForCount(50));
    ASSERT_TRUE(atService.waitForCount(50));
    for (uint8_t i = 0; i < 50; ++i) {
        EXPECT_EQ(atDevice.messages()[i], numberedSysex(11 + i, i));
        EXPECT_EQ(atService.messages()[i], numberedSysex(20 + i, i));
    }
}

TEST_F(VirtualMidiHubTest, deliversDeviceInputOnTheServicesInputThread) {
    openInput();
    device->send(midi::PacketList{{0, {0xF0, 0x01}}, {0, {0x02, 0xF7}}});

    ASSERT_TRUE(atService.waitForCount(2));
    EXPECT_EQ(atService.messages()[0], (Bytes{0xF0, 0x01}));
    EXPECT_EQ(atService.messages()[1], (Bytes{0x02, 0xF7}));
    EXPECT_NE(atService.threads()[0], std::this_thread::get_id());
}

TEST_F(VirtualMidiHubTest, sendLatencyDelaysArrivalAndCompletion) {
    hub.setSendLatency(100ms);
    openOutput();
    TrackedSend send(numberedSysex(11, 0));
    auto started = std::chrono::steady_clock::now();

    ASSERT_EQ(service->sendSysex(send.request), 0);
    EXPECT_EQ(send.waitForStatus(), 0);

    EXPECT_GE(std::chrono::steady_clock::now() - started, 100ms);
}

TEST_F(VirtualMidiHubTest, droppedSendsAreLostButStillComplete) {
    hub.dropSends(1);
    openOutput();
    TrackedSend lost(numberedSysex(11, 1));
    TrackedSend arrives(numberedSysex(11, 2));

    ASSERT_EQ(service->sendSysex(lost.request), 0);
    ASSERT_EQ(service->sendSysex(arrives.request), 0);

    EXPECT_EQ(lost.waitForStatus(), 0);
    EXPECT_EQ(arrives.waitForStatus(), 0);
    ASSERT_TRUE(atDevice.waitForCount(1));
    EXPECT_EQ(atDevice.messages(), std::vector<Bytes>{arrives.bytes});
}

TEST_F(VirtualMidiHubTest, closingTheOutputCancelsSendsInFlight) {
    hub.setSendLatency(200ms);
    openOutput();
    TrackedSend first(numberedSysex(11, 1));
    TrackedSend second(numberedSysex(11, 2));
    ASSERT_EQ(service->sendSysex(first.request), 0);
    ASSERT_EQ(service->sendSysex(second.request), 0);

    service->closeOutput();

    EXPECT_EQ(first.waitForStatus(), midi::kStatusCancelled);
    EXPECT_EQ(second.waitForStatus(), midi::kStatusCancelled);
    EXPECT_EQ(hub.sendsInFlight(), 0);
    EXPECT_EQ(atDevice.count(), 0u);
}

TEST_F(VirtualMidiHubTest, sendToAVanishedDestinationFails) {
    openOutput();
    device.reset();
    TrackedSend send(numberedSysex(11, 1));

    ASSERT_EQ(service->sendSysex(send.request), 0);

    EXPECT_EQ(send.waitForStatus(), midi::kStatusNoEndpoint);
}

TEST_F(VirtualMidiHubTest, refusesToOpenVanishedEndpointsAndSendsWithoutAnOutput) {
    midi::Endpoint gone = service->sources().at(0);
    device.reset();
    midi::SysexRequest request;
    Bytes bytes{0xF0, 0xF7};
    request.data = bytes.data();
    request.length = 2;

    EXPECT_EQ(service->openInput(gone, [](const midi::PacketList&) {}), midi::kStatusNoEndpoint);
    EXPECT_EQ(service->openOutput(gone), midi::kStatusNoEndpoint);
    EXPECT_EQ(service->sendSysex(request), midi::kStatusNotOpen);
    EXPECT_EQ(service->sendPacket(bytes.data(), 2), midi::kStatusNotOpen);
}

TEST_F(VirtualMidiHubTest, closeInputWaitsForTheRunningHandler) {
    std::atomic<bool> handlerRunning = false;
    std::atomic<bool> handlerFinished = false;
    ASSERT_EQ(service->openInput(service->sources().at(0),
                                 [&](const midi::PacketList&) {
                                     handlerRunning = true;
                                     std::this_thread::sleep_for(100ms);
                                     handlerFinished = true;
                                 }),
              0);
    device->send(Bytes{0xF0, 0xF7});
    while (!handlerRunning)
        std::this_thread::yield();

    service->closeInput();

    EXPECT_TRUE(handlerFinished);
}

TEST_F(VirtualMidiHubTest, closeInputFromTheHandlerDropsWhatIsStillQueued) {
    midi::test::Handoff<bool> secondQueued;
    midi::test::Handoff<bool> closedFromHandler;
    ASSERT_EQ(service->openInput(service->sources().at(0),
                                 [&](const midi::PacketList& packets) {
                                     atService.record(packets.at(0).bytes);
                                     secondQueued.wait();
                                     service->closeInput();
                                     closedFromHandler.set(true);
                                 }),
              0);
    device->send(Bytes{0xF0, 0x01, 0xF7});
    device->send(Bytes{0xF0, 0x02, 0xF7});
    secondQueued.set(true);
    // Reopening before the handler has closed would close from here instead, which is another case.
    ASSERT_TRUE(closedFromHandler.wait());

    openInput();  // on a new input thread: what the old one dropped cannot come late
    device->send(Bytes{0xF0, 0x03, 0xF7});
    ASSERT_TRUE(atService.waitForCount(2));

    EXPECT_EQ(atService.messages(), (std::vector<Bytes>{{0xF0, 0x01, 0xF7}, {0xF0, 0x03, 0xF7}}));
}

TEST_F(VirtualMidiHubTest, announcesEndpointChangesUntilTheHandlerIsRemoved) {
    std::atomic<int> changes = 0;
    service->setChangeHandler([&] { ++changes; });

    auto other = hub.addDevice("Other", nullptr);
    other.reset();
    EXPECT_EQ(changes, 2);

    service->setChangeHandler(nullptr);
    hub.addDevice("Third", nullptr).reset();
    EXPECT_EQ(changes, 2);
}

TEST_F(VirtualMidiHubTest, shortMessagesArriveAsOnePacketInOrderWithSysex) {
    openOutput();
    const uint8_t noteOn[] = {0x90, 0x40, 0x7F};
    TrackedSend after(numberedSysex(11, 0));

    ASSERT_EQ(service->sendPacket(noteOn, 3), 0);
    ASSERT_EQ(service->sendSysex(after.request), 0);
    EXPECT_EQ(after.waitForStatus(), 0);
    ASSERT_TRUE(atDevice.waitForCount(2));

    EXPECT_EQ(atDevice.messages()[0], (Bytes{0x90, 0x40, 0x7F}));
    EXPECT_EQ(atDevice.messages()[1], after.bytes);
}

}  // namespace
