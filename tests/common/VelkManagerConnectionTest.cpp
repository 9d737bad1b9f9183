#include "VelkManagerFixture.h"

#include "midi/TracingMidiService.h"

#include <gtest/gtest.h>

#include <atomic>
#include <span>
#include <vector>

namespace {

using namespace velktest;

class Connection : public ManagerTest {
protected:
    // Passes every 10 ms of the clock for `ms`, answering eVelkEvent_NotConnected with
    // eVelkRequest_Open as the main window does.
    void runFor(uint64_t ms) {
        for (uint64_t elapsed = 0; elapsed < ms; elapsed += 10) {
            const size_t searches = events.count(eVelkEvent_NotConnected);
            manager->doRequestEvent();
            if (events.count(eVelkEvent_NotConnected) > searches)
                manager->sendRequest(eVelkRequest_Open, 0, 0);
            clock.advance(10);
        }
    }

    // Opens and runs the first pass with open ports, which asks for a heartbeat.
    void openAndPass() {
        manager->sendRequest(eVelkRequest_Open, 0, 0);
        manager->doRequestEvent();
        manager->doRequestEvent();
    }
};

TEST_F(Connection, withNoAmplifierOnlyNotConnectedComesEveryThreeSeconds) {
    amp.unplug();
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    runFor(9010);
    EXPECT_EQ(events.events(), Events(4, {eVelkEvent_NotConnected}));
}

TEST_F(Connection, amplifierListedOnOnlyOneSideIsNotOpened) {
    amp.unplug();
    for (const auto sides : {ScriptedAmp::Sides::SourceOnly, ScriptedAmp::Sides::DestinationOnly}) {
        ScriptedAmp halfListed(hub, "VelkSolvo/Half", sides);
        openAndPass();
        EXPECT_EQ(events.count(eVelkEvent_Opened), 0u);
        EXPECT_TRUE(halfListed.received().empty());
    }
}

TEST_F(Connection, firstMatchingDeviceWins) {
    amp.unplug();
    ScriptedAmp synth(hub, "Studio Synth");
    ScriptedAmp first(hub, "VelkSolvo/First");
    ScriptedAmp second(hub, "VelkSolvo/Second");
    first.answerLikeAnAmplifier(0x31);
    second.answerLikeAnAmplifier(0x32);
    openAndPass();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_EQ(events.events().back(), (SEvent{eVelkEvent_Connected, 1}));
    EXPECT_EQ(first.received(), std::vector<Bytes>{kHeartBeatRequest});
    EXPECT_TRUE(second.received().empty());
    EXPECT_TRUE(synth.received().empty());
}

TEST_F(Connection, fullReadIgnoresAmpTypesThatNameNoSlot) {
    connect(0x32);
    amp.answerLikeAnAmplifier(0x32, [](velk::sim::AmpState& head) {
        head.effectBlock[0] = 9;
        head.effectBlock[8] = 0x7F;
    });
    manager->sendAllBulkDump();
    EXPECT_STREQ(playBuffer(0).name, "Bypass");
    EXPECT_EQ(manager->getAmpType(1), 0x7F);
}

TEST_F(Connection, silenceDropsTheConnectionAtTheFirstCheckWithTheReplySixWholeSecondsOld) {
    connect(0x31);  // checks fall at 0, 3000, 6000, ... from here
    amp.setSilent();
    uint64_t droppedAt = 0;
    uint64_t searchingAt = 0;
    for (uint64_t elapsed = 0; elapsed <= 12000 && !searchingAt; elapsed += 10) {
        if (elapsed == 1500)
            receive(heartBeatReply(0x31));  // the last reply, one second of wall clock in
        manager->doRequestEvent();
        if (!droppedAt && events.count(eVelkEvent_Disconnected))
            droppedAt = elapsed;
        if (events.count(eVelkEvent_NotConnected))
            searchingAt = elapsed;
        clock.advance(10);
    }
    EXPECT_EQ(droppedAt, 9000u) << "at 6000 the reply is only five whole seconds old";
    EXPECT_EQ(searchingAt, 12000u);
    EXPECT_FALSE(manager->isConnected());
}

// The hub's service, which the test lets die the way a backend does when one of its threads fails.
class MortalService final : public midi::TracingMidiService {
public:
    explicit MortalService(std::shared_ptr<midi::MidiService> service)
        : TracingMidiService(std::move(service), std::make_shared<NoTrace>()) {}
    bool alive() const override { return !died; }

    std::atomic<bool> died = false;

private:
    struct NoTrace final : midi::TraceSink {
        void write(midi::TraceDirection, std::span<const uint8_t>) override {}
    };
};

class DeadService : public Connection {
protected:
    void SetUp() override {
        CMIDIManager::setServiceWrapper([this](std::shared_ptr<midi::MidiService> service) {
            opened.push_back(std::make_shared<MortalService>(std::move(service)));
            return opened.back();
        });
        Connection::SetUp();
    }
    void TearDown() override {
        Connection::TearDown();
        CMIDIManager::setServiceWrapper(nullptr);
    }

    std::vector<std::shared_ptr<MortalService>> opened;
};

TEST_F(DeadService, isOpenedAfreshAtTheNextPassAndTheAmplifierFoundOnIt) {
    connect(0x31);
    ASSERT_EQ(opened.size(), 1u);
    opened.back()->died = true;
    manager->doRequestEvent();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened.back()->alive());
    EXPECT_EQ(events.count(eVelkEvent_Disconnected), 1u);
    EXPECT_TRUE(events.waitFor(eVelkEvent_Opened));
}

}  // namespace
