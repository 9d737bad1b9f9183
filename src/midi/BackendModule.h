#pragma once

#include "midi/MidiDevice.h"
#include "midi/MidiService.h"

#include <memory>
#include <string>

namespace midi {

// The system MIDI backends. Each is a module of its own (with the system library it links), loaded
// when a MIDI service is first asked for: programs and commands that never talk MIDI never load
// ALSA or JACK.
enum class Backend { Alsa, Jack };

// What a backend's module hands out.
struct BackendEntry {
    std::shared_ptr<MidiService> (*openService)(std::string& whyNot);
    std::unique_ptr<MidiDevice> (*openDevice)(const std::string& name, MidiService::InputHandler handler,
                                              std::string& whyNot);
};

// The backend's entry, its module loaded at the first call and kept for the life of the process.
// Null, with `whyNot` set, when the module or the library it needs cannot be loaded.
const BackendEntry* loadBackend(Backend backend, std::string& whyNot);

}  // namespace midi

// The one symbol a backend's module exports.
extern "C" const midi::BackendEntry* velk_midi_backend();
