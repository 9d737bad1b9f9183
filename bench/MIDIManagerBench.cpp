// What one System Exclusive message costs through the port manager on the in-process service: a
// blocking send (queue, output thread, completion) and a reception (input thread, assembly,
// callback). The amplifier's largest messages are 532 bytes.
#include "common/MIDIManager.h"
#include "midi/VirtualMidiHub.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

std::vector<uint8_t> sysex(size_t length) {
    std::vector<uint8_t> message(length, 0x11);
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

struct Received {
    std::mutex mutex;
    std::condition_variable arrived;
    size_t count = 0;

    void waitFor(size_t total) {
        std::unique_lock lock(mutex);
        arrived.wait(lock, [&] { return count >= total; });
    }
};

void countMessage(void* userData, const uint8_t*, uint32_t) {
    auto* received = static_cast<Received*>(userData);
    std::lock_guard lock(received->mutex);
    ++received->count;
    received->arrived.notify_one();
}

// A manager with both ports open on a hub device that ignores what it receives.
struct OpenManager {
    midi::VirtualMidiHub hub;
    std::unique_ptr<midi::VirtualDevice> amp = hub.addDevice("VelkSolvo/Bench", [](const midi::Packet&) {});
    Received received;

    OpenManager() {
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        CMIDIManager::initialize(nullptr, nullptr);
        std::vector<std::string> names;
        CMIDIManager::instance()->getMidiInDevices(names);
        CMIDIManager::instance()->getMidiOutDevices(names);
        CMIDIManager::instance()->openMidiIn(0, countMessage, &received, 512);
        CMIDIManager::instance()->openMidiOut(0);
    }
    ~OpenManager() {
        CMIDIManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
    }
};

void BM_SendLongMessage(benchmark::State& state) {
    OpenManager open;
    const std::vector<uint8_t> message = sysex(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        if (CMIDIManager::instance()->sendLongMessage(message.data(), static_cast<int32_t>(message.size())) !=
            0)
            state.SkipWithError("send failed");
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SendLongMessage)->Arg(11)->Arg(532)->UseRealTime();

// Messages arriving as the USB-MIDI driver delivers them: 3 bytes a packet, one packet list each.
void BM_ReceiveLongMessage(benchmark::State& state) {
    OpenManager open;
    const std::vector<uint8_t> message = sysex(static_cast<size_t>(state.range(0)));
    midi::PacketList packets;
    for (size_t i = 0; i < message.size(); i += 3)
        packets.push_back({0, std::vector<uint8_t>(message.begin() + static_cast<std::ptrdiff_t>(i),
                                                   message.begin() + static_cast<std::ptrdiff_t>(
                                                                         std::min(i + 3, message.size())))});
    size_t sent = 0;
    for (auto _ : state) {
        open.amp->send(packets);
        open.received.waitFor(++sent);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReceiveLongMessage)->Arg(11)->Arg(532)->UseRealTime();

}  // namespace
