#pragma once

#include "common/FIRCOE.h"

namespace velk::sim {

// The impulse response a head ships with in a FIR slot (0 to 9), and restores on initialisation.
// Every slot differs in its coefficients, so a record copied into the wrong slot shows.
FIRCOE stockCabinet(int slot);

}  // namespace velk::sim
