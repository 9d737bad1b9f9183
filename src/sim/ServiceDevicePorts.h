#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "midi/MidiDevice.h"
#include "midi/ServiceSelection.h"
#include "sim/DevicePorts.h"

namespace velk::sim {

// A head's ports on a real MIDI service (the ALSA sequencer or JACK): a device of its own there,
// which the editor and velkctl find by its name like a head on USB.
class ServiceDevicePorts : public DevicePorts {
public:
    explicit ServiceDevicePorts(midi::ServiceChoice choice) : m_Choice(choice) {}
    ~ServiceDevicePorts() override;

    // -ENODEV when no service of the choice could be opened (plugFailure() says why).
    int plug(const std::string& name, ReceiveHandler handler) override;
    void unplug() override;
    int send(std::span<const uint8_t> bytes) override;

    std::string serviceName() const override;
    std::string shownName() const override;
    std::string plugFailure() const override;

private:
    const midi::ServiceChoice m_Choice;
    mutable std::mutex m_Mutex;  // guards the members below; never held while a device opens or closes
    std::unique_ptr<midi::MidiDevice> m_Device;
    std::string m_PlugFailure;
};

}  // namespace velk::sim
