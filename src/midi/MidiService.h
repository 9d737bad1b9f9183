#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace midi {

// One source or destination of a MIDI service.
struct Endpoint {
    // The full name as the service reports it; it is what device matching looks at
    // (ALSA: "client name:port name", JACK: the full port name).
    std::string name;
    // How the backend finds the endpoint again (ALSA "client:port", JACK port name, virtual name).
    std::string address;
};

// Bytes as they came off the wire in one delivery, in order; SysEx may span packets.
struct Packet {
    uint64_t timestampNs = 0;
    std::vector<uint8_t> bytes;
};
using PacketList = std::vector<Packet>;

// A System Exclusive send in flight. The service sets `complete` and calls `completion` (on a
// thread of its own, or before sendSysex returns) once every byte has left.
struct SysexRequest {
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    bool complete = false;
    void (*completion)(SysexRequest* request) = nullptr;
    void* completionRefCon = nullptr;
};

// The few things the port manager needs from a platform MIDI service. Every call returns a
// status: 0 on success, a negative errno-style value on failure. Implementations deliver input
// on a thread of their own (never a real-time thread) and never call back into the service
// from inside a callback.
class MidiService {
public:
    using InputHandler = std::function<void(const PacketList&)>;
    using ChangeHandler = std::function<void()>;

    virtual ~MidiService() = default;

    // "alsa", "jack" or "virtual".
    virtual std::string serviceName() const = 0;

    virtual std::vector<Endpoint> sources() = 0;
    virtual std::vector<Endpoint> destinations() = 0;

    // Creates our input port ("MIDI INPUT") if needed and connects `source` to it; packets
    // then reach `handler` on the service's input thread until closeInput().
    virtual int openInput(const Endpoint& source, InputHandler handler) = 0;
    // Disconnects and removes the input port; when it returns, `handler` is no longer running
    // and will not be called again.
    virtual int closeInput() = 0;

    // Creates our output port ("MIDI OUTPUT") aimed at `destination`.
    virtual int openOutput(const Endpoint& destination) = 0;
    virtual int closeOutput() = 0;

    // Queues a System Exclusive message for the open output; completion as described above.
    // The bytes stay valid until the completion has been called.
    virtual int sendSysex(SysexRequest& request) = 0;
    // Sends a short (non-SysEx) message on the open output, without waiting.
    virtual int sendPacket(const uint8_t* bytes, uint32_t length) = 0;

    // Called (on any thread) when endpoints appear or disappear.
    virtual void setChangeHandler(ChangeHandler handler) = 0;
};

}  // namespace midi
