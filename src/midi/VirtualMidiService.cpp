#include "midi/VirtualMidiService.h"

#include "midi/HostTime.h"
#include "midi/VirtualHubState.h"

namespace midi {

namespace {

Packet packetOf(const uint8_t* bytes, uint32_t length) {
    Packet packet;
    packet.timestampNs = hostTimeNs();
    packet.bytes.assign(bytes, bytes + length);
    return packet;
}

}  // namespace

VirtualMidiService::VirtualMidiService(std::shared_ptr<VirtualHubState> hub) : m_Hub(std::move(hub)) {}

VirtualMidiService::~VirtualMidiService() {
    setChangeHandler(nullptr);
    closeInput();
    closeOutput();
}

std::vector<Endpoint> VirtualMidiService::sources() {
    std::lock_guard lock(m_Hub->mutex);
    return m_Hub->endpoints(true);
}

std::vector<Endpoint> VirtualMidiService::destinations() {
    std::lock_guard lock(m_Hub->mutex);
    return m_Hub->endpoints(false);
}

int VirtualMidiService::openInput(const Endpoint& source, InputHandler handler) {
    closeInput();
    std::lock_guard lock(m_Hub->mutex);
    const VirtualHubState::Device* device = m_Hub->findDevice(source.address);
    if (!device || !device->sides.source)
        return kStatusNoEndpoint;
    m_Hub->inputs.push_back({this, device->id, std::move(handler), std::make_shared<SerialWorker>()});
    return 0;
}

int VirtualMidiService::closeInput() {
    std::shared_ptr<SerialWorker> inputThread;
    {
        std::lock_guard lock(m_Hub->mutex);
        std::erase_if(m_Hub->inputs, [&](VirtualHubState::InputConnection& input) {
            if (input.owner != this)
                return false;
            inputThread = std::move(input.inputThread);
            return true;
        });
    }
    // Outside the hub's lock: the running handler may itself be using the hub.
    if (inputThread)
        inputThread->stop();
    return 0;
}

int VirtualMidiService::openOutput(const Endpoint& destination) {
    closeOutput();
    uint64_t destinationId = 0;
    {
        std::lock_guard lock(m_Hub->mutex);
        const VirtualHubState::Device* device = m_Hub->findDevice(destination.address);
        if (!device || !device->sides.destination)
            return kStatusNoEndpoint;
        destinationId = device->id;
    }
    std::lock_guard lock(m_OutputMutex);
    m_DestinationId = destinationId;
    m_OutputThread = std::make_unique<SerialWorker>();
    return 0;
}

int VirtualMidiService::closeOutput() {
    std::unique_ptr<SerialWorker> outputThread;
    {
        std::lock_guard lock(m_OutputMutex);
        m_DestinationId.reset();
        outputThread = std::move(m_OutputThread);
    }
    if (outputThread)
        outputThread->stop();  // a transmission under way completes its own request
    std::deque<SysexRequest*> cancelled;
    {
        std::lock_guard lock(m_OutputMutex);
        cancelled.swap(m_PendingSends);
    }
    for (SysexRequest* request : cancelled)
        completeSysex(*request, kStatusCancelled);
    return 0;
}

int VirtualMidiService::sendSysex(SysexRequest& request) {
    if (!request.data && request.length > 0)
        return kStatusInvalid;
    Packet packet = packetOf(request.data, request.length);
    std::lock_guard lock(m_OutputMutex);
    if (!m_DestinationId)
        return kStatusNotOpen;
    m_PendingSends.push_back(&request);
    m_OutputThread->post([this, packet = std::move(packet)] { transmitSysex(packet); });
    return 0;
}

int VirtualMidiService::sendPacket(const uint8_t* bytes, uint32_t length) {
    if (!bytes || length == 0)
        return kStatusInvalid;
    std::lock_guard lock(m_OutputMutex);
    if (!m_DestinationId)
        return kStatusNotOpen;
    m_OutputThread->post([this, packet = packetOf(bytes, length)] { transmitPacket(packet); });
    return 0;
}

void VirtualMidiService::setChangeHandler(ChangeHandler handler) {
    m_Changes.set(std::move(handler));
}

// On the output thread, once per accepted request, in the order of the sends.
void VirtualMidiService::transmitSysex(const Packet& packet) {
    SysexRequest* request = nullptr;
    uint64_t destinationId = 0;
    {
        std::lock_guard lock(m_OutputMutex);
        if (m_PendingSends.empty() || !m_DestinationId)
            return;  // closeOutput() cancels what is left
        request = m_PendingSends.front();
        m_PendingSends.pop_front();
        destinationId = *m_DestinationId;
    }
    completeSysex(*request, deliver(destinationId, packet));
}

void VirtualMidiService::transmitPacket(const Packet& packet) {
    std::optional<uint64_t> destinationId;
    {
        std::lock_guard lock(m_OutputMutex);
        destinationId = m_DestinationId;
    }
    if (destinationId)
        deliver(*destinationId, packet);
}

int VirtualMidiService::deliver(uint64_t destinationId, const Packet& packet) {
    std::lock_guard lock(m_Hub->mutex);
    VirtualHubState::Device* device = m_Hub->findDevice(destinationId);
    if (!device || !device->receiverThread)
        return kStatusNoEndpoint;
    device->receiverThread->post([receiver = device->receiver, packet] { receiver(packet); });
    return 0;
}

}  // namespace midi
