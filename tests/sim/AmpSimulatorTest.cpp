#include "sim/AmpSimulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "sim/EditorMessages.h"
#include "sim/FakeDevicePorts.h"

namespace velk::sim {
namespace {

using namespace std::chrono_literals;
using namespace velk::sim::test;

constexpr auto kPatience = 2000ms;

class AmpSimulatorTest : public testing::Test {
protected:
    std::unique_ptr<AmpSimulator> makeSimulator(HeadModel model, std::string portName = {}) {
        auto simulator =
            std::make_unique<AmpSimulator>(std::make_unique<FakeDevicePorts>(computer),
                                           AmpSimulator::Options{model, 110, std::move(portName)});
        EXPECT_EQ(simulator->plug(), 0);
        return simulator;
    }

    FakeDevicePorts::Shared computer;
};

TEST_F(AmpSimulatorTest, plugsUnderNameOfItsModelOrTheGivenOne) {
    auto dual = makeSimulator(HeadModel::Dual);
    EXPECT_EQ(computer.name, "VelkSolvo/Dual");
    dual.reset();
    auto single = makeSimulator(HeadModel::Single);
    EXPECT_EQ(computer.name, "VelkSolvo/Single");
    single.reset();
    auto named = makeSimulator(HeadModel::Single, "VelkSolvo/Bench");
    EXPECT_EQ(computer.name, "VelkSolvo/Bench");
}

TEST_F(AmpSimulatorTest, answersThroughItsPortsAndLogsWhatArrived) {
    auto head = makeSimulator(HeadModel::Single);
    ASSERT_TRUE(computer.inject(heartBeatRequest()));
    ASSERT_TRUE(computer.waitForSent(1, kPatience));
    EXPECT_EQ(computer.sentMessages()[0], (Bytes{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x31, 0xF7}));
    const auto received = head->received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].request, Request::HeartBeat);
    EXPECT_EQ(received[0].bytes, heartBeatRequest());
}

TEST_F(AmpSimulatorTest, assemblesMessageSplitAcrossDeliveries) {
    auto head = makeSimulator(HeadModel::Dual);
    const Bytes message = parameterChange(0x00, 0x09, 0, 2);
    computer.inject(Bytes(message.begin(), message.begin() + 4));
    computer.inject({0xF8});
    computer.inject(Bytes(message.begin() + 4, message.end()));
    EXPECT_EQ(head->state().effectBlock[9], 2);
}

TEST_F(AmpSimulatorTest, silentHeadTakesNothingAndAnswersNothing) {
    auto head = makeSimulator(HeadModel::Dual);
    head->setSilent(true);
    computer.inject(parameterChange(0x00, 0x01, 0, 2));
    computer.inject(heartBeatRequest());
    EXPECT_EQ(head->state().effectBlock[1], 0);
    EXPECT_EQ(head->received().size(), 2u);
    EXPECT_EQ(head->receivedCount(Request::HeartBeat), 0);

    head->setSilent(false);
    computer.inject(heartBeatRequest());
    EXPECT_TRUE(computer.waitForSent(1, kPatience));
    EXPECT_EQ(computer.sentMessages().size(), 1u);
}

TEST_F(AmpSimulatorTest, delaysRepliesByTheConfiguredTime) {
    auto head = makeSimulator(HeadModel::Dual);
    head->editWireFaults([](WireFaults& w) { w.setReplyDelay(30ms); });
    const auto injected = std::chrono::steady_clock::now();
    computer.inject(mainVersionRequest());
    ASSERT_TRUE(computer.waitForSent(1, kPatience));
    EXPECT_GE(computer.sentAt[0] - injected, 30ms);
    EXPECT_GE(head->totalReplyWait(), 30ms);
    EXPECT_LE(head->totalReplyWait(), computer.sentAt[0] - injected);
}

TEST_F(AmpSimulatorTest, sendsDelayedRepliesInOrderOfTheirDueTime) {
    auto head = makeSimulator(HeadModel::Dual);
    head->editWireFaults([](WireFaults& w) {
        w.setReplyDelay(Request::HeartBeat, 40ms);
        w.setReplyDelay(Request::MainVersion, 5ms);
    });
    computer.inject(heartBeatRequest());
    computer.inject(mainVersionRequest());
    ASSERT_TRUE(computer.waitForSent(2, kPatience));
    const auto sent = computer.sentMessages();
    EXPECT_EQ(sent[0][3], 0x10);  // the version reply
    EXPECT_EQ(sent[1][3], 0x60);  // the heartbeat reply
}

TEST_F(AmpSimulatorTest, dropsChosenRepliesButTakesTheirMessages) {
    auto head = makeSimulator(HeadModel::Dual);
    head->editWireFaults([](WireFaults& w) { w.dropReplies(Request::FlashWrite, 1); });
    computer.inject(parameterChange(0x04, 0x07, 0, 0));
    computer.inject(parameterChange(0x04, 0x07, 0, 0));
    ASSERT_TRUE(computer.waitForSent(1, kPatience));
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 2);
    EXPECT_EQ(computer.sentMessages().size(), 1u);
}

TEST_F(AmpSimulatorTest, holdsRepliesUntilReleasedThenSendsThemInOrder) {
    auto head = makeSimulator(HeadModel::Dual);
    head->editWireFaults([](WireFaults& w) { w.holdReplies(Request::Dump, true); });
    computer.inject(dumpRequest(10));
    computer.inject(dumpRequest(3));
    EXPECT_TRUE(computer.sentMessages().empty());
    head->releaseHeldReplies();
    ASSERT_TRUE(computer.waitForSent(2, kPatience));
    const auto sent = computer.sentMessages();
    EXPECT_EQ(sent[0][10], 'U');
    EXPECT_EQ(sent[1][13], '3');
}

TEST_F(AmpSimulatorTest, vanishesOnChosenPacketAndComesBackWithItsState) {
    auto head = makeSimulator(HeadModel::Dual);
    head->editWireFaults([](WireFaults& w) { w.unplugOn(Request::CoefficientPacket, 3); });
    const FIRCOE record = sampleRecord("Half", 4000);
    const auto packets = coefficientStream(record, 0);
    for (int n = 0; n < 3; ++n)
        computer.inject(packets[n]);
    for (int wait = 0; wait < 200 && computer.isPlugged(); ++wait)
        std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(computer.isPlugged());
    EXPECT_FALSE(head->isPlugged());
    EXPECT_EQ(computer.sentMessages().size(), 2u);
    const FIRCOE played = head->playBuffer(0);
    EXPECT_EQ(std::memcmp(&played, &record, 3 * 448), 0);

    ASSERT_EQ(head->plug(), 0);
    EXPECT_EQ(computer.plugCount, 2);
    computer.inject(heartBeatRequest());
    EXPECT_TRUE(computer.waitForSent(3, kPatience));
    const FIRCOE kept = head->playBuffer(0);
    EXPECT_EQ(std::memcmp(&kept, &record, 3 * 448), 0);
}

TEST_F(AmpSimulatorTest, unplugLosesRepliesNotYetSent) {
    auto head = makeSimulator(HeadModel::Dual);
    head->editWireFaults([](WireFaults& w) { w.setReplyDelay(30ms); });
    computer.inject(heartBeatRequest());
    head->unplug();
    std::this_thread::sleep_for(60ms);
    EXPECT_TRUE(computer.sentMessages().empty());
    EXPECT_FALSE(computer.inject(heartBeatRequest()));
}

TEST_F(AmpSimulatorTest, announcesAmpTypeChangeOnlyWhilePlugged) {
    auto head = makeSimulator(HeadModel::Dual);
    EXPECT_TRUE(head->changeAmpType(1, 2));
    ASSERT_TRUE(computer.waitForSent(1, kPatience));
    EXPECT_EQ(computer.sentMessages()[0], parameterChange(0x00, 0x48, 0, 2));

    head->unplug();
    EXPECT_TRUE(head->changeAmpType(0, 4));
    EXPECT_EQ(head->state().effectBlock[0], 4);
    EXPECT_EQ(computer.sentMessages().size(), 1u);
    EXPECT_FALSE(head->changeAmpType(0, 5));
}

TEST_F(AmpSimulatorTest, switchedHeadAnswersWithOtherModel) {
    auto head = makeSimulator(HeadModel::Single);
    head->switchModel(HeadModel::Dual);
    computer.inject(heartBeatRequest());
    ASSERT_TRUE(computer.waitForSent(1, kPatience));
    EXPECT_EQ(computer.sentMessages()[0][7], 0x32);
    EXPECT_EQ(head->state().model, HeadModel::Dual);
}

TEST_F(AmpSimulatorTest, appliesAmpFaults) {
    auto head = makeSimulator(HeadModel::Dual);
    head->editAmpFaults([](AmpFaults& f) { f.rejectedPackets.set(0); });
    computer.inject(coefficientStream(sampleRecord("X", 1), 1)[0]);
    ASSERT_TRUE(computer.waitForSent(1, kPatience));
    EXPECT_EQ(computer.sentMessages()[0], parameterChange(0x04, 0x42, 1, 1));
}

TEST_F(AmpSimulatorTest, snapshotsHoldOnlyWhatWasStreamedWhileAStreamArrives) {
    auto head = makeSimulator(HeadModel::Dual);
    const FIRCOE stock = head->playBuffer(0);
    const FIRCOE first = sampleRecord("First", 1000);
    FIRCOE second = sampleRecord("Second", 2000);
    for (auto& c : second.coe)
        c = static_cast<int16_t>(-c);
    std::atomic<bool> done = false;
    std::thread computerThread([&] {
        for (int round = 0; round < 20; ++round)
            for (const Bytes& packet : coefficientStream(round % 2 ? second : first, 0))
                computer.inject(packet);
        done = true;
    });
    while (!done) {
        const FIRCOE played = head->playBuffer(0);
        for (size_t n = 0; n < FIRCOE::kCoefficientCount; n += 97) {
            const int16_t c = played.coe[n];
            ASSERT_TRUE(c == stock.coe[n] || c == first.coe[n] || c == second.coe[n]) << n;
        }
    }
    computerThread.join();
    EXPECT_TRUE(sameRecord(head->playBuffer(0), second));
}

}  // namespace
}  // namespace velk::sim
