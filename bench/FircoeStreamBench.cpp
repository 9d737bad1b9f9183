// Time from posting eVelkRequest_FIRCOE to eVelkEvent_FIRCOESent, the device manager streaming
// ten packets to the simulated head over the in-process MIDI hub, the head answering each packet
// after a fixed delay d. Counters: "overhead_us", the time beyond 10 x d; "editor_overhead_us",
// the time beyond what the head really waited (its timed waits wake late on a busy machine).
// The second argument opens the MIDI monitor's tap: every message is kept, and a collector reads
// and words them every 100 ms as the monitor window does (its drawing aside); its time over the
// closed run's is the monitor's cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "common/MIDIManager.h"
#include "common/SysexMeaning.h"
#include "common/VelkManager.h"
#include "midi/TracingMidiService.h"
#include "midi/TrafficTap.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualDevicePorts.h"

namespace {

using namespace std::chrono_literals;
using velk::sim::AmpSimulator;
using velk::sim::HeadModel;

// Counts one event kind as it is raised and lets the benchmark wait for the next.
class EventWaiter {
public:
    explicit EventWaiter(EVelkEventID event) : m_Event(event) {}

    static void callback(EVelkEventID event, int32_t, void* self) {
        auto* waiter = static_cast<EventWaiter*>(self);
        if (event != waiter->m_Event)
            return;
        std::lock_guard lock(waiter->m_Mutex);
        ++waiter->m_Count;
        waiter->m_Changed.notify_all();
    }

    bool waitBeyond(int count) {
        std::unique_lock lock(m_Mutex);
        return m_Changed.wait_for(lock, 10s, [&] { return m_Count > count; });
    }
    int count() {
        std::lock_guard lock(m_Mutex);
        return m_Count;
    }

private:
    const EVelkEventID m_Event;
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    int m_Count = 0;
};

// The monitor's side of the tap while it is open: collects and words what passed, 10 times a second.
class MonitorCollector {
public:
    explicit MonitorCollector(bool open) {
        if (!open)
            return;
        m_Tap->setWatching(true);
        CMIDIManager::setServiceWrapper([tap = m_Tap](std::shared_ptr<midi::MidiService> service) {
            return std::make_shared<midi::TracingMidiService>(std::move(service), tap);
        });
        m_Thread = std::jthread([this](std::stop_token stop) {
            while (!stop.stop_requested()) {
                std::this_thread::sleep_for(100ms);
                collect();
            }
        });
    }
    ~MonitorCollector() { CMIDIManager::setServiceWrapper(nullptr); }

private:
    void collect() {
        for (const midi::TrafficEntry& entry : m_Tap->take()) {
            std::string line = midi::traceLine(entry.when, entry.direction, entry.bytes);
            velk::sysex::Meaning meaning = m_Interpreter.interpret(entry.bytes);
            benchmark::DoNotOptimize(line);
            benchmark::DoNotOptimize(meaning);
        }
    }

    const std::shared_ptr<midi::TrafficTap> m_Tap = std::make_shared<midi::TrafficTap>();
    velk::sysex::CSysexInterpreter m_Interpreter;
    std::jthread m_Thread;
};

FIRCOE benchRecord() {
    FIRCOE record{};
    std::strcpy(record.name, "Bench 4x12");
    record.gain = 8211;
    for (size_t n = 0; n < FIRCOE::kCoefficientCount; ++n)
        record.coe[n] = static_cast<int16_t>((n * 7919) & 0xFFFF);
    return record;
}

void BM_FircoeStream(benchmark::State& state) {
    const auto delay = std::chrono::microseconds(state.range(0));
    MonitorCollector monitor(state.range(1) != 0);
    midi::VirtualMidiHub hub;
    AmpSimulator head(std::make_unique<velk::sim::VirtualDevicePorts>(hub), {HeadModel::Dual, 110, {}});
    head.editWireFaults([delay](velk::sim::WireFaults& w) { w.setReplyDelay(delay); });
    head.plug();
    CMIDIManager::setServiceProvider([&hub] { return hub.openService(); });
    CVelkManager::initialize();
    CVelkManager* manager = CVelkManager::instance();
    EventWaiter connected(eVelkEvent_Connected);
    EventWaiter sent(eVelkEvent_FIRCOESent);
    manager->addListenerCallback(EventWaiter::callback, &connected);
    manager->addListenerCallback(EventWaiter::callback, &sent);
    manager->start();
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    if (!connected.waitBeyond(0)) {
        state.SkipWithError("the simulated head did not connect");
    } else {
        FIRCOE record = benchRecord();
        manager->setSpeakerTabFIRCOE(record);
        std::chrono::duration<double, std::micro> total{0};
        const auto headWaitBefore = head.totalReplyWait();
        for (auto _ : state) {
            const int before = sent.count();
            const auto posted = std::chrono::steady_clock::now();
            manager->sendRequest(eVelkRequest_FIRCOE, 1, 0);
            if (!sent.waitBeyond(before)) {
                state.SkipWithError("the stream did not finish");
                break;
            }
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - posted;
            state.SetIterationTime(took.count());
            total += took;
        }
        const double meanUs = total.count() / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
        const double headWaitUs = static_cast<double>((head.totalReplyWait() - headWaitBefore).count()) /
                                  static_cast<double>(std::max<int64_t>(state.iterations(), 1));
        state.counters["overhead_us"] = meanUs - 10 * static_cast<double>(delay.count());
        state.counters["editor_overhead_us"] = meanUs - headWaitUs;
    }
    CVelkManager::terminate();
    CMIDIManager::setServiceProvider(nullptr);
}

// d = 0 and 2 ms; the monitor closed and open.
BENCHMARK(BM_FircoeStream)
    ->ArgsProduct({{0, 2000}, {0, 1}})
    ->ArgNames({"d_us", "monitor"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
