#include "sim/ServiceDevicePorts.h"

#include <cerrno>
#include <utility>

namespace velk::sim {

ServiceDevicePorts::~ServiceDevicePorts() {
    unplug();
}

// The device opens outside the lock: its input thread holds the device's own lock while the
// handler sends through this object. An answer to a message that came before the device is stored
// here would be lost, but nobody has found the new ports by then.
int ServiceDevicePorts::plug(const std::string& name, ReceiveHandler handler) {
    unplug();
    midi::DeviceSelection selection =
        midi::openDevice(m_Choice, name, [handler = std::move(handler)](const midi::PacketList& packets) {
            for (const midi::Packet& packet : packets)
                handler(packet.bytes);
        });
    std::lock_guard lock(m_Mutex);
    m_Device = std::move(selection.device);
    m_PlugFailure = std::move(selection.unavailableReason);
    return m_Device ? 0 : -ENODEV;
}

// The device is destroyed outside the lock: destroying it waits for the handler, which may be
// sending through this object.
void ServiceDevicePorts::unplug() {
    std::unique_ptr<midi::MidiDevice> device;
    {
        std::lock_guard lock(m_Mutex);
        device = std::move(m_Device);
    }
}

int ServiceDevicePorts::send(std::span<const uint8_t> bytes) {
    std::lock_guard lock(m_Mutex);
    if (!m_Device)
        return -ENOTCONN;
    return m_Device->send(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

std::string ServiceDevicePorts::serviceName() const {
    std::lock_guard lock(m_Mutex);
    return m_Device ? m_Device->serviceName() : std::string();
}

std::string ServiceDevicePorts::shownName() const {
    std::lock_guard lock(m_Mutex);
    return m_Device ? m_Device->name() : std::string();
}

std::string ServiceDevicePorts::plugFailure() const {
    std::lock_guard lock(m_Mutex);
    return m_PlugFailure;
}

}  // namespace velk::sim
