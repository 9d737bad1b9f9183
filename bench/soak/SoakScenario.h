#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velk::soak {

// Plays the scenario of one seed against a fresh head and manager; returns what broke, empty
// when every invariant held. `trace` writes each step and event to stderr.
std::vector<std::string> runScenario(uint64_t seed, bool trace);

}  // namespace velk::soak
