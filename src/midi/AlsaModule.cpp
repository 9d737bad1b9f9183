#include "midi/AlsaService.h"
#include "midi/BackendModule.h"

[[gnu::visibility("default")]] const midi::BackendEntry* velk_midi_backend() {
    static constexpr midi::BackendEntry entry{midi::openAlsaService, midi::openAlsaDevice};
    return &entry;
}
