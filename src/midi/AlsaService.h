#pragma once

#include "midi/MidiService.h"

#include <memory>
#include <string>

namespace midi {

// The ALSA sequencer (the desktop's USB-MIDI devices, also under PipeWire). The process has one
// sequencer client, "Velk Vovezid", shared by every caller while any of them holds it. Null, with
// `whyNot` set, when the sequencer cannot be opened.
std::shared_ptr<MidiService> openAlsaService(std::string& whyNot);

}  // namespace midi
