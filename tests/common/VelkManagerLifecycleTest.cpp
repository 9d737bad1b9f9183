#include "ScriptedAmp.h"
#include "VelkManagerFixture.h"

#include "common/MIDIManager.h"
#include "midi/VirtualMidiHub.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
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

TEST_F(LifeCycle, instanceCreatesTheManagerAndItsPortManagerOnDemand) {
    CVelkManager* manager = CVelkManager::instance();
    ASSERT_NE(manager, nullptr);
    EXPECT_NE(CMIDIManager::instance(), nullptr);
    CVelkManager::initialize();
    EXPECT_EQ(CVelkManager::instance(), manager);
}

TEST_F(LifeCycle, terminateDestroysTheManagerThenThePortManager) {
    CVelkManager::initialize();
    CVelkManager::terminate();
    EXPECT_EQ(CMIDIManager::instance(), nullptr);
    EXPECT_NE(CVelkManager::instance(), nullptr) << "instance() creates a new one";
}

TEST_F(LifeCycle, terminateWithoutAManagerLeavesThePortManager) {
    CMIDIManager::initialize(nullptr, nullptr);
    CVelkManager::terminate();
    EXPECT_NE(CMIDIManager::instance(), nullptr);
}

TEST_F(LifeCycle, terminateEndsTheRunningUtilityThread) {
    CVelkManager::instance()->start();
    ASSERT_TRUE(clock.awaitWaiters(1));
    CVelkManager::terminate();
    EXPECT_EQ(clock.waiterCount(), 0u);
}

TEST_F(LifeCycle, noMessageReachesADestroyedManager) {
    ScriptedAmp amp(hub, "VelkSolvo/Amp");
    CVelkManager* manager = CVelkManager::instance();
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    std::atomic<bool> flooding = true;
    std::thread flood([&] {
        while (flooding)
            amp.send(heartBeatReply(0x31));
    });
    CVelkManager::terminate();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    flooding = false;
    flood.join();
}

// ---- Listeners

struct SCall {
    int listener;
    EVelkEventID id;
    int32_t data;
    bool operator==(const SCall&) const = default;
};
void PrintTo(const SCall& call, std::ostream* os) {
    *os << "{listener " << call.listener << ", event " << call.id << "}";
}

class Listeners : public ManagerTest {
protected:
    struct SListener {
        Listeners* test;
        int number;
    };

    static void record(EVelkEventID id, int32_t data, void* userData) {
        auto* listener = static_cast<SListener*>(userData);
        std::lock_guard lock(listener->test->m_CallsLock);
        listener->test->m_Calls.push_back({listener->number, id, data});
    }
    static void recordAgain(EVelkEventID id, int32_t data, void* userData) { record(id, data, userData); }

    std::vector<SCall> calls() {
        std::lock_guard lock(m_CallsLock);
        return m_Calls;
    }

    void raise(EVelkEventID id = eVelkEvent_Opened, int32_t data = 0) { manager->notifyVelkEvent(id, data); }

    SListener first{this, 1};
    SListener second{this, 2};
    std::mutex m_CallsLock;
    std::vector<SCall> m_Calls;
};

TEST_F(Listeners, hearEveryEventInRegistrationOrder) {
    manager->addListenerCallback(record, &first);
    manager->addListenerCallback(recordAgain, &second);
    raise(eVelkEvent_AmpTypeChanged, 1);
    EXPECT_EQ(calls(),
              (std::vector<SCall>{{1, eVelkEvent_AmpTypeChanged, 1}, {2, eVelkEvent_AmpTypeChanged, 1}}));
}

TEST_F(Listeners, sameCallbackRegisteredTwiceRunsTwiceAndOneRemovalTakesTheFirst) {
    manager->addListenerCallback(record, &first);
    manager->addListenerCallback(record, &second);
    raise();
    manager->removeListenerCallback(record);
    raise();
    EXPECT_EQ(calls(), (std::vector<SCall>{
                           {1, eVelkEvent_Opened, 0}, {2, eVelkEvent_Opened, 0}, {2, eVelkEvent_Opened, 0}}));
}

TEST_F(Listeners, removingAnUnregisteredCallbackChangesNothing) {
    manager->addListenerCallback(record, &first);
    manager->removeListenerCallback(recordAgain);
    raise();
    EXPECT_EQ(calls().size(), 1u);
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
    std::promise<void> entered;
    std::shared_future<void> release;
    std::atomic<int> calls = 0;
};

void blockOnce(EVelkEventID, int32_t, void* userData) {
    auto* blocking = static_cast<SBlocking*>(userData);
    if (blocking->calls++ == 0) {
        blocking->entered.set_value();
        blocking->release.wait();
    }
}

TEST_F(Listeners, removalReturnsOnlyOnceNoOtherThreadIsCallingTheCallback) {
    std::promise<void> release;
    SBlocking blocking{{}, release.get_future().share()};
    manager->addListenerCallback(blockOnce, &blocking);
    auto walk = std::async(std::launch::async, [&] { raise(); });
    blocking.entered.get_future().wait();
    auto removal = std::async(std::launch::async, [&] { manager->removeListenerCallback(blockOnce); });
    EXPECT_EQ(removal.wait_for(30ms), std::future_status::timeout);
    release.set_value();
    removal.get();
    walk.get();
    raise();
    EXPECT_EQ(blocking.calls, 1);
}

// ---- Which thread raises what

TEST_F(Listeners, utilityEventsComeFromTheUtilityThreadAndRepliesFromTheInputThread) {
    amp.answerLikeAnAmplifier(0x32);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->start();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Opened));
    clock.advance(10);
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    const auto raised = events.events();
    ASSERT_EQ(raised.size(), 3u);
    EXPECT_EQ(raised[0], event(eVelkEvent_NotConnected, 0));
    EXPECT_EQ(raised[1], event(eVelkEvent_Opened, 0));
    EXPECT_EQ(raised[2], event(eVelkEvent_Connected, 2));
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

    // Lets the sleeping thread run exactly one more pass.
    void step() {
        const uint64_t started = clock.waitsStarted();
        clock.advance(10);
        ASSERT_TRUE(clock.awaitWaitsStarted(started + 1));
    }
};

TEST_F(UtilityThread, passesEveryTenMillisecondsWithAHeartBeatEveryHalfSecond) {
    manager->start();
    ASSERT_TRUE(clock.awaitWaiters(1));
    for (int pass = 1; pass < 50; ++pass)
        step();
    EXPECT_EQ(amp.receivedCount(), 0u);
    step();
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
    ASSERT_TRUE(amp.waitForReceived(1));
    auto stopping = std::async(std::launch::async, [&] { manager->stop(); });
    EXPECT_EQ(stopping.wait_for(30ms), std::future_status::timeout) << "the reply wait is not cut short";
    amp.send(parameterChange(0x70, 0x61, 0, 120));
    stopping.get();
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_MainVersion, 120)});
    EXPECT_EQ(amp.receivedCount(), 1u);
    EXPECT_EQ(VelkManagerInspector::queuedRequests(*manager), 0u);
}

// ---- On the real clock

class RealClock : public testing::Test {
protected:
    void SetUp() override {
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        amp.answerLikeAnAmplifier(0x32);
        amp.setVersion(45);
        CVelkManager::initialize();
        manager = CVelkManager::instance();
        manager->addListenerCallback(EventRecorder::callback, &events);
        manager->start();
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
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    ASSERT_TRUE(events.waitFor(eVelkEvent_MainVersion));
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    ASSERT_TRUE(events.waitFor(eVelkEvent_AllDataReceived));
    manager->setSpeakerTabFIRCOE(recordWithPattern("Real", 4115, 8));
    manager->sendRequest(eVelkRequest_FIRCOE, 1, 0);
    ASSERT_TRUE(events.waitFor(eVelkEvent_FIRCOESent));
    EXPECT_EQ(events.count(eVelkEvent_Error), 0u);
    EXPECT_EQ(events.count(eVelkEvent_Disconnected), 0u);
}

TEST_F(RealClock, heartBeatsKeepTheConnectionAliveBeyondTheSilenceLimit) {
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_FALSE(events.waitFor(eVelkEvent_Disconnected, 1, std::chrono::milliseconds(6500)));
    EXPECT_GE(amp.receivedCount(), 12u);
}

}  // namespace
