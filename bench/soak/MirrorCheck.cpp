#include "MirrorCheck.h"

#include <cstring>

#include "sim/AmpState.h"

namespace velk::soak {

namespace {

using Report = std::function<void(const std::string&)>;

// The settings of an amp the windows show: amp type, booster, FX loop, reverb, noise gate.
constexpr int kAmpSettings = 5;
constexpr int kSendConnectionByte = 5;
constexpr int kReturnConnectionByte = 6;

bool sameHeader(const FIRCOE& a, const FIRCOE& b) {
    return std::strncmp(a.name, b.name, sizeof a.name) == 0 && a.gain == b.gain;
}

std::string describeHeader(const FIRCOE& record) {
    return std::string("\"")
        .append(record.name, strnlen(record.name, sizeof record.name))
        .append("\" gain ")
        .append(std::to_string(record.gain));
}

uint8_t mirroredEffectByte(CVelkManager& manager, int index) {
    const int amp = index / sim::AmpState::kAmpBlockStride;
    const int setting = index % sim::AmpState::kAmpBlockStride;
    if (setting == 0)
        return static_cast<uint8_t>(manager.getAmpType(amp));
    if (index == kSendConnectionByte || index == kReturnConnectionByte) {
        FxLoopConnection connection{};
        manager.getFxLoopConnection(connection);
        return static_cast<uint8_t>(index == kSendConnectionByte ? connection.sendConnection
                                                                 : connection.returnConnection);
    }
    EffectData effect{};
    manager.getEffectData(amp, effect);
    const int32_t values[] = {0, effect.boosterType, effect.fxLoop, effect.reverbType, effect.noiseGate};
    return static_cast<uint8_t>(values[setting]);
}

void checkEffectBlock(CVelkManager& manager, const sim::AmpState& head, const Report& report) {
    std::vector<int> indexes = {kSendConnectionByte, kReturnConnectionByte};
    for (int amp = 0; amp < sim::ampCount(head.model); ++amp)
        for (int setting = 0; setting < kAmpSettings; ++setting)
            indexes.push_back(amp * sim::AmpState::kAmpBlockStride + setting);
    for (int index : indexes) {
        const uint8_t mirrored = mirroredEffectByte(manager, index);
        if (mirrored != head.effectBlock[index])
            report("effect byte " + std::to_string(index) + " is " + std::to_string(mirrored) +
                   " in the mirror, " + std::to_string(head.effectBlock[index]) + " on the head");
    }
}

void checkRecord(const std::string& what, const FIRCOE& mirrored, const FIRCOE& onHead, bool whole,
                 const Report& report) {
    if (!sameHeader(mirrored, onHead))
        report(what + " is " + describeHeader(mirrored) + " in the mirror, " + describeHeader(onHead) +
               " on the head");
    else if (whole && !sim::sameRecord(mirrored, onHead))
        report(what + "'s coefficients differ between the mirror and the head");
}

}  // namespace

void checkMirror(SoakRig& rig, const AckLedger& ledger, const Report& report) {
    CVelkManager& manager = rig.manager();
    const sim::AmpState head = rig.head().state();
    // A model of 0 is a disconnection whose event is still on its way.
    const uint8_t model = manager.getModel();
    const bool connected = model == static_cast<uint8_t>(head.model);
    if (ledger.synced() && model != 0 && !connected)
        report("the mirror was read whole, but its model is " + std::to_string(model));
    if (ledger.synced() && connected)
        checkEffectBlock(manager, head, report);
    for (int amp = 0; amp < sim::ampCount(head.model); ++amp) {
        const AckLedger::Play play = ledger.play(amp);
        FIRCOE mirrored{};
        manager.getPlayBuffer(amp, mirrored);
        if (play != AckLedger::Play::Unknown && connected)
            checkRecord("amp " + std::to_string(amp) + "'s play buffer", mirrored, head.playBuffers[amp],
                        play == AckLedger::Play::Whole, report);
    }
    for (int slot = 0; slot < sim::AmpState::kSlots; ++slot) {
        if (!head.hasAmp(slot / sim::AmpState::kAmpTypes))
            continue;
        const bool whole = ledger.slotKnown(slot);
        if (!whole && !(ledger.slotHeaderKnown(slot) && connected))
            continue;
        FIRCOE mirrored{};
        manager.getFirSlot(slot, mirrored);
        checkRecord("slot " + std::to_string(slot), mirrored, head.firSlots[slot], whole, report);
    }
}

}  // namespace velk::soak
