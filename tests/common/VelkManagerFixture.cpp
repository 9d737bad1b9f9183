#include "VelkManagerFixture.h"

#include "common/MIDIManager.h"

#include <memory>

using namespace velktest;

void ManagerTest::SetUp() {
    mstd::setProcessClock(&clock);
    CMIDIManager::setServiceProvider([this] { return hub.openService(); });
    CVelkManager::initialize();
    manager = CVelkManager::instance();
    manager->addListenerCallback(EventRecorder::callback, &events);
}

void ManagerTest::TearDown() {
    CVelkManager::terminate();
    CMIDIManager::setServiceProvider(nullptr);
    mstd::setProcessClock(nullptr);
}

std::string ManagerTest::receive(const Bytes& message) {
    auto exact = std::make_unique<uint8_t[]>(message.size());
    std::copy(message.begin(), message.end(), exact.get());
    testing::internal::CaptureStderr();
    manager->handleMIDIIn(exact.get(), static_cast<uint32_t>(message.size()));
    return testing::internal::GetCapturedStderr();
}

void ManagerTest::runAdvancingClock(const std::function<void()>& work) {
    Background running(work);
    bool settled = false;
    while (!running.finished(1ms)) {
        // Only a wait that has lasted a whole poll counts, so a reply on its way is not outrun.
        const bool waiting = clock.waiterCount() > 0 && amp.idle();
        if (waiting && settled)
            clock.advance(10);
        settled = waiting;
    }
}

void ManagerTest::runPassWithPauses() {
    runAdvancingClock([this] { manager->doRequestEvent(); });
}

void ManagerTest::connect(uint8_t model) {
    amp.answerLikeAnAmplifier({.model = model});
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Opened));
    manager->doRequestEvent();  // the first pass with open ports sends a heartbeat request
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    events.clear();
    amp.clearReceived();
}

FIRCOE ManagerTest::playBuffer(int amp) {
    FIRCOE record{};
    manager->getPlayBuffer(amp, record);
    return record;
}

FIRCOE ManagerTest::firSlot(int slot) {
    FIRCOE record{};
    manager->getFirSlot(slot, record);
    return record;
}
