#pragma once

#include "midi/MidiService.h"

#include <memory>

namespace midi::test {

struct SendFaultsState;

// Faults on the way from services to devices: every service that wrap() returns holds System
// Exclusive sends back until released, or completes them inside sendSysex, as these settings say.
//
//     SendFaults faults;
//     CMIDIManager::setServiceProvider([&] { return faults.wrap(hub.openService()); });
//     faults.setHolding(true);
class SendFaults {
public:
    SendFaults();

    std::shared_ptr<MidiService> wrap(std::shared_ptr<MidiService> service);

    // Sends wait, neither delivered nor completed, until released; closing the output cancels them.
    void setHolding(bool holding);
    // Passes the held sends on, in their order.
    void release();
    // Sends complete inside sendSysex, before it returns (as some services do).
    void setCompleteBeforeReturn(bool enabled);
    // System Exclusive sends accepted and not yet completed, over all wrapped services.
    int sendsInFlight() const;

private:
    std::shared_ptr<SendFaultsState> m_State;
};

}  // namespace midi::test
