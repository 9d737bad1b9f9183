#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "common/FIRCOE.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "sim/AmpState.h"

// The editor's side of the conversation, built the way it goes on the wire, so the simulator is
// tested against the protocol rather than against its own code.
namespace velk::sim::test {

using Bytes = std::vector<uint8_t>;

inline Bytes parameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2) {
    return {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, group, parameter, data1, data2, 0xF7};
}
// A copy of `message` changed by `edit`.
inline Bytes edited(Bytes message, const std::function<void(Bytes&)>& edit) {
    edit(message);
    return message;
}

inline const Bytes kHeartBeatRequest = parameterChange(0x70, 0x01, 0, 0);
inline const Bytes kMainVersionRequest = parameterChange(0x70, 0x21, 0, 0);

inline Bytes dumpRequest(int index) {
    Bytes message = {0xF0, 0x43, 0x7D, 0x20, 0x58, 0x48, 0x44, 0x32, 0, 0, 0, 0, 0xF7};
    sysex::dumpName(index, message.data() + 8);
    return message;
}

// One coefficient packet carrying `length` bytes of `payload`.
inline Bytes coefficientPacket(int number, int amp, const uint8_t* payload, size_t length) {
    using sysex::high7, sysex::low7;
    Bytes body = {0x58, 0x48, 0x44,          0x32,         'F',        'I',
                  'R',  'C',  high7(number), low7(number), high7(amp), low7(amp)};
    const size_t headerSize = body.size();
    body.resize(headerSize + sysex::packedSize(length));
    sysex::pack7(payload, length, body.data() + headerSize);
    return sysex::bulkDump(body.data(), body.size());
}

// The ten packets that stream `record` into an amp's play buffer.
inline std::vector<Bytes> coefficientStream(const FIRCOE& record, int amp) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    std::vector<Bytes> packets;
    for (size_t offset = 0; offset < sizeof(FIRCOE); offset += 448)
        packets.push_back(coefficientPacket(static_cast<int>(offset / 448), amp, bytes + offset,
                                            std::min<size_t>(448, sizeof(FIRCOE) - offset)));
    return packets;
}

// A record no head ships with: a named ramp with a chosen gain.
inline FIRCOE sampleRecord(const char* name, int16_t gain) {
    FIRCOE record{};
    std::strncpy(record.name, name, sizeof record.name - 1);
    record.gain = gain;
    for (size_t n = 0; n < FIRCOE::kCoefficientCount; ++n)
        record.coe[n] = static_cast<int16_t>(32767 - 29 * static_cast<int>(n));
    return record;
}

// A head in use: every setting away from its default, a name and gain of its own in every slot
// ("Cab N" at -20 + N dB), and each amp playing its current slot.
inline void personalise(AmpState& state) {
    state.effectBlock = {2, 1, 1, 3, 2, 4, 5, 0, 3, 2, 0, 1, 3, 0, 0, 0};
    for (int slot = 0; slot < AmpState::kSlots; ++slot) {
        std::memset(state.firSlots[slot].name, 0, FIRCOE::kNameSize);
        std::snprintf(state.firSlots[slot].name, FIRCOE::kNameSize, "Cab %d", slot);
        state.firSlots[slot].gain = CVelkManager::shortGain(-20 + slot);
    }
    for (int amp = 0; amp < 2; ++amp)
        state.playBuffers[amp] = state.firSlots[state.currentSlot(amp)];
}

}  // namespace velk::sim::test
