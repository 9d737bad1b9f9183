#pragma once

// Pieces shared by the device manager's source files only.

#include "common/VelkManager.h"

// Response IDs: what a sender announces in m_ExpectedID and the receive path stores in
// m_ReceivedID. Dump requests use their dump index (0 to 10) directly.
enum EVelkResponseID : int32_t {
    eVelkResponse_None = -1,
    eVelkResponse_EffectData = 10,
    eVelkResponse_AmpTypeChange = 12,
    eVelkResponse_HeartBeat = 13,
    eVelkResponse_BoosterType = 14,
    eVelkResponse_FxLoop = 15,
    eVelkResponse_ReverbType = 16,
    eVelkResponse_NoiseGate = 17,
    eVelkResponse_SendConnection = 18,
    eVelkResponse_ReturnConnection = 19,
    eVelkResponse_FIRSelectOrGain = 20,
    eVelkResponse_FlashWrite = 21,
    eVelkResponse_FIRName = 22,
    eVelkResponse_InitFIRData = 23,
    eVelkResponse_Packet = 24,
    eVelkResponse_MainVersion = 25,
};

namespace velk {

constexpr int kAmpTypeCount = 5;
constexpr size_t kAmpIIEffectOffset = 8;  // Amp II's bytes in the effect block

inline bool isAmp(int amp) {
    return static_cast<unsigned>(amp) < 2;
}
inline bool isAmpType(int ampType) {
    return ampType >= 0 && ampType < kAmpTypeCount;
}

// A unit impulse at unity gain named "Bypass": what the amplifier plays with no speaker
// simulation.
FIRCOE makeBypassRecord();

// Throws the core's exception with an error code of ErrorCodes.h.
[[noreturn]] void throwError(int32_t errorCode);

}  // namespace velk

// Holds one of the manager's critical regions for a scope, so an exception never leaves a
// region entered.
class CVelkManager::CRegionGuard {
public:
    explicit CRegionGuard(CriticalRegion& region) : m_Region(region) { beginCriticalSection(m_Region); }
    ~CRegionGuard() { endCriticalSection(m_Region); }
    CRegionGuard(const CRegionGuard&) = delete;
    CRegionGuard& operator=(const CRegionGuard&) = delete;

private:
    CriticalRegion& m_Region;
};
