#include "common/ErrorCodes.h"
#include "common/VelkManager.h"
#include "common/VelkManagerInternal.h"

#include <cmath>
#include <cstring>
#include <iterator>

namespace {

using velk::isAmp;
using velk::isAmpType;
using velk::kAmpTypeCount;
constexpr size_t kAmpIIOffset = velk::kAmpIIEffectOffset;
constexpr int16_t kUnityGain = 16383;
constexpr int16_t kDefaultSlotGain = 5181;  // -10 dB
constexpr int16_t kUnitImpulse = 32767;

// Positions 0 to 20 step 1 dB from -30 dB, positions 20 to 40 step 0.5 dB up to 0 dB.
constexpr int kGainKnobPositions = 41;
constexpr int kGainKnobFineFrom = 20;
double gainKnobDecibels(int position) {
    if (position <= kGainKnobFineFrom)
        return -30.0 + position;
    return -10.0 + (position - kGainKnobFineFrom) * 0.5;
}

}  // namespace

FIRCOE velk::makeBypassRecord() {
    FIRCOE record{};
    std::strncpy(record.name, "Bypass", sizeof record.name);
    record.gain = kUnityGain;
    record.coe[0] = kUnitImpulse;
    return record;
}

// ---- Effect block

void CVelkManager::initEffectData() {
    CRegionGuard buffer(m_BufferLock);
    std::memset(m_EffectData, 0, sizeof m_EffectData);
}

bool CVelkManager::getEffectData(int amp, EffectData& out) {
    if (!isAmp(amp))
        return false;
    CRegionGuard buffer(m_BufferLock);
    const uint8_t* block = m_EffectData + (amp == 0 ? 0 : kAmpIIOffset);
    out.boosterType = block[1];
    out.fxLoop = block[2];
    out.reverbType = block[3];
    out.noiseGate = block[4];
    return true;
}

bool CVelkManager::getFxLoopConnection(FxLoopConnection& out) {
    CRegionGuard buffer(m_BufferLock);
    out.sendConnection = m_EffectData[5];
    out.returnConnection = m_EffectData[6];
    return true;
}

int CVelkManager::getAmpType(int amp) {
    if (!isAmp(amp))
        return -1;
    CRegionGuard buffer(m_BufferLock);
    return m_EffectData[amp == 0 ? 0 : kAmpIIOffset];
}

void CVelkManager::storeEffectByte(uint8_t index, uint8_t value) {
    CRegionGuard buffer(m_BufferLock);
    m_EffectData[index] = value;
}

// Any amp value but 1 means Amp I, as in the commands that carry it. An amp type the amplifier
// does not have would name the other amp's slots (or no byte a message may carry): refused.
int CVelkManager::firNumber(int amp) {
    const int slot = [&] {
        CRegionGuard buffer(m_BufferLock);
        return currentSlot(amp == 1 ? 1 : 0);
    }();
    if (slot < 0)
        velk::throwError(mstd::eErr_Unknown);
    return slot;
}

// ---- Impulse responses

void CVelkManager::initFIRCOE() {
    for (FIRCOE& slot : m_FirSlots) {
        std::memset(&slot, 0, sizeof slot);
        slot.gain = kDefaultSlotGain;
    }
    const FIRCOE bypass = velk::makeBypassRecord();
    for (FIRCOE& playBuffer : m_PlayBuffer)
        std::memcpy(&playBuffer, &bypass, sizeof playBuffer);
}

bool CVelkManager::getPlayBuffer(int amp, FIRCOE& out) {
    if (!isAmp(amp))
        return false;
    CRegionGuard buffer(m_BufferLock);
    std::memcpy(&out, &m_PlayBuffer[amp], sizeof out);
    return true;
}

bool CVelkManager::getFirSlot(int slot, FIRCOE& out) {
    if (static_cast<unsigned>(slot) >= std::size(m_FirSlots))
        return false;
    CRegionGuard buffer(m_BufferLock);
    std::memcpy(&out, &m_FirSlots[slot], sizeof out);
    return true;
}

bool CVelkManager::setPlayBuffer(int amp, const FIRCOE& in) {
    if (!isAmp(amp))
        return false;
    CRegionGuard buffer(m_BufferLock);
    std::memcpy(&m_PlayBuffer[amp], &in, sizeof in);
    return true;
}

// Amp types come from the amplifier unchecked: one outside 0 to 4 names no slot, and the copy
// is skipped rather than reaching past the ten slots. The caller holds the buffer lock.
int CVelkManager::currentSlot(int amp) const {
    const int ampType = m_EffectData[amp == 0 ? 0 : kAmpIIOffset];
    return isAmp(amp) && isAmpType(ampType) ? amp * kAmpTypeCount + ampType : -1;
}

void CVelkManager::setFlashBuffer(int amp) {
    CRegionGuard buffer(m_BufferLock);
    const int slot = currentSlot(amp);
    if (slot >= 0)
        std::memcpy(&m_FirSlots[slot], &m_PlayBuffer[amp], sizeof(FIRCOE));
}

void CVelkManager::selectStoredFIR(int amp) {
    CRegionGuard buffer(m_BufferLock);
    const int slot = currentSlot(amp);
    if (slot >= 0)
        std::memcpy(&m_PlayBuffer[amp], &m_FirSlots[slot], sizeof(FIRCOE));
}

void CVelkManager::setSpeakerTabFIRCOE(const FIRCOE& in) {
    CRegionGuard buffer(m_BufferLock);
    std::memcpy(&m_SpeakerTabFirCoe, &in, sizeof in);
}

void CVelkManager::setSpeakerTabIrName(const char* name) {
    CRegionGuard buffer(m_BufferLock);
    std::memcpy(m_SpeakerTabIrName, name, sizeof m_SpeakerTabIrName);
}

FIRCOE CVelkManager::stagedFIRCOE() {
    CRegionGuard buffer(m_BufferLock);
    return m_SpeakerTabFirCoe;
}

std::array<char, 64> CVelkManager::stagedIrName() {
    std::array<char, 64> name;
    CRegionGuard buffer(m_BufferLock);
    std::memcpy(name.data(), m_SpeakerTabIrName, name.size());
    return name;
}

// ---- Gain conversions

double CVelkManager::gainIndex2dB(int index) {
    if (index < 0)
        return gainKnobDecibels(0);
    return gainKnobDecibels(std::min(index, kGainKnobPositions - 1));
}

int16_t CVelkManager::shortGain(double dB) {
    const auto fixed = static_cast<int64_t>(std::pow(10.0, dB / 20.0) * 1073741824.0);
    const int16_t gain = long2short(fixed);
    return gain > kUnityGain ? kUnityGain : gain;
}

// Rounds up only when both the half bit and the lowest kept bit are set: the amplifier's own
// rounding, which the stored gain words depend on.
int16_t CVelkManager::long2short(int64_t value) {
    const int64_t kept = value >> 16;
    const int64_t roundUp = (value >> 15) & (value >> 16) & 1;
    return static_cast<int16_t>(kept + roundUp);
}

double CVelkManager::doubleGain(int16_t gain) {
    constexpr double kFloor = -30.0;
    // Words of 0 and below have no logarithm; they are the floor.
    if (gain <= 0)
        return kFloor;
    const double dB = 20.0 * std::log10(gain * 6.103515625e-05);
    if (dB < kFloor)
        return kFloor;
    if (dB > 0.0)
        return 0.0;
    const auto halfSteps = static_cast<int32_t>(2.0 * dB - 0.5);
    return halfSteps * 0.5;
}
