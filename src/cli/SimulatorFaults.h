#pragma once

#include <functional>
#include <string>

#include "sim/AmpSimulator.h"

namespace velk::cli {

// One --fault of `velkctl simulate`, set on the head before it appears.
using SimulatorFault = std::function<void(sim::AmpSimulator& head)>;

// "silent", "reject-packet=N", "fail-flash-write[=COUNT]", "corrupt-dumps=COUNT",
// "no-reply=heartbeat|version|dump|flash-write|init|packet" or "delay=MS". Throws UsageError for
// anything else.
SimulatorFault parseSimulatorFault(const std::string& text);

}  // namespace velk::cli
