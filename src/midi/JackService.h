#pragma once

#include "midi/MidiDevice.h"
#include "midi/MidiService.h"

#include <memory>
#include <string>
#include <vector>

namespace midi {

// JACK MIDI: the process has one JACK client, "Velk Vovezid", with the ports "MIDI INPUT" and
// "MIDI OUTPUT", shared by every caller while any of them holds it; the server is never started
// for us. Null, with `whyNot` set, when no server runs.
std::shared_ptr<MidiService> openJackService(std::string& whyNot);

// A device of our own on the current server: a client named `name` (made unique by the server
// when taken) whose port "MIDI OUTPUT" is its source and "MIDI INPUT" its destination. Null, with
// `whyNot` set, when no server runs.
std::unique_ptr<MidiDevice> openJackDevice(const std::string& name, MidiService::InputHandler handler,
                                           std::string& whyNot);

// An endpoint's name: the full port name, followed by its aliases (where the ALSA device names of
// bridged hardware appear) in parentheses.
std::string jackEndpointName(const std::string& portName, const std::vector<std::string>& aliases);

}  // namespace midi
