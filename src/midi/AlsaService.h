#pragma once

#include "midi/MidiDevice.h"
#include "midi/MidiService.h"

#include <memory>
#include <string>

namespace midi {

// The ALSA sequencer (the desktop's USB-MIDI devices, also under PipeWire). The process has one
// sequencer client, "Velk Vovezid", shared by every caller while any of them holds it. Null, with
// `whyNot` set, when the sequencer cannot be opened.
std::shared_ptr<MidiService> openAlsaService(std::string& whyNot);

// A device of our own on the sequencer: a client named `name` whose port "MIDI OUTPUT" is its
// source and "MIDI INPUT" its destination. Null, with `whyNot` set, when the sequencer cannot be
// opened.
std::unique_ptr<MidiDevice> openAlsaDevice(const std::string& name, MidiService::InputHandler handler,
                                           std::string& whyNot);

}  // namespace midi
