#pragma once

#include <array>
#include <cstdint>

#include "common/FIRCOE.h"

namespace velk::sim {

// The two heads; the value is the model byte of the heartbeat reply.
enum class HeadModel : uint8_t {
    Single = 0x31,
    Dual = 0x32,
};

int ampCount(HeadModel model);

// Everything the amplifier remembers: what the editor reads back in a full read, and the play
// buffers it streams coefficients into.
struct AmpState {
    static constexpr int kAmpTypes = 5;
    static constexpr int kSlots = 10;
    static constexpr int kEffectBlockSize = 16;
    // Byte of each amp's settings in the effect block; the amp type is its first byte.
    static constexpr int kAmpBlockStride = 8;

    HeadModel model = HeadModel::Dual;
    uint16_t mainVersion = 0;  // 14 bits
    std::array<uint8_t, kEffectBlockSize> effectBlock{};
    std::array<FIRCOE, kSlots> firSlots{};
    std::array<FIRCOE, 2> playBuffers{};

    // A head as it leaves the factory: amp type 0 everywhere, stock cabinets in every slot, each
    // amp playing its current slot.
    static AmpState factory(HeadModel model, uint16_t mainVersion);

    bool hasAmp(int amp) const { return amp >= 0 && amp < ampCount(model); }
    int ampType(int amp) const { return effectBlock[amp * kAmpBlockStride]; }
    static int slotOf(int amp, int ampType) { return amp * kAmpTypes + ampType; }
    int currentSlot(int amp) const { return slotOf(amp, ampType(amp)); }
    // Bypass is no switch of the amplifier: the editor streams a unit impulse into the play buffer.
    bool isBypassed(int amp) const;
};

bool sameRecord(const FIRCOE& a, const FIRCOE& b);

}  // namespace velk::sim
