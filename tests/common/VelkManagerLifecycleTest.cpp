#include "VelkManagerFixture.h"

#include "midi/TracingMidiService.h"

#include <gtest/gtest.h>

#include <atomic>
#include <span>
#include <thread>
#include <vector>

namespace {

using namespace velktest;
using LifeCycle = ManagerTest;

// ---- Creation and destruction

TEST_F(LifeCycle, terminateEndsTheUtilityThreadAndThePortManagerItCreated) {
    manager->start();
    EXPECT_NE(CMIDIManager::instance(), nullptr);
    ASSERT_TRUE(clock.awaitWaiters(1));
    CVelkManager::terminate();
    EXPECT_EQ(clock.waiterCount(), 0u);
    EXPECT_EQ(CMIDIManager::instance(), nullptr);
    CMIDIManager::initialize(nullptr, nullptr);
    CVelkManager::terminate();
    EXPECT_NE(CMIDIManager::instance(), nullptr) << "without a manager the port manager stays";
    CMIDIManager::terminate();
}

// Every amp type change the head announces is an event, so one heard after terminate would show.
TEST_F(LifeCycle, noMessageReachesADestroyedManager) {
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    std::atomic<bool> terminated = false;
    std::thread flood([&] {
        for (int afterwards = 0; afterwards < 200; afterwards += terminated ? 1 : 0)
            amp.send(ampTypeChange(0, 1));
    });
    EXPECT_TRUE(events.waitFor(eVelkEvent_AmpTypeChanged));
    CVelkManager::terminate();
    const size_t heard = events.events().size();
    terminated = true;
    flood.join();
    EXPECT_EQ(events.events().size(), heard);
}

// ---- Listeners

std::vector<std::pair<int, EVelkEventID>> gHeard;  // who heard what, in order

void hear(EVelkEventID id, int32_t, void* who) {
    gHeard.emplace_back(*static_cast<const int*>(who), id);
}
void hearToo(EVelkEventID id, int32_t data, void* who) {
    hear(id, data, who);
}
void removeSelf(EVelkEventID, int32_t, void*) {
    CVelkManager::instance()->removeListenerCallback(removeSelf);
}

TEST_F(LifeCycle, listenersHearInRegistrationOrderAndOneRemovalTakesTheFirstRegistration) {
    gHeard.clear();
    int first = 1, second = 2;
    manager->addListenerCallback(removeSelf, nullptr);
    manager->addListenerCallback(hear, &first);
    manager->addListenerCallback(hear, &second);
    manager->addListenerCallback(hearToo, &first);
    manager->notifyVelkEvent(eVelkEvent_AmpTypeChanged, 1);
    manager->removeListenerCallback(hear);
    manager->removeListenerCallback(EventRecorder::callback);
    manager->removeListenerCallback(EventRecorder::callback);  // no longer registered
    manager->notifyVelkEvent(eVelkEvent_Opened, 0);
    EXPECT_EQ(gHeard, (std::vector<std::pair<int, EVelkEventID>>{{1, eVelkEvent_AmpTypeChanged},
                                                                 {2, eVelkEvent_AmpTypeChanged},
                                                                 {1, eVelkEvent_AmpTypeChanged},
                                                                 {2, eVelkEvent_Opened},
                                                                 {1, eVelkEvent_Opened}}));
}

struct SBlocking {
    midi::test::Handoff<bool> entered;
    midi::test::Handoff<bool> release;
    std::atomic<int> calls = 0;
};

void blockOnce(EVelkEventID, int32_t, void* userData) {
    auto* blocking = static_cast<SBlocking*>(userData);
    if (blocking->calls++ == 0) {
        blocking->entered.set(true);
        blocking->release.wait();
    }
}

TEST_F(LifeCycle, listenerRemovalReturnsOnlyOnceNoOtherThreadIsCallingTheCallback) {
    SBlocking blocking;
    manager->addListenerCallback(blockOnce, &blocking);
    Background walk([&] { manager->notifyVelkEvent(eVelkEvent_Opened, 0); });
    ASSERT_TRUE(blocking.entered.wait());
    Background removal([&] { manager->removeListenerCallback(blockOnce); });
    EXPECT_FALSE(removal.finished(30ms));
    blocking.release.set(true);
    ASSERT_TRUE(removal.finished());
    ASSERT_TRUE(walk.finished());
    manager->notifyVelkEvent(eVelkEvent_Opened, 0);
    EXPECT_EQ(blocking.calls, 1);
}

// ---- The utility thread

TEST_F(LifeCycle, utilityEventsComeFromTheUtilityThreadAndRepliesFromTheInputThread) {
    amp.answerLikeAnAmplifier(0x32);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->start();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Opened));
    clock.advance(10);
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    const auto raised = events.events();
    ASSERT_EQ(raised, (Events{{eVelkEvent_NotConnected}, {eVelkEvent_Opened}, {eVelkEvent_Connected, 2}}));
    EXPECT_EQ(raised[0].thread, raised[1].thread);
    EXPECT_NE(raised[0].thread, std::this_thread::get_id());
    EXPECT_NE(raised[2].thread, raised[1].thread);
    EXPECT_NE(raised[2].thread, std::this_thread::get_id());
}

TEST_F(LifeCycle, utilityThreadPassesEveryTenMillisecondsWithAHeartBeatEveryHalfSecondAndWakesForARequest) {
    connect(0x31);
    manager->start();
    ASSERT_TRUE(clock.awaitWaiters(1));
    for (int pass = 1; pass <= 50; ++pass) {
        EXPECT_TRUE(amp.received().empty()) << "pass " << pass;
        const uint64_t started = clock.waitsStarted();
        clock.advance(10);
        ASSERT_TRUE(clock.awaitWaitsStarted(started + 1));
    }
    EXPECT_EQ(amp.received(1), std::vector<Bytes>{kHeartBeatRequest});
    const uint64_t before = clock.steadyMS();
    manager->sendRequest(eVelkRequest_ReverbType, 1, 3);
    EXPECT_EQ(amp.received(2).back(), parameterChange(0, 0x0B, 0, 3));
    EXPECT_EQ(clock.steadyMS(), before) << "a request posted while the thread sleeps needs no time to pass";
}

TEST_F(LifeCycle, stopLetsTheCurrentRequestFinishAndDiscardsTheRest) {
    connect(0x31);
    amp.setSilent();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    manager->start();
    ASSERT_EQ(amp.received(1).size(), 1u);
    Background stopping([&] { manager->stop(); });
    EXPECT_FALSE(stopping.finished(30ms)) << "the reply wait is not cut short";
    amp.send(parameterChange(0x70, 0x61, 0, 120));
    ASSERT_TRUE(stopping.finished());
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_MainVersion, 120}}));
    EXPECT_EQ(amp.received().size(), 1u);
    EXPECT_EQ(VelkManagerInspector::queuedRequests(*manager), 0u);
}

// ---- Finding and keeping the amplifier

class Connection : public ManagerTest {
protected:
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
    for (uint64_t elapsed = 0; elapsed <= 9000; elapsed += 10) {
        const size_t searches = events.count(eVelkEvent_NotConnected);
        manager->doRequestEvent();
        if (events.count(eVelkEvent_NotConnected) > searches)
            manager->sendRequest(eVelkRequest_Open, 0, 0);  // as the main window does
        clock.advance(10);
    }
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

// A reply five whole seconds old at a check keeps the connection; one six whole seconds old ends it.
TEST_F(Connection, silenceDropsTheConnectionAtTheFirstCheckWithTheReplySixWholeSecondsOld) {
    for (const uint64_t lastReplyAt : {1500u, 3500u}) {
        connect(0x31);  // checks fall at 0, 3000, 6000, ... from here
        amp.setSilent();
        uint64_t droppedAt = 0;
        uint64_t searchingAt = 0;
        for (uint64_t elapsed = 0; elapsed <= 12000 && !searchingAt; elapsed += 10) {
            if (elapsed == lastReplyAt)
                receive(heartBeatReply(0x31));
            manager->doRequestEvent();
            if (!droppedAt && events.count(eVelkEvent_Disconnected))
                droppedAt = elapsed;
            if (events.count(eVelkEvent_NotConnected))
                searchingAt = elapsed;
            clock.advance(10);
        }
        EXPECT_EQ(droppedAt, 9000u) << lastReplyAt;
        EXPECT_EQ(searchingAt, 12000u);
        EXPECT_FALSE(manager->isConnected());
        clock.advance(2990);  // the next check falls on the next connection
    }
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
