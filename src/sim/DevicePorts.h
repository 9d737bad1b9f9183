#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace velk::sim {

// The device's end of a MIDI connection: the source and the destination a head shows to the
// computer. One implementation per MIDI service (in-process virtual, ALSA, JACK).
class DevicePorts {
public:
    using ReceiveHandler = std::function<void(std::span<const uint8_t> bytes)>;

    virtual ~DevicePorts() = default;

    // Makes the source and the destination appear under `name`. Bytes the computer sends to the
    // destination reach `handler`, in order, on a thread of the ports. 0, or a negative errno.
    virtual int plug(const std::string& name, ReceiveHandler handler) = 0;
    // Makes them vanish. On return the handler is not running and is not called again. Harmless
    // when not plugged; may run while another thread sends.
    virtual void unplug() = 0;
    // Sends bytes out of the source; allowed from inside the handler. A negative errno when
    // unplugged or when the service refuses.
    virtual int send(std::span<const uint8_t> bytes) = 0;

    // For the user: the service the plugged ports appear on ("alsa", "jack", "virtual"), the name
    // they appear under (which the service may have made unique), and why the last plug failed
    // as the service put it. Empty when not known.
    virtual std::string serviceName() const { return {}; }
    virtual std::string shownName() const { return {}; }
    virtual std::string plugFailure() const { return {}; }
};

}  // namespace velk::sim
