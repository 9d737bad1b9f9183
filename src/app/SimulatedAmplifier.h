#pragma once

#include <memory>

#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"

// The amplifier built into the editor for running without hardware: a simulated head on an
// in-process MIDI hub, with the MIDI port manager pointed at that hub. Create it before the
// device manager; it must outlive the device manager.
class SimulatedAmplifier {
public:
    // A firmware recent enough to offer every setting the editor has.
    static constexpr uint16_t kDefaultMainVersion = 110;

    explicit SimulatedAmplifier(velk::sim::HeadModel model, uint16_t mainVersion = kDefaultMainVersion);
    ~SimulatedAmplifier();

    SimulatedAmplifier(const SimulatedAmplifier&) = delete;
    SimulatedAmplifier& operator=(const SimulatedAmplifier&) = delete;

    velk::sim::AmpSimulator& head() { return *m_head; }
    // Where further simulated devices can join the head.
    midi::VirtualMidiHub& hub() { return m_hub; }

private:
    midi::VirtualMidiHub m_hub;
    std::unique_ptr<velk::sim::AmpSimulator> m_head;
};
