#include "midi/VirtualMidiHub.h"

#include "midi/HostTime.h"
#include "midi/VirtualHubState.h"
#include "midi/VirtualMidiService.h"

#include <algorithm>

namespace midi {

namespace {
constexpr const char* kAddressPrefix = "virtual:";
}

std::string virtualAddress(uint64_t deviceId) {
    return kAddressPrefix + std::to_string(deviceId);
}

VirtualHubState::Device* VirtualHubState::findDevice(uint64_t id) {
    auto found =
        std::find_if(devices.begin(), devices.end(), [&](const Device& device) { return device.id == id; });
    return found == devices.end() ? nullptr : &*found;
}

VirtualHubState::Device* VirtualHubState::findDevice(const std::string& address) {
    auto found = std::find_if(devices.begin(), devices.end(),
                              [&](const Device& device) { return virtualAddress(device.id) == address; });
    return found == devices.end() ? nullptr : &*found;
}

std::vector<Endpoint> VirtualHubState::endpoints(bool wantSources) const {
    std::vector<Endpoint> result;
    for (const Device& device : devices) {
        if (wantSources ? device.sides.source : device.sides.destination)
            result.push_back({device.name, virtualAddress(device.id)});
    }
    return result;
}

void VirtualHubState::announceChange() {
    std::vector<std::shared_ptr<VirtualMidiService>> live;
    {
        std::lock_guard lock(mutex);
        std::erase_if(services,
                      [](const std::weak_ptr<VirtualMidiService>& service) { return service.expired(); });
        for (const auto& service : services) {
            if (auto locked = service.lock())
                live.push_back(std::move(locked));
        }
    }
    for (const auto& service : live)
        service->announceChange();
}

VirtualMidiHub::VirtualMidiHub() : m_State(std::make_shared<VirtualHubState>()) {}

VirtualMidiHub::~VirtualMidiHub() = default;

std::unique_ptr<VirtualDevice> VirtualMidiHub::addDevice(const std::string& name, DeviceReceiver receiver,
                                                         VirtualDeviceSides sides) {
    uint64_t id = 0;
    {
        std::lock_guard lock(m_State->mutex);
        id = m_State->nextId++;
        std::shared_ptr<SerialWorker> receiverThread;
        if (sides.destination)
            receiverThread = std::make_shared<SerialWorker>();
        m_State->devices.push_back({id, name, sides, std::move(receiver), std::move(receiverThread)});
    }
    m_State->announceChange();
    return std::unique_ptr<VirtualDevice>(new VirtualDevice(m_State, id, name));
}

std::shared_ptr<MidiService> VirtualMidiHub::openService() {
    auto service = std::make_shared<VirtualMidiService>(m_State);
    std::lock_guard lock(m_State->mutex);
    m_State->services.push_back(service);
    return service;
}

VirtualDevice::VirtualDevice(std::shared_ptr<VirtualHubState> hub, uint64_t id, std::string name)
    : m_Hub(std::move(hub)), m_Id(id), m_Name(std::move(name)) {}

VirtualDevice::~VirtualDevice() {
    std::shared_ptr<SerialWorker> receiverThread;
    {
        std::lock_guard lock(m_Hub->mutex);
        std::erase_if(m_Hub->devices, [&](VirtualHubState::Device& device) {
            if (device.id != m_Id)
                return false;
            receiverThread = std::move(device.receiverThread);
            return true;
        });
    }
    m_Hub->announceChange();
    if (receiverThread)
        receiverThread->stop();
}

void VirtualDevice::send(const PacketList& packets) {
    std::lock_guard lock(m_Hub->mutex);
    const VirtualHubState::Device* self = m_Hub->findDevice(m_Id);
    if (!self || !self->sides.source)
        return;
    for (const VirtualHubState::InputConnection& input : m_Hub->inputs) {
        if (input.sourceId == m_Id)
            input.inputThread->post([handler = input.handler, packets] { handler(packets); });
    }
}

void VirtualDevice::send(const std::vector<uint8_t>& bytes) {
    send(PacketList{Packet{hostTimeNs(), bytes}});
}

}  // namespace midi
