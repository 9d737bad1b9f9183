#include "sim/StockCabinets.h"

#include <array>
#include <cmath>
#include <cstring>
#include <numbers>

#include "sim/AmpState.h"

namespace velk::sim {

namespace {

constexpr std::array<const char*, AmpState::kAmpTypes> kCabinetNames = {
    "Stock 1x12 Open", "Stock 2x12 Open", "Stock 2x12 Closed", "Stock 4x12 Closed", "Stock 4x12 Vintage",
};
constexpr int16_t kStockGain = 11598;  // -3 dB
constexpr double kSampleRate = 44100.0;

// A damped resonance with a second, quieter one above it: enough of a speaker's shape to sound
// like one, and a different shape per slot.
int16_t coefficient(int slot, int n) {
    const double decay = 40.0 + 12.0 * slot;
    const double low = 90.0 + 25.0 * slot;
    const double high = 2200.0 + 150.0 * slot;
    const double t = n / kSampleRate;
    const double envelope = std::exp(-n / decay);
    const double wave =
        std::cos(2 * std::numbers::pi * low * t) + 0.5 * std::cos(2 * std::numbers::pi * high * t);
    return static_cast<int16_t>(std::lround(20000.0 * envelope * wave));
}

}  // namespace

FIRCOE stockCabinet(int slot) {
    FIRCOE record{};
    std::strncpy(record.name, kCabinetNames[slot % AmpState::kAmpTypes], FIRCOE::kNameSize - 1);
    record.gain = kStockGain;
    for (size_t n = 0; n < FIRCOE::kCoefficientCount; ++n)
        record.coe[n] = coefficient(slot, static_cast<int>(n));
    return record;
}

}  // namespace velk::sim
