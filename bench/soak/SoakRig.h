#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "common/VelkManager.h"
#include "midi/SerialWorker.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "support/ManualClock.h"
#include "support/SendFaults.h"

namespace velk::soak {

struct Event {
    EVelkEventID id;
    int32_t data;
    // The mirror's amp types when the event was raised: by the time the event is handled, a reply
    // behind it may have changed them.
    std::array<int, 2> ampTypes;
};

// One scenario's world: a simulated head on the in-process MIDI hub, the real device manager with
// its utility thread, a clock that moves only when everything waits on it, and a main thread that
// posts requests the way the windows do (posting may block while a pass runs, so it has a thread
// of its own).
class SoakRig {
public:
    using EventHandler = std::function<void(const Event&)>;

    SoakRig(const sim::AmpState& headState, EventHandler onEvent);
    ~SoakRig();

    SoakRig(const SoakRig&) = delete;
    SoakRig& operator=(const SoakRig&) = delete;

    sim::AmpSimulator& head() { return *m_Head; }
    CVelkManager& manager() { return *m_Manager; }
    uint64_t nowMS() const { return m_Clock.steadyMS(); }

    // Runs `work` on the posting thread, after what was handed over before.
    void onMainThread(std::function<void()> work);
    void post(eVelkRequestEvent kind, int32_t arg1 = 0, int32_t arg2 = 0);
    // Runs `work` on this thread once the clock reaches `atMS`.
    void at(uint64_t atMS, std::function<void()> work);

    // Moves the world on until `done()` holds (true) or `limitMS` of clock time has gone by
    // (false). Events reach the handler on this thread.
    bool driveUntil(const std::function<bool()>& done, uint64_t limitMS);
    // No request is queued or running, nothing waits to be posted and no timed work is left.
    bool idle();

private:
    static void recordEvent(EVelkEventID id, int32_t data, void* self);
    bool dispatchEvents(std::chrono::microseconds patience);
    void runDueWork();
    bool everythingWaitsOnTheClock();

    mstd::CManualClock m_Clock;
    midi::VirtualMidiHub m_Hub;
    midi::test::SendFaults m_Sends;  // counts the sends still on their way
    std::unique_ptr<sim::AmpSimulator> m_Head;
    CVelkManager* m_Manager = nullptr;
    EventHandler m_OnEvent;

    std::mutex m_EventsLock;
    std::condition_variable m_EventArrived;
    std::deque<Event> m_Events;

    std::atomic<int> m_PostsPending{0};
    std::vector<std::pair<uint64_t, std::function<void()>>> m_Timed;
    midi::SerialWorker m_MainThread;  // last: stopped before what its work touches goes
};

}  // namespace velk::soak
