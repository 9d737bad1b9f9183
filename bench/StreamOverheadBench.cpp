// What the device manager itself adds to a coefficient stream. Both benchmarks run ten
// request/reply round trips over the in-process MIDI hub with a peer that answers at once from
// its receiving thread: the first through the bare port manager (the transport's floor: two
// thread hops each way), the second as eVelkRequest_FIRCOE through the device manager, from
// posting the request to eVelkEvent_FIRCOESent. The difference is the manager's share.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

#include "common/MIDIManager.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "midi/VirtualMidiHub.h"

namespace {

namespace sysex = velk::sysex;
using Bytes = std::vector<uint8_t>;

Bytes packetReply(uint8_t packetNumber) {
    Bytes reply(sysex::kParameterChangeSize);
    sysex::writeParameterChange(reply.data(), sysex::kGroupFIR, sysex::kParamPacketReply, packetNumber, 0);
    return reply;
}

// Answers every message at once with a packet acknowledgement, and heartbeats with a model.
class ImmediatePeer {
public:
    explicit ImmediatePeer(midi::VirtualMidiHub& hub)
        : m_Device(hub.addDevice("VelkSolvo/Bench",
                                 [this](const midi::Packet& packet) { answer(packet.bytes); })) {}

private:
    void answer(const Bytes& message) {
        if (message.size() == sysex::kParameterChangeSize && message[6] == sysex::kGroupSystem &&
            message[7] == sysex::kParamHeartBeat)
            m_Device->send(Bytes{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, sysex::kModelDualAmp, 0xF7});
        else
            m_Device->send(packetReply(0));
    }

    std::unique_ptr<midi::VirtualDevice> m_Device;
};

// A counter that a callback bumps and a benchmark waits on.
class Signal {
public:
    void bump() {
        std::lock_guard lock(m_Mutex);
        ++m_Count;
        m_Changed.notify_all();
    }
    int count() {
        std::lock_guard lock(m_Mutex);
        return m_Count;
    }
    bool waitBeyond(int count) {
        std::unique_lock lock(m_Mutex);
        return m_Changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_Count > count; });
    }

private:
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    int m_Count = 0;
};

void BM_TransportRoundTrips(benchmark::State& state) {
    midi::VirtualMidiHub hub;
    ImmediatePeer peer(hub);
    CMIDIManager::setServiceProvider([&hub] { return hub.openService(); });
    CMIDIManager::initialize(nullptr, nullptr);
    CMIDIManager* midi = CMIDIManager::instance();
    Signal replies;
    midi->openMidiIn(
        0, [](void* signal, const uint8_t*, uint32_t) { static_cast<Signal*>(signal)->bump(); }, &replies,
        512);
    midi->openMidiOut(0);
    const Bytes packet(sysex::kMaxPacketMessageSize, 0);
    Bytes framed = packet;
    framed.front() = sysex::kStart;
    framed.back() = sysex::kEnd;
    for (auto _ : state) {
        for (int roundTrip = 0; roundTrip < 10; ++roundTrip) {
            const int before = replies.count();
            midi->sendLongMessage(framed.data(), static_cast<int32_t>(framed.size()));
            replies.waitBeyond(before);
        }
    }
    CMIDIManager::terminate();
    CMIDIManager::setServiceProvider(nullptr);
}

void onEvent(EVelkEventID event, int32_t, void* signals) {
    auto* pair = static_cast<std::pair<Signal, Signal>*>(signals);
    if (event == eVelkEvent_Connected)
        pair->first.bump();
    else if (event == eVelkEvent_FIRCOESent)
        pair->second.bump();
}

void BM_ManagerStream(benchmark::State& state) {
    midi::VirtualMidiHub hub;
    ImmediatePeer peer(hub);
    CMIDIManager::setServiceProvider([&hub] { return hub.openService(); });
    CVelkManager::initialize();
    CVelkManager* manager = CVelkManager::instance();
    std::pair<Signal, Signal> signals;  // connected, stream sent
    manager->addListenerCallback(onEvent, &signals);
    manager->start();
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    if (!signals.first.waitBeyond(0)) {
        state.SkipWithError("the peer did not connect");
    } else {
        FIRCOE record{};
        std::strcpy(record.name, "Bench");
        manager->setSpeakerTabFIRCOE(record);
        for (auto _ : state) {
            const int before = signals.second.count();
            manager->sendRequest(eVelkRequest_FIRCOE, 0, 0);
            signals.second.waitBeyond(before);
        }
    }
    CVelkManager::terminate();
    CMIDIManager::setServiceProvider(nullptr);
}

BENCHMARK(BM_TransportRoundTrips)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ManagerStream)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
