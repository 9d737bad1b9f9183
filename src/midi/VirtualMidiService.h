#pragma once

#include "midi/ChangeNotifier.h"
#include "midi/MidiService.h"
#include "midi/SerialWorker.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

namespace midi {

struct VirtualHubState;

// The application's side of a VirtualMidiHub (create it with VirtualMidiHub::openService()).
class VirtualMidiService : public MidiService {
public:
    explicit VirtualMidiService(std::shared_ptr<VirtualHubState> hub);
    ~VirtualMidiService() override;

    std::string serviceName() const override { return "virtual"; }
    std::vector<Endpoint> sources() override;
    std::vector<Endpoint> destinations() override;
    int openInput(const Endpoint& source, InputHandler handler) override;
    int closeInput() override;
    int openOutput(const Endpoint& destination) override;
    int closeOutput() override;
    int sendSysex(SysexRequest& request) override;
    int sendPacket(const uint8_t* bytes, uint32_t length) override;
    void setChangeHandler(ChangeHandler handler) override;

    // Called by the hub, without its lock held.
    void announceChange() { m_Changes.announce(); }

private:
    void transmitSysex(const Packet& packet);
    void transmitPacket(const Packet& packet);
    int deliver(uint64_t destinationId, const Packet& packet);

    std::shared_ptr<VirtualHubState> m_Hub;

    std::mutex m_OutputMutex;
    std::optional<uint64_t> m_DestinationId;
    std::unique_ptr<SerialWorker> m_OutputThread;
    std::deque<SysexRequest*> m_PendingSends;  // in the order of their tasks on m_OutputThread

    ChangeNotifier m_Changes;
};

}  // namespace midi
