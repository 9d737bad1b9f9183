#include "SoakRig.h"

#include <algorithm>
#include <thread>

#include "common/MIDIManager.h"
#include "sim/VirtualDevicePorts.h"

// The manager's queue has no public accessor; the soak needs to know when it has run dry
// without waiting for a pass, which holds the queue across its reply waits.
struct VelkManagerInspector {
    static bool queueIdle(CVelkManager& manager) {
        if (!manager.m_RequestLock->try_lock())
            return false;
        const bool empty = manager.m_RequestQueue.empty();
        manager.m_RequestLock->unlock();
        return empty;
    }
};

namespace velk::soak {

namespace {

using namespace std::chrono_literals;

constexpr uint64_t kTickMS = 10;
constexpr uint64_t kLongTickMS = 50;
// Polls in which nothing happened before the clock moves: a reply on its way is not outrun.
constexpr int kQuietPollsBeforeTick = 2;
constexpr int kQuietPollsBeforeLongTick = 6;
constexpr auto kPoll = 200us;

}  // namespace

SoakRig::SoakRig(const sim::AmpState& headState, EventHandler onEvent) : m_OnEvent(std::move(onEvent)) {
    mstd::setProcessClock(&m_Clock);
    m_Head = std::make_unique<sim::AmpSimulator>(
        std::make_unique<sim::VirtualDevicePorts>(m_Hub),
        sim::AmpSimulator::Options{headState.model, headState.mainVersion, {}});
    m_Head->editState([&headState](sim::AmpState& state) { state = headState; });
    m_Head->plug();
    CMIDIManager::setServiceProvider([this] { return m_Sends.wrap(m_Hub.openService()); });
    CVelkManager::initialize();
    m_Manager = CVelkManager::instance();
    m_Manager->addListenerCallback(recordEvent, this);
    m_Manager->start();
}

// The utility thread may be in the middle of a reply wait: the clock keeps moving until it ends.
SoakRig::~SoakRig() {
    std::atomic<bool> stopped{false};
    std::thread clockHand([this, &stopped] {
        while (!stopped) {
            m_Clock.advance(kTickMS);
            std::this_thread::sleep_for(1ms);
        }
    });
    m_MainThread.stop();
    CVelkManager::terminate();
    stopped = true;
    clockHand.join();
    CMIDIManager::setServiceProvider(nullptr);
    m_Head.reset();
    mstd::setProcessClock(nullptr);
}

void SoakRig::recordEvent(EVelkEventID id, int32_t data, void* self) {
    SoakRig& rig = *static_cast<SoakRig*>(self);
    const std::array<int, 2> ampTypes = {rig.m_Manager->getAmpType(0), rig.m_Manager->getAmpType(1)};
    {
        std::lock_guard lock(rig.m_EventsLock);
        rig.m_Events.push_back({id, data, ampTypes});
    }
    rig.m_EventArrived.notify_all();
}

void SoakRig::onMainThread(std::function<void()> work) {
    ++m_PostsPending;
    m_MainThread.post([this, work = std::move(work)] {
        work();
        --m_PostsPending;
    });
}

void SoakRig::post(eVelkRequestEvent kind, int32_t arg1, int32_t arg2) {
    onMainThread([this, kind, arg1, arg2] { m_Manager->sendRequest(kind, arg1, arg2); });
}

void SoakRig::at(uint64_t atMS, std::function<void()> work) {
    m_Timed.emplace_back(atMS, std::move(work));
}

bool SoakRig::idle() {
    return m_Timed.empty() && m_PostsPending == 0 && VelkManagerInspector::queueIdle(*m_Manager);
}

bool SoakRig::driveUntil(const std::function<bool()>& done, uint64_t limitMS) {
    const uint64_t start = nowMS();
    int quietPolls = 0;
    for (;;) {
        const bool eventsCame = dispatchEvents(kPoll);
        runDueWork();
        if (done())
            return true;
        if (nowMS() - start >= limitMS)
            return false;
        quietPolls = !eventsCame && everythingWaitsOnTheClock() ? quietPolls + 1 : 0;
        if (quietPolls >= kQuietPollsBeforeTick)
            m_Clock.advance(quietPolls >= kQuietPollsBeforeLongTick ? kLongTickMS : kTickMS);
    }
}

// Waits up to `patience` for the first event; true when any came.
bool SoakRig::dispatchEvents(std::chrono::microseconds patience) {
    std::deque<Event> events;
    {
        std::unique_lock lock(m_EventsLock);
        m_EventArrived.wait_for(lock, patience, [this] { return !m_Events.empty(); });
        events.swap(m_Events);
    }
    for (const Event& event : events)
        m_OnEvent(event);
    return !events.empty();
}

void SoakRig::runDueWork() {
    std::vector<std::function<void()>> due;
    const uint64_t now = nowMS();
    auto firstLater = std::stable_partition(m_Timed.begin(), m_Timed.end(),
                                            [now](const auto& timed) { return timed.first <= now; });
    for (auto it = m_Timed.begin(); it != firstLater; ++it)
        due.push_back(std::move(it->second));
    m_Timed.erase(m_Timed.begin(), firstLater);
    for (auto& work : due)
        work();
}

// The utility thread waits (between passes or for a reply) and no message is on its way to the
// head.
bool SoakRig::everythingWaitsOnTheClock() {
    return m_Clock.waiterCount() > 0 && m_Sends.sendsInFlight() == 0;
}

}  // namespace velk::soak
