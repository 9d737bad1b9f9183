#include "sim/AmpState.h"

#include <algorithm>
#include <cstring>

#include "sim/StockCabinets.h"

namespace velk::sim {

int ampCount(HeadModel model) {
    return model == HeadModel::Dual ? 2 : 1;
}

AmpState AmpState::factory(HeadModel model, uint16_t mainVersion) {
    AmpState state;
    state.model = model;
    state.mainVersion = mainVersion;
    for (int slot = 0; slot < kSlots; ++slot)
        state.firSlots[slot] = stockCabinet(slot);
    for (int amp = 0; amp < 2; ++amp)
        state.playBuffers[amp] = state.firSlots[state.currentSlot(amp)];
    return state;
}

bool AmpState::isBypassed(int amp) const {
    const auto& coe = playBuffers[amp].coe;
    return coe[0] != 0 && std::all_of(std::begin(coe) + 1, std::end(coe), [](int16_t c) { return c == 0; });
}

bool sameRecord(const FIRCOE& a, const FIRCOE& b) {
    return std::memcmp(&a, &b, sizeof(FIRCOE)) == 0;
}

}  // namespace velk::sim
