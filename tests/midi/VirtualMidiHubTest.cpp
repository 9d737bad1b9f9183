// What the port manager's suite does not reach through the hub: the threads it delivers on, what a
// close waits for or drops, and change handlers that go.
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

class VirtualMidiHubTest : public testing::Test {
protected:
    void SetUp() override {
        device = hub.addDevice("VelkSolvo/Ab 2",
                               [this](const midi::Packet& packet) { atDevice.record(packet.bytes); });
        service = hub.openService();
    }

    // By default into atService.
    void openInput(midi::MidiService::InputHandler handler = nullptr) {
        ASSERT_EQ(service->openInput(service->sources().at(0),
                                     handler ? handler : midi::test::recorderFor(atService)),
                  0);
    }

    midi::VirtualMidiHub hub;
    MessageRecorder atDevice;
    MessageRecorder atService;
    std::unique_ptr<midi::VirtualDevice> device;
    std::shared_ptr<midi::MidiService> service;
};

TEST_F(VirtualMidiHubTest, carriesMessagesBothWaysInOrderEachOnAThreadOfItsOwn) {
    ASSERT_EQ(service->openOutput(service->destinations().at(0)), 0);
    openInput();
    Messages toDevice;
    Messages toService;
    for (uint8_t i = 0; i < 50; ++i) {
        toDevice.push_back(numberedSysex(11 + i * 10, i));
        ASSERT_EQ(midi::test::sendSysexAndWait(*service, toDevice.back()), 0);
        device->send(midi::PacketList{{0, {0xF0, i}}, {0, {0x02, 0xF7}}});  // packets stay apart
        toService.insert(toService.end(), {{0xF0, i}, {0x02, 0xF7}});
    }
    ASSERT_TRUE(atDevice.waitForCount(toDevice.size()));
    ASSERT_TRUE(atService.waitForCount(toService.size()));
    EXPECT_EQ(atDevice.messages(), toDevice);
    EXPECT_EQ(atService.messages(), toService);
    const std::thread::id test = std::this_thread::get_id();
    EXPECT_NE(atDevice.threads().at(0), test);
    EXPECT_NE(atService.threads().at(0), test);
    // A send completes on the service's output thread, never on the sender's.
    midi::test::Handoff<std::thread::id> completedOn;
    midi::SysexRequest request{.data = toDevice[0].data(),
                               .length = static_cast<uint32_t>(toDevice[0].size())};
    request.completionRefCon = &completedOn;
    request.completion = [](midi::SysexRequest* sent) {
        static_cast<midi::test::Handoff<std::thread::id>*>(sent->completionRefCon)
            ->set(std::this_thread::get_id());
    };
    ASSERT_EQ(service->sendSysex(request), 0);
    EXPECT_NE(completedOn.wait(), test);
}

TEST_F(VirtualMidiHubTest, closeInputWaitsForTheRunningHandler) {
    midi::test::Handoff<bool> running;
    std::atomic<bool> finished = false;
    openInput([&](const midi::PacketList&) {
        running.set(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        finished = true;
    });
    device->send(Bytes{0xF0, 0xF7});
    ASSERT_TRUE(running.wait());
    service->closeInput();
    EXPECT_TRUE(finished);
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

// That changes are announced is the port manager suite's.
TEST_F(VirtualMidiHubTest, announcesNoEndpointChangeOnceTheHandlerIsRemoved) {
    std::atomic<int> changes = 0;
    service->setChangeHandler([&] { ++changes; });
    service->setChangeHandler(nullptr);
    hub.addDevice("Other", nullptr).reset();
    EXPECT_EQ(changes, 0);
}

}  // namespace
