#pragma once

#include <string>
#include <vector>

#include "cli/ArgumentParser.h"
#include "midi/ServiceSelection.h"

namespace velk::cli {

// The options every device command takes: which MIDI service, which ports, how long to look for
// the amplifier, tracing and JSON output.
struct DeviceOptions {
    static constexpr const char* kDefaultMatch = "VelkSolvo/";
    static constexpr int kDefaultTimeoutMS = 10000;

    midi::ServiceChoice service = midi::ServiceChoice::Auto;
    std::string match = kDefaultMatch;
    int timeoutMS = kDefaultTimeoutMS;
    bool trace = false;
    bool json = false;
};

std::vector<OptionRule> deviceOptionRules();

// Throws UsageError for a service other than auto, alsa or jack, an empty match text or a
// timeout that is not a whole number of milliseconds.
DeviceOptions parseDeviceOptions(const ParsedArguments& arguments);

// "alsa" or "jack" for the simulator, "auto" too for the device commands.
midi::ServiceChoice parseServiceOption(const ParsedArguments& arguments);

}  // namespace velk::cli
