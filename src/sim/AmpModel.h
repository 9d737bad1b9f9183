#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/AmpState.h"

namespace velk::sim {

using Bytes = std::vector<uint8_t>;

// What an incoming message asked of the amplifier.
enum class Request {
    Ignored,  // not a message the amplifier understands, or malformed
    HeartBeat,
    MainVersion,
    Dump,
    EffectParameter,
    SelectStoredIr,
    IrName,
    IrGain,
    FlashWrite,
    InitIrData,
    CoefficientPacket,
};
const char* requestName(Request request);

// One incoming message as the amplifier took it, and its answer if it gives one.
struct Exchange {
    Exchange() = default;
    Exchange(Request request, std::optional<Bytes> reply = std::nullopt)
        : request(request), reply(std::move(reply)) {}

    Request request = Request::Ignored;
    std::optional<Bytes> reply;
};

// Mistakes of the amplifier itself, as opposed to losses on the wire.
struct AmpFaults {
    static constexpr int kPackets = 10;

    int corruptDumps = 0;                   // the next so many dumps go out with a bad checksum
    int failingFlashWrites = 0;             // the next so many flash writes fail
    std::bitset<kPackets> rejectedPackets;  // coefficient packets with these numbers are refused
};

// The amplifier's side of the protocol, without any transport: each message the editor sends
// goes in, the state changes as the head's would, and the head's answer comes out.
class AmpModel {
public:
    explicit AmpModel(AmpState state);

    Exchange handleMessage(std::span<const uint8_t> message);

    // A player turns an amp's type knob: the amp plays that type's stored IR and the head
    // announces the change. Nothing happens (and nothing is sent) for an amp or type it lacks.
    std::optional<Bytes> changeAmpType(int amp, int ampType);

    // The head is replaced by a factory-fresh one of the other model, same firmware.
    void switchModel(HeadModel model);

    const AmpState& state() const { return m_State; }
    AmpState& state() { return m_State; }
    AmpFaults& faults() { return m_Faults; }

private:
    Exchange handleParameterChange(std::span<const uint8_t> message);
    Exchange handleSystemParameter(uint8_t parameter);
    Exchange handleEffectParameter(uint8_t parameter, uint8_t data1, uint8_t data2);
    Exchange handleFirParameter(uint8_t parameter, uint8_t data1, uint8_t data2);
    Exchange handleIrCharacter(int amp, uint8_t position, uint8_t character);
    Exchange handleIrGain(int amp, uint8_t high, uint8_t low);
    Exchange handleSelectStoredIr(uint8_t amp, uint8_t slot);
    Exchange handleFlashWrite(uint8_t amp, uint8_t slot);
    Exchange handleInitIrData();
    Exchange handleDumpRequest(std::span<const uint8_t> message);
    Bytes effectDump() const;
    Bytes firHeaderDump(int slot) const;
    Exchange handleCoefficientPacket(std::span<const uint8_t> message);
    bool storeCoefficientPacket(std::span<const uint8_t> message, int amp);
    bool ownsSlot(int amp, int slot) const;

    AmpState m_State;
    AmpFaults m_Faults;
};

}  // namespace velk::sim
