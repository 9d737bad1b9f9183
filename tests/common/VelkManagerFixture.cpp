#include "VelkManagerFixture.h"

#include "common/GenericException.h"
#include "common/MIDIManager.h"

#include <future>
#include <memory>
#include <thread>

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

void ManagerTest::receive(const Bytes& message) {
    auto exact = std::make_unique<uint8_t[]>(message.size());
    std::copy(message.begin(), message.end(), exact.get());
    manager->handleMIDIIn(exact.get(), static_cast<uint32_t>(message.size()));
}

void ManagerTest::runAdvancingClock(const std::function<void()>& work) {
    auto done = std::async(std::launch::async, work);
    bool settled = false;
    while (done.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
        // Only a wait that has lasted a whole poll counts, so a reply on its way is not outrun.
        const bool waiting = clock.waiterCount() > 0 && amp.idle();
        if (waiting && settled)
            clock.advance(10);
        settled = waiting;
    }
    done.get();
}

void ManagerTest::runPassWithPauses() {
    runAdvancingClock([this] { manager->doRequestEvent(); });
}

int32_t ManagerTest::errorCodeOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const mstd::CGenericException& exception) {
        return exception.getErrorCode();
    }
    return 0;
}

void ManagerTest::connect(uint8_t model) {
    amp.answerLikeAnAmplifier(model);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Opened));
    manager->doRequestEvent();  // the first pass with open ports sends a heartbeat request
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    events.clear();
    amp.clearReceived();
}
