#pragma once

#include "midi/MidiDevice.h"
#include "midi/MidiService.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace midi {

enum class ServiceChoice {
    Auto,  // the ALSA sequencer when it can be opened, else JACK when a server runs
    Alsa,
    Jack,
};

// "auto", "alsa" or "jack".
std::optional<ServiceChoice> parseServiceChoice(std::string_view text);

struct ServiceSelection {
    std::shared_ptr<MidiService> service;  // null when none could be opened
    std::string unavailableReason;         // why not, for diagnostics; empty with a service
};

ServiceSelection selectService(ServiceChoice choice);

struct DeviceSelection {
    std::unique_ptr<MidiDevice> device;  // null when none could be opened
    std::string unavailableReason;
};

// A device of our own named `name` on the service of that choice (Auto as for selectService).
DeviceSelection openDevice(ServiceChoice choice, const std::string& name, MidiService::InputHandler handler);

}  // namespace midi
