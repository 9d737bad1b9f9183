#pragma once

#include <atomic>
#include <cerrno>
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
    // How the backend finds the endpoint again (ALSA "client:port", JACK port name, virtual id).
    std::string address;

    bool operator==(const Endpoint&) const = default;
};

// Bytes as they came off the wire in one delivery, in order; SysEx may span packets.
struct Packet {
    uint64_t timestampNs = 0;
    std::vector<uint8_t> bytes;
};
using PacketList = std::vector<Packet>;

// A System Exclusive send in flight. The service sets `status` (0 = sent), then `complete`,
// then calls `completion` (on a thread of its own, or before sendSysex returns) exactly once
// for every request that sendSysex accepted, also when the output closes or the service goes away
// before the bytes left: a sender may wait for the completion without a limit.
struct SysexRequest {
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    int status = 0;
    std::atomic<bool> complete = false;
    void (*completion)(SysexRequest* request) = nullptr;
    void* completionRefCon = nullptr;
};

// How a service ends a request it accepted; the request may be gone once this returns.
inline void completeSysex(SysexRequest& request, int status) {
    request.status = status;
    request.complete = true;
    if (request.completion)
        request.completion(&request);
}

// Statuses shared by the backends (negative errno values, so they never look like success).
inline constexpr int kStatusNoEndpoint = -ENODEV;      // the endpoint is gone or was never there
inline constexpr int kStatusNotOpen = -ENOTCONN;       // no output (or input) is open
inline constexpr int kStatusInvalid = -EINVAL;         // not a message the service can carry
inline constexpr int kStatusCancelled = -ECANCELED;    // the output closed before the bytes left
inline constexpr int kStatusServiceGone = -ESHUTDOWN;  // the MIDI service itself went away
inline constexpr int kStatusTooLarge = -EMSGSIZE;      // longer than the service carries at once

// The few things the port manager needs from a platform MIDI service. Every call returns a
// status: 0 on success, a negative errno-style value on failure. Implementations deliver input
// on a thread of their own (never a real-time thread) and never call back into the service
// from inside a callback. All calls may come from any thread.
class MidiService {
public:
    using InputHandler = std::function<void(const PacketList&)>;
    using ChangeHandler = std::function<void()>;

    virtual ~MidiService() = default;

    // "alsa", "jack" or "virtual".
    virtual std::string serviceName() const = 0;
    // False once the service itself has gone (a JACK server that stopped): it lists nothing more,
    // and a new one has to be opened.
    virtual bool alive() const { return true; }

    virtual std::vector<Endpoint> sources() = 0;
    virtual std::vector<Endpoint> destinations() = 0;

    // Creates our input port ("MIDI INPUT") if needed and connects `source` to it; packets
    // then reach `handler` on the service's input thread until closeInput(). Fails with
    // kStatusNoEndpoint when `source` is no longer there.
    virtual int openInput(const Endpoint& source, InputHandler handler) = 0;
    // Disconnects and removes the input port; when it returns, `handler` is no longer running
    // and will not be called again. Called from inside `handler`, it returns at once and the
    // handler is not called again after the running call.
    virtual int closeInput() = 0;

    // Creates our output port ("MIDI OUTPUT") aimed at `destination`.
    virtual int openOutput(const Endpoint& destination) = 0;
    // Completes any send still in flight with kStatusCancelled.
    virtual int closeOutput() = 0;

    // Queues a System Exclusive message for the open output; completion as described above.
    // The bytes stay valid until the completion has been called. A non-zero result means the
    // request was not accepted and its completion will not be called.
    virtual int sendSysex(SysexRequest& request) = 0;
    // Sends a short (non-SysEx) message on the open output, without waiting.
    virtual int sendPacket(const uint8_t* bytes, uint32_t length) = 0;

    // Called (on any thread) when endpoints appear or disappear. When setChangeHandler returns,
    // the previous handler is no longer running.
    virtual void setChangeHandler(ChangeHandler handler) = 0;
};

}  // namespace midi
