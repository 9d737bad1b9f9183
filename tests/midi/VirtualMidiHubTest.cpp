#include "midi/VirtualMidiHub.h"

#include "midi/MessageRecorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using midi::test::Bytes;
using midi::test::MessageRecorder;
using midi::test::numberedSysex;
using Messages = std::vector<Bytes>;
using namespace std::chrono_literals;

// A send whose completion the test can wait for, with the thread it completed on.
struct TrackedSend {
    explicit TrackedSend(Bytes message) : bytes(std::move(message)) {
        request.data = bytes.data();
        request.length = static_cast<uint32_t>(bytes.size());
        request.completionRefCon = this;
        request.completion = [](midi::SysexRequest* done) {
            auto* self = static_cast<TrackedSend*>(done->completionRefCon);
            self->completionThread = std::this_thread::get_id();
            self->completed.set(done->status);
        };
    }

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

    // By default into atService.
    void openInput(midi::MidiService::InputHandler handler = nullptr) {
        auto record = [this](const midi::PacketList& packets) {
            for (const midi::Packet& packet : packets)
                atService.record(packet.bytes);
        };
        ASSERT_EQ(service->openInput(service->sources().at(0), handler ? handler : record), 0);
    }
    void openOutput() { ASSERT_EQ(service->openOutput(service->destinations().at(0)), 0); }

    midi::VirtualMidiHub hub;
    MessageRecorder atDevice;
    MessageRecorder atService;
    std::unique_ptr<midi::VirtualDevice> device;
    std::shared_ptr<midi::MidiService> service;
};

TEST_F(VirtualMidiHubTest, carriesMessagesBothWaysInOrderEachOnAThreadOfItsOwn) {
    openOutput();
    openInput();
    const Bytes noteOn{0x90, 0x40, 0x7F};
    ASSERT_EQ(service->sendPacket(noteOn.data(), 3), 0);
    Messages toDevice{noteOn};
    Messages toService;
    std::vector<std::unique_ptr<TrackedSend>> sends;
    for (uint8_t i = 0; i < 50; ++i) {
        sends.push_back(std::make_unique<TrackedSend>(numberedSysex(11 + i * 10, i)));
        ASSERT_EQ(service->sendSysex(sends.back()->request), 0);
        toDevice.push_back(sends.back()->bytes);
        device->send(midi::PacketList{{0, {0xF0, i}}, {0, {0x02, 0xF7}}});  // packets stay apart
        toService.insert(toService.end(), {{0xF0, i}, {0x02, 0xF7}});
    }
    for (auto& send : sends) {
        EXPECT_EQ(send->completed.wait(), 0);
        EXPECT_TRUE(send->request.complete);
    }
    ASSERT_TRUE(atDevice.waitForCount(toDevice.size()));
    ASSERT_TRUE(atService.waitForCount(toService.size()));
    EXPECT_EQ(atDevice.messages(), toDevice);
    EXPECT_EQ(atService.messages(), toService);
    const std::thread::id test = std::this_thread::get_id();
    EXPECT_NE(atDevice.threads().at(0), test);
    EXPECT_NE(atService.threads().at(0), test);
    EXPECT_NE(sends[0]->completionThread, test);
    EXPECT_NE(sends[0]->completionThread, atDevice.threads().at(0));
}

TEST_F(VirtualMidiHubTest, refusesVanishedEndpointsAndSendsWithoutAnOutput) {
    openOutput();
    const midi::Endpoint gone = service->sources().at(0);
    device.reset();
    TrackedSend toVanished(numberedSysex(11, 1));
    ASSERT_EQ(service->sendSysex(toVanished.request), 0);
    EXPECT_EQ(toVanished.completed.wait(), midi::kStatusNoEndpoint);

    EXPECT_EQ(service->openInput(gone, [](const midi::PacketList&) {}), midi::kStatusNoEndpoint);
    EXPECT_EQ(service->openOutput(gone), midi::kStatusNoEndpoint);
    TrackedSend withoutOutput(numberedSysex(11, 2));
    EXPECT_EQ(service->sendSysex(withoutOutput.request), midi::kStatusNotOpen);
    EXPECT_EQ(service->sendPacket(withoutOutput.bytes.data(), 2), midi::kStatusNotOpen);
}

TEST_F(VirtualMidiHubTest, closeInputWaitsForTheRunningHandler) {
    std::atomic<bool> handlerRunning = false;
    std::atomic<bool> handlerFinished = false;
    openInput([&](const midi::PacketList&) {
        handlerRunning = true;
        std::this_thread::sleep_for(100ms);
        handlerFinished = true;
    });
    device->send(Bytes{0xF0, 0xF7});
    while (!handlerRunning)
        std::this_thread::yield();
    service->closeInput();
    EXPECT_TRUE(handlerFinished);
}

TEST_F(VirtualMidiHubTest, closeInputFromTheHandlerDropsWhatIsStillQueued) {
    midi::test::Handoff<bool> secondQueued;
    midi::test::Handoff<bool> closedFromHandler;
    openInput([&](const midi::PacketList& packets) {
        atService.record(packets.at(0).bytes);
        secondQueued.wait();
        service->closeInput();
        closedFromHandler.set(true);
    });
    device->send(Bytes{0xF0, 0x01, 0xF7});
    device->send(Bytes{0xF0, 0x02, 0xF7});
    secondQueued.set(true);
    // Reopening before the handler has closed would close from here instead, which is another case.
    ASSERT_TRUE(closedFromHandler.wait());

    openInput();  // on a new input thread: what the old one dropped cannot come late
    device->send(Bytes{0xF0, 0x03, 0xF7});
    ASSERT_TRUE(atService.waitForCount(2));
    EXPECT_EQ(atService.messages(), (Messages{{0xF0, 0x01, 0xF7}, {0xF0, 0x03, 0xF7}}));
}

TEST_F(VirtualMidiHubTest, announcesEndpointChangesUntilTheHandlerIsRemoved) {
    std::atomic<int> changes = 0;
    service->setChangeHandler([&] { ++changes; });
    hub.addDevice("Other", nullptr).reset();
    EXPECT_EQ(changes, 2);
    service->setChangeHandler(nullptr);
    hub.addDevice("Third", nullptr).reset();
    EXPECT_EQ(changes, 2);
}

}  // namespace
