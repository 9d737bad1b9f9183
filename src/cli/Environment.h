#pragma once

#include <functional>
#include <memory>
#include <string>

#include "midi/ServiceSelection.h"
#include "sim/DevicePorts.h"

namespace velk::cli {

// How `simulate` learns that it is to stop.
class StopRequest {
public:
    virtual ~StopRequest() = default;
    // Called once before the simulator starts any thread of its own.
    virtual void prepare() {}
    // Returns once the stop is requested.
    virtual void wait() = 0;
};

// What velkctl's commands take from the world around them: velkctl's own is the platform's
// (platformEnvironment()); tests hand in the in-process MIDI hub and a stop they trigger.
struct Environment {
    // The MIDI service of a choice for the device commands, or null with the reason.
    std::function<midi::ServiceSelection(midi::ServiceChoice)> openService;
    // The ports a simulated head shows on the service of a choice.
    std::function<std::unique_ptr<sim::DevicePorts>(midi::ServiceChoice)> makeDevicePorts;
    std::function<std::unique_ptr<StopRequest>()> makeStopRequest;
    // Progress is drawn in place on stderr (it is a terminal).
    bool interactive = false;
};

// The platform's MIDI services, SIGINT and SIGTERM, and progress when stderr is a terminal.
Environment platformEnvironment();

}  // namespace velk::cli
