// Arbitrary bytes from an amplifier, cut into packets at arbitrary points, go through the MIDI
// port manager's System Exclusive assembly into the device manager's receive path. Each input
// ends with a main version reply carrying a fresh number; the input counts as handled once that
// number is stored, so a receive path that stalls shows up as a hang.

#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "midi/VirtualMidiHub.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

struct SRig {
    midi::VirtualMidiHub hub;
    std::unique_ptr<midi::VirtualDevice> amplifier;
    CVelkManager* manager = nullptr;
    uint16_t marker = 0;

    SRig() {
        amplifier = hub.addDevice("VelkSolvo/Fuzz", [](const midi::Packet&) {});
        CMIDIManager::setServiceProvider([this] { return hub.openService(); });
        CVelkManager::initialize();
        manager = CVelkManager::instance();
    }
};

SRig& rig() {
    static SRig instance;
    return instance;
}

// The first byte chooses the packet size, so messages span packets in every way.
midi::PacketList packetsOf(const uint8_t* data, size_t size) {
    midi::PacketList packets;
    if (size == 0)
        return packets;
    const size_t packetSize = data[0] % 64 + 1;
    for (size_t offset = 1; offset < size; offset += packetSize) {
        const size_t end = std::min(size, offset + packetSize);
        packets.push_back(midi::Packet{0, std::vector<uint8_t>(data + offset, data + end)});
    }
    return packets;
}

void awaitMarker(SRig& rig) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    CMIDIManager* midi = CMIDIManager::instance();
    // A heartbeat of another model closes the input; what followed it is dropped, as it would be.
    while (rig.manager->getMainVer() != rig.marker && midi->isOpenedMidiIn()) {
        if (std::chrono::steady_clock::now() > deadline)
            std::abort();
        std::this_thread::yield();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SRig& fuzz = rig();
    if (!CMIDIManager::instance()->isOpenedMidiIn())
        fuzz.manager->openVelk();

    fuzz.amplifier->send(packetsOf(data, size));
    fuzz.marker = static_cast<uint16_t>((fuzz.marker + 1) & 0x3FFF);
    const uint8_t high = static_cast<uint8_t>(fuzz.marker >> 7);
    const uint8_t low = static_cast<uint8_t>(fuzz.marker & 0x7F);
    fuzz.amplifier->send({0xF7, 0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x70, 0x61, high, low, 0xF7});
    awaitMarker(fuzz);
    return 0;
}
