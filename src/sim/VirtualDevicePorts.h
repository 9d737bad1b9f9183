#pragma once

#include <memory>
#include <mutex>

#include "midi/VirtualMidiHub.h"
#include "sim/DevicePorts.h"

namespace velk::sim {

// A head's ports on the in-process virtual MIDI hub.
class VirtualDevicePorts : public DevicePorts {
public:
    explicit VirtualDevicePorts(midi::VirtualMidiHub& hub) : m_Hub(hub) {}
    ~VirtualDevicePorts() override;

    int plug(const std::string& name, ReceiveHandler handler) override;
    void unplug() override;
    int send(std::span<const uint8_t> bytes) override;
    std::string serviceName() const override { return "virtual"; }
    std::string shownName() const override;

private:
    midi::VirtualMidiHub& m_Hub;
    mutable std::mutex m_Mutex;  // guards m_Device; never held while the device is destroyed
    std::unique_ptr<midi::VirtualDevice> m_Device;
};

}  // namespace velk::sim
