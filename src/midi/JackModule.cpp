#include "midi/BackendModule.h"
#include "midi/JackService.h"

[[gnu::visibility("default")]] const midi::BackendEntry* velk_midi_backend() {
    static constexpr midi::BackendEntry entry{midi::openJackService, midi::openJackDevice};
    return &entry;
}
