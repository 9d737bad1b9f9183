// The simulator as the computer meets it: a device on the in-process MIDI hub, reached through
// the same service interface the editor uses.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "midi/MessageRecorder.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/EditorMessages.h"
#include "sim/VirtualDevicePorts.h"

namespace velk::sim {
namespace {

using namespace std::chrono_literals;
using namespace velk::sim::test;

class HubSimulatorTest : public testing::Test {
protected:
    void SetUp() override {
        head = std::make_unique<AmpSimulator>(std::make_unique<VirtualDevicePorts>(hub),
                                              AmpSimulator::Options{HeadModel::Dual, 110, {}});
        ASSERT_EQ(head->plug(), 0);
        service = hub.openService();
        ASSERT_EQ(service->openInput(service->sources().at(0),
                                     [this](const midi::PacketList& packets) {
                                         for (const midi::Packet& packet : packets)
                                             fromHead.record(packet.bytes);
                                     }),
                  0);
        ASSERT_EQ(service->openOutput(service->destinations().at(0)), 0);
    }

    void TearDown() override {
        service->closeInput();
        service->closeOutput();
    }

    // Sends like the editor does: returns once the service has sent the bytes.
    int send(const Bytes& message) {
        midi::test::Handoff<int> done;
        midi::SysexRequest request;
        request.data = message.data();
        request.length = static_cast<uint32_t>(message.size());
        request.completionRefCon = &done;
        request.completion = [](midi::SysexRequest* r) {
            static_cast<midi::test::Handoff<int>*>(r->completionRefCon)->set(r->status);
        };
        if (const int status = service->sendSysex(request); status != 0)
            return status;
        return done.wait().value_or(-1);
    }

    // Sends and waits for the head's answer, which is returned.
    Bytes exchange(const Bytes& message) {
        const size_t before = fromHead.count();
        EXPECT_EQ(send(message), 0);
        EXPECT_TRUE(fromHead.waitForCount(before + 1, 2s));
        const auto messages = fromHead.messages();
        return messages.size() > before ? messages[before] : Bytes{};
    }

    midi::VirtualMidiHub hub;
    std::unique_ptr<AmpSimulator> head;
    std::shared_ptr<midi::MidiService> service;
    midi::test::MessageRecorder fromHead;
};

TEST_F(HubSimulatorTest, showsItselfAsSourceAndDestinationNamedAfterItsModel) {
    ASSERT_EQ(service->sources().size(), 1u);
    EXPECT_EQ(service->sources()[0].name, "VelkSolvo/Dual");
    EXPECT_EQ(service->destinations()[0].name, "VelkSolvo/Dual");
}

TEST_F(HubSimulatorTest, answersHeartBeatAndVersion) {
    EXPECT_EQ(exchange(heartBeatRequest()), (Bytes{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x32, 0xF7}));
    EXPECT_EQ(exchange(mainVersionRequest()), parameterChange(0x70, 0x61, 0x00, 110));
}

TEST_F(HubSimulatorTest, previewLandsInPlayBufferByteForByte) {
    const FIRCOE record = sampleRecord("Preview 4x12", 8211);
    for (const Bytes& packet : coefficientStream(record, 1))
        EXPECT_EQ(exchange(packet), parameterChange(0x04, 0x42, 1, 0));
    EXPECT_TRUE(sameRecord(head->playBuffer(1), record));
}

TEST_F(HubSimulatorTest, unpluggedHeadLeavesTheServiceListsAndComesBack) {
    head->unplug();
    EXPECT_TRUE(service->sources().empty());
    EXPECT_TRUE(service->destinations().empty());
    ASSERT_EQ(head->plug(), 0);
    EXPECT_EQ(service->sources().size(), 1u);
}

TEST_F(HubSimulatorTest, vanishesFromTheListsInTheMiddleOfAStream) {
    head->editWireFaults([](WireFaults& w) { w.unplugOn(Request::CoefficientPacket, 5); });
    const auto packets = coefficientStream(sampleRecord("Cut", 1000), 0);
    for (int n = 0; n < 4; ++n)
        exchange(packets[n]);
    send(packets[4]);
    for (int wait = 0; wait < 400 && !service->sources().empty(); ++wait)
        std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(service->sources().empty());
    EXPECT_EQ(fromHead.count(), 4u);
    EXPECT_EQ(head->receivedCount(Request::CoefficientPacket), 5);
}

TEST_F(HubSimulatorTest, announcesAmpTypeChangeToTheComputer) {
    ASSERT_TRUE(head->changeAmpType(0, 3));
    ASSERT_TRUE(fromHead.waitForCount(1, 2s));
    EXPECT_EQ(fromHead.messages()[0], parameterChange(0x00, 0x40, 0, 3));
}

}  // namespace
}  // namespace velk::sim
