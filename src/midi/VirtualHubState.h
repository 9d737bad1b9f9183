#pragma once

#include "midi/MidiService.h"
#include "midi/SerialWorker.h"
#include "midi/VirtualMidiHub.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace midi {

class VirtualMidiService;

// What devices and services of one hub share; every field is guarded by `mutex`.
struct VirtualHubState {
    struct Device {
        uint64_t id = 0;
        std::string name;
        VirtualDeviceSides sides;
        VirtualMidiHub::DeviceReceiver receiver;
        std::shared_ptr<SerialWorker> receiverThread;  // null without a destination
    };
    struct InputConnection {
        const VirtualMidiService* owner = nullptr;
        uint64_t sourceId = 0;
        MidiService::InputHandler handler;
        std::shared_ptr<SerialWorker> inputThread;
    };

    std::mutex mutex;
    uint64_t nextId = 1;
    std::vector<Device> devices;
    std::vector<InputConnection> inputs;
    std::vector<std::weak_ptr<VirtualMidiService>> services;

    // The caller holds `mutex`.
    Device* findDevice(uint64_t id);
    Device* findDevice(const std::string& address);
    std::vector<Endpoint> endpoints(bool wantSources) const;

    // Without `mutex` held: calls every live service's change handler.
    void announceChange();
};

std::string virtualAddress(uint64_t deviceId);

}  // namespace midi
