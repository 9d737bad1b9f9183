#include "sim/AmpSimulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "midi/MessageRecorder.h"
#include "sim/EditorMessages.h"

namespace velk::sim {
namespace {

using namespace std::chrono_literals;
using namespace velk::sim::test;

const Bytes kHeartBeat = {0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x32, 0xF7};

// Device ports with the computer played by the test: it injects bytes, which the head takes on the
// injecting thread, and hears everything the head sends, plugged or not.
class FakeDevicePorts : public DevicePorts {
public:
    struct Computer {
        void inject(const Bytes& bytes) {
            std::lock_guard lock(mutex);
            if (handler)
                handler(bytes);
        }

        std::mutex mutex;  // held while the handler runs, as a MIDI input holds its port
        ReceiveHandler handler;
        std::string name;
        midi::test::MessageRecorder sent;
    };

    explicit FakeDevicePorts(Computer& computer) : m_Computer(computer) {}

    int plug(const std::string& name, ReceiveHandler handler) override {
        std::lock_guard lock(m_Computer.mutex);
        m_Computer.name = name;
        m_Computer.handler = std::move(handler);
        return 0;
    }
    void unplug() override {
        std::lock_guard lock(m_Computer.mutex);
        m_Computer.handler = nullptr;
    }
    int send(std::span<const uint8_t> bytes) override {
        m_Computer.sent.record({bytes.begin(), bytes.end()});
        return 0;
    }

private:
    Computer& m_Computer;
};

class AmpSimulatorTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(head->plug(), 0); }

    // The nth message (from 0) the head sent, once it has come.
    Bytes sent(size_t n) {
        EXPECT_TRUE(computer.sent.waitForCount(n + 1));
        const auto messages = computer.sent.messages();
        return messages.size() > n ? messages[n] : Bytes{};
    }

    FakeDevicePorts::Computer computer;
    std::unique_ptr<AmpSimulator> head = std::make_unique<AmpSimulator>(
        std::make_unique<FakeDevicePorts>(computer), AmpSimulator::Options{HeadModel::Dual, 110, {}});
};

// Every reply waits 40 ms but the version's, which has a delay of its own.
TEST_F(AmpSimulatorTest, delaysRepliesAndSendsThemInOrderOfTheirDueTime) {
    head->editWireFaults([](WireFaults& w) {
        w.setReplyDelay(40ms);
        w.setReplyDelay(Request::MainVersion, 5ms);
    });
    const auto injected = std::chrono::steady_clock::now();
    computer.inject(kHeartBeatRequest);
    computer.inject(kMainVersionRequest);
    EXPECT_EQ(sent(0), parameterChange(0x70, 0x61, 0, 110));
    EXPECT_EQ(sent(1), kHeartBeat);
    const auto waited = std::chrono::steady_clock::now() - injected;
    EXPECT_GE(waited, 40ms);
    EXPECT_GE(head->totalReplyWait(), 45ms);
    EXPECT_LE(head->totalReplyWait(), 2 * waited);
}

TEST_F(AmpSimulatorTest, dropsOrDuplicatesChosenRepliesButTakesTheirMessages) {
    head->editWireFaults([](WireFaults& w) {
        w.dropReplies(Request::FlashWrite, 1);
        w.duplicateReplies(Request::FlashWrite, 1, 1);
    });
    computer.inject(parameterChange(0x04, 0x07, 0, 0));
    computer.inject(parameterChange(0x04, 0x07, 0, 1));
    computer.inject(parameterChange(0x04, 0x07, 0, 2));
    for (size_t n : {0, 1, 2})
        EXPECT_EQ(sent(n), parameterChange(0x04, 0x47, 0, 0)) << n;
    EXPECT_EQ(head->receivedCount(Request::FlashWrite), 3);
    EXPECT_EQ(computer.sent.count(), 3u);
}

TEST_F(AmpSimulatorTest, holdsRepliesUntilReleasedThenSendsThemInOrder) {
    head->editWireFaults([](WireFaults& w) { w.holdReplies(Request::Dump, true); });
    computer.inject(dumpRequest(10));
    computer.inject(dumpRequest(3));
    EXPECT_EQ(computer.sent.count(), 0u);
    head->releaseHeldReplies();
    EXPECT_EQ(sent(0)[10], 'U');
    EXPECT_EQ(sent(1)[13], '3');
}

TEST_F(AmpSimulatorTest, unplugLosesRepliesNotYetSent) {
    head->editWireFaults([](WireFaults& w) {
        w.setReplyDelay(500ms);
        w.holdReplies(Request::Dump, true);
    });
    computer.inject(kMainVersionRequest);
    computer.inject(dumpRequest(10));
    head->unplug();
    ASSERT_EQ(head->plug(), 0);
    head->releaseHeldReplies();
    computer.inject(kHeartBeatRequest);
    EXPECT_EQ(sent(0), kHeartBeat);  // due after the version reply, released after the dump
}

TEST_F(AmpSimulatorTest, turnedAmpTypeKnobPlaysThatSlotAndIsAnnouncedOnlyWhilePlugged) {
    EXPECT_TRUE(head->changeAmpType(1, 2));
    EXPECT_EQ(sent(0), parameterChange(0x00, 0x48, 0, 2));
    EXPECT_TRUE(sameRecord(head->playBuffer(1), head->firSlot(7)));

    head->unplug();
    EXPECT_TRUE(head->changeAmpType(0, 4));
    EXPECT_EQ(head->state().effectBlock[0], 4);
    for (const auto& [amp, type] : {std::pair{2, 0}, {0, 5}, {0, -1}})
        EXPECT_FALSE(head->changeAmpType(amp, type)) << amp << " " << type;
    EXPECT_EQ(computer.sent.count(), 1u);
}

TEST_F(AmpSimulatorTest, snapshotsHoldOnlyWhatWasStreamedWhileAStreamArrives) {
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
    bool whole = true;
    while (!done && whole) {
        const FIRCOE played = head->playBuffer(0);
        for (size_t n = 0; whole && n < FIRCOE::kCoefficientCount; n += 97) {
            const int16_t c = played.coe[n];
            whole = c == stock.coe[n] || c == first.coe[n] || c == second.coe[n];
        }
    }
    computerThread.join();
    EXPECT_TRUE(whole);
    EXPECT_TRUE(sameRecord(head->playBuffer(0), second));
}

}  // namespace
}  // namespace velk::sim
