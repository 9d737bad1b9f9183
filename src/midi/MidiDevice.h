#pragma once

#include "midi/MidiService.h"

#include <cstdint>
#include <string>

namespace midi {

// A MIDI device of our own on a service, which other clients of the service see as a source and a
// destination and connect to themselves (the amplifier simulator's ports). What reaches the
// destination goes to the handler given when it was opened, on a thread of the device; send()
// writes out of the source to whoever is connected. Destroying the device removes its ports; the
// handler is then not running and is not called again.
class MidiDevice {
public:
    virtual ~MidiDevice() = default;

    // "alsa" or "jack".
    virtual std::string serviceName() const = 0;
    // The name other clients see, which the service may have made unique ("VelkSolvo/Dual-01").
    virtual std::string name() const = 0;

    // One complete message (a System Exclusive message or a short one), without waiting for the
    // service to deliver it; allowed from inside the handler. 0, or a negative errno-style status.
    virtual int send(const uint8_t* bytes, uint32_t length) = 0;
};

}  // namespace midi
