#include "sim/VirtualDevicePorts.h"

#include <cerrno>
#include <utility>

namespace velk::sim {

VirtualDevicePorts::~VirtualDevicePorts() {
    unplug();
}

// The lock is held while the device appears, so an answer to its very first message finds it.
int VirtualDevicePorts::plug(const std::string& name, ReceiveHandler handler) {
    std::unique_ptr<midi::VirtualDevice> previous;
    {
        std::lock_guard lock(m_Mutex);
        previous = std::exchange(
            m_Device, m_Hub.addDevice(name, [handler = std::move(handler)](const midi::Packet& packet) {
                handler(packet.bytes);
            }));
    }
    return 0;
}

// The device is destroyed outside the lock: destroying it waits for its receiver, which may be
// sending through this object.
void VirtualDevicePorts::unplug() {
    std::unique_ptr<midi::VirtualDevice> device;
    {
        std::lock_guard lock(m_Mutex);
        device = std::move(m_Device);
    }
}

int VirtualDevicePorts::send(std::span<const uint8_t> bytes) {
    std::lock_guard lock(m_Mutex);
    if (!m_Device)
        return -ENOTCONN;
    m_Device->send(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    return 0;
}

std::string VirtualDevicePorts::shownName() const {
    std::lock_guard lock(m_Mutex);
    return m_Device ? m_Device->name() : std::string();
}

}  // namespace velk::sim
