#pragma once

#include <functional>
#include <string>

#include "AckLedger.h"
#include "SoakRig.h"

namespace velk::soak {

// Compares the manager's mirror with the head for everything the ledger says was acknowledged,
// and reports each difference.
void checkMirror(SoakRig& rig, const AckLedger& ledger,
                 const std::function<void(const std::string&)>& report);

}  // namespace velk::soak
