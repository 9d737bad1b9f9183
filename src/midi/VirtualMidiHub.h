#pragma once

#include "midi/MidiService.h"

#include <functional>
#include <memory>
#include <string>

namespace midi {

struct VirtualHubState;
class VirtualDevice;

// The endpoints a virtual device shows; a device may have only one of them.
struct VirtualDeviceSides {
    bool source = true;
    bool destination = true;
};

// An in-process MIDI wire. Devices that code creates by name (the amplifier simulator, test peers)
// and the services that the application opens on the hub see each other as sources and
// destinations, with the threading of a real service: what a service sends reaches a device on the
// device's own thread, what a device sends reaches a service's input on that input's own thread,
// and sends complete on an output thread of the service. Endpoint changes reach every service's
// change handler on the thread that added or removed the device.
//
//     VirtualMidiHub hub;
//     auto amp = hub.addDevice("VelkSolvo/Ab 2", [&](const Packet& p) { amp->send(reply(p)); });
//     CMIDIManager::setServiceProvider([&] { return hub.openService(); });
//
// The hub may be destroyed before its devices and services; they then keep what they share.
class VirtualMidiHub {
public:
    // Receives what services send to a device's destination, one packet per message, on the
    // device's own thread.
    using DeviceReceiver = std::function<void(const Packet&)>;

    VirtualMidiHub();
    ~VirtualMidiHub();

    // Endpoints named `name` appear at once; destroying the device removes them.
    std::unique_ptr<VirtualDevice> addDevice(const std::string& name, DeviceReceiver receiver,
                                             VirtualDeviceSides sides = {});

    // A service as the application sees it; serviceName() is "virtual".
    std::shared_ptr<MidiService> openService();

private:
    std::shared_ptr<VirtualHubState> m_State;
};

// A device on a VirtualMidiHub, as a peer: it receives what the application sends and sends back.
class VirtualDevice {
public:
    ~VirtualDevice();

    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    const std::string& name() const { return m_Name; }

    // Out of the device's source to every service input connected to it; each call is one delivery.
    void send(const PacketList& packets);
    void send(const std::vector<uint8_t>& bytes);  // one packet

private:
    friend class VirtualMidiHub;
    VirtualDevice(std::shared_ptr<VirtualHubState> hub, uint64_t id, std::string name);

    std::shared_ptr<VirtualHubState> m_Hub;
    uint64_t m_Id;
    std::string m_Name;
};

}  // namespace midi
