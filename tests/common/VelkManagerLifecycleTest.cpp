#include "ScriptedAmp.h"
#include "VelkManagerFixture.h"

#include "common/MIDIManager.h"
#include "midi/VirtualMidiHub.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace velktest;

// ---- Creation and destruction

class LifeCycle : public testing::Test {
protected:
    void SetUp() override {
        mstd::setProcessClock(&clock);
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
    }
    void TearDown() override {
        CVelkManager::terminate();
        CMIDIManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
        mstd::setProcessClock(nullptr);
    }

    mstd::CManualClock clock;
    midi::VirtualMidiHub hub;
};

TEST_F(LifeCycle, terminateEndsTheUtilityThreadAndThePortManagerItCreated) {
    CVelkManager::instance()->start();
    EXPECT_NE(CMIDIManager::instance(), nullptr);
    ASSERT_TRUE(clock.awaitWaiters(1));
    CVelkManager::terminate();
    EXPECT_EQ(clock.waiterCount(), 0u);
    EXPECT_EQ(CMIDIManager::instance(), nullptr);
    CMIDIManager::initialize(nullptr, nullptr);
    CVelkManager::terminate();
    EXPECT_NE(CMIDIManager::instance(), nullptr) << "without a manager the port manager stays";
}

TEST_F(LifeCycle, noMessageReachesADestroyedManager) {
    ScriptedAmp amp(hub, "VelkSolvo/Amp");
    CVelkManager* manager = CVelkManager::instance();
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    std::atomic<bool> terminated = false;
    std::thread flood([&] {
        for (int afterwards = 0; afterwards < 200;) {
            amp.send(heartBeatReply(0x31));
            afterwards += terminated ? 1 : 0;
        }
    });
    CVelkManager::terminate();
    terminated = true;
    flood.join();
}

// ---- Listeners

class Listeners : public ManagerTest {
protected:
    struct SListener {
        Listeners* test;
        int number;
    };

    static void record(EVelkEventID id, int32_t, void* userData) {
        auto* listener = static_cast<SListener*>(userData);
        std::lock_guard lock(listener->test->m_CallsLock);
        listener->test->m_Calls.push_back({listener->number, id});
    }
    static void recordAgain(EVelkEventID id, int32_t data, void* userData) { record(id, data, userData); }

    std::vector<std::pair<int, EVelkEventID>> calls() {
        std::lock_guard lock(m_CallsLock);
        return m_Calls;
    }

    void raise(EVelkEventID id = eVelkEvent_Opened) { manager->notifyVelkEvent(id, 0); }

    SListener first{this, 1};
    SListener second{this, 2};
    std::mutex m_CallsLock;
    std::vector<std::pair<int, EVelkEventID>> m_Calls;
};

TEST_F(Listeners, hearEventsInRegistrationOrderAndOneRemovalTakesTheFirstRegistration) {
    manager->addListenerCallback(record, &first);
    manager->addListenerCallback(record, &second);
    manager->addListenerCallback(recordAgain, &first);
    raise(eVelkEvent_AmpTypeChanged);
    manager->removeListenerCallback(record);
    manager->removeListenerCallback(EventRecorder::callback);
    manager->removeListenerCallback(EventRecorder::callback);  // no longer registered
    raise();
    EXPECT_EQ(calls(), (std::vector<std::pair<int, EVelkEventID>>{{1, eVelkEvent_AmpTypeChanged},
                                                                  {2, eVelkEvent_AmpTypeChanged},
                                                                  {1, eVelkEvent_AmpTypeChanged},
                                                                  {2, eVelkEvent_Opened},
                                                                  {1, eVelkEvent_Opened}}));
}

void removeSelf(EVelkEventID, int32_t, void*) {
    CVelkManager::instance()->removeListenerCallback(removeSelf);
}

TEST_F(Listeners, callbackMayRemoveItselfWhileTheOthersStillHear) {
    manager->addListenerCallback(removeSelf, nullptr);
    manager->addListenerCallback(record, &first);
    raise();
    raise();
    EXPECT_EQ(calls().size(), 2u);
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

TEST_F(Listeners, removalReturnsOnlyOnceNoOtherThreadIsCallingTheCallback) {
    SBlocking blocking;
    manager->addListenerCallback(blockOnce, &blocking);
    Background walk([&] { raise(); });
    ASSERT_TRUE(blocking.entered.wait());
    Background removal([&] { manager->removeListenerCallback(blockOnce); });
    EXPECT_FALSE(removal.finished(30ms));
    blocking.release.set(true);
    ASSERT_TRUE(removal.finished());
    ASSERT_TRUE(walk.finished());
    raise();
    EXPECT_EQ(blocking.calls, 1);
}

TEST_F(Listeners, utilityEventsComeFromTheUtilityThreadAndRepliesFromTheInputThread) {
    amp.answerLikeAnAmplifier({.model = 0x32});
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->start();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Opened));
    clock.advance(10);
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    const auto raised = events.events();
    ASSERT_EQ(raised, (std::vector<SEvent>{event(eVelkEvent_NotConnected), event(eVelkEvent_Opened),
                                           event(eVelkEvent_Connected, 2)}));
    EXPECT_EQ(raised[0].thread, raised[1].thread);
    EXPECT_NE(raised[0].thread, std::this_thread::get_id());
    EXPECT_NE(raised[2].thread, raised[1].thread);
    EXPECT_NE(raised[2].thread, std::this_thread::get_id());
}

// ---- The utility thread

class UtilityThread : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        connect(0x31);
    }
};

TEST_F(UtilityThread, passesEveryTenMillisecondsWithAHeartBeatEveryHalfSecond) {
    manager->start();
    ASSERT_TRUE(clock.awaitWaiters(1));
    for (int pass = 1; pass <= 50; ++pass) {
        EXPECT_TRUE(amp.received().empty()) << "pass " << pass;
        const uint64_t started = clock.waitsStarted();
        clock.advance(10);
        ASSERT_TRUE(clock.awaitWaitsStarted(started + 1));
    }
    EXPECT_EQ(amp.awaitReceived(1), std::vector<Bytes>{parameterChange(0x70, 0x01, 0, 0)});
}

TEST_F(UtilityThread, requestPostedWhileItSleepsIsCarriedOutAtOnce) {
    manager->start();
    ASSERT_TRUE(clock.awaitWaiters(1));
    const uint64_t before = clock.steadyMS();
    manager->sendRequest(eVelkRequest_ReverbType, 1, 3);
    EXPECT_EQ(amp.awaitReceived(1), std::vector<Bytes>{parameterChange(0, 0x0B, 0, 3)});
    EXPECT_EQ(clock.steadyMS(), before) << "no time had to pass";
}

TEST_F(UtilityThread, stopLetsTheCurrentRequestFinishAndDiscardsTheRest) {
    amp.setSilent();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    manager->start();
    ASSERT_EQ(amp.awaitReceived(1).size(), 1u);
    Background stopping([&] { manager->stop(); });
    EXPECT_FALSE(stopping.finished(30ms)) << "the reply wait is not cut short";
    amp.send(parameterChange(0x70, 0x61, 0, 120));
    ASSERT_TRUE(stopping.finished());
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_MainVersion, 120)});
    EXPECT_EQ(amp.received().size(), 1u);
    EXPECT_EQ(VelkManagerInspector::queuedRequests(*manager), 0u);
}

// ---- On the real clock

class RealClock : public testing::Test {
protected:
    void SetUp() override {
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        amp.answerLikeAnAmplifier({.model = 0x32, .version = 45});
        manager = CVelkManager::instance();
        manager->addListenerCallback(EventRecorder::callback, &events);
        manager->start();
        manager->sendRequest(eVelkRequest_Open, 0, 0);
    }
    void TearDown() override {
        CVelkManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
    }

    midi::VirtualMidiHub hub;
    ScriptedAmp amp{hub, "VelkSolvo/Amp"};
    EventRecorder events;
    CVelkManager* manager = nullptr;
};

TEST_F(RealClock, connectsReadsAndPreviewsAsTheWindowsDrive) {
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    manager->setSpeakerTabFIRCOE(recordWithPattern("Real", 4115, 8));
    manager->sendRequest(eVelkRequest_FIRCOE, 1, 0);
    ASSERT_TRUE(events.waitFor(eVelkEvent_FIRCOESent));
    EXPECT_EQ(events.count(eVelkEvent_MainVersion), 1u);
    EXPECT_EQ(events.count(eVelkEvent_AllDataReceived), 1u);
    EXPECT_EQ(events.count(eVelkEvent_Error), 0u);
    EXPECT_EQ(events.count(eVelkEvent_Disconnected), 0u);
}

TEST_F(RealClock, heartBeatsKeepTheConnectionAliveBeyondTheSilenceLimit) {
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_FALSE(events.waitFor(eVelkEvent_Disconnected, 1, 6500ms));
    EXPECT_GE(amp.received().size(), 12u);
}

}  // namespace
