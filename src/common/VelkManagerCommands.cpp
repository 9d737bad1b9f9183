#include "common/Clock.h"
#include "common/ErrorCodes.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "common/VelkManagerInternal.h"

namespace sysex = velk::sysex;

namespace {

constexpr int kDumpAttempts = 6;
// The amplifier needs a breath between consecutive name characters and dump attempts.
constexpr uint32_t kPauseMS = 10;
constexpr int kNameCharactersSent = FIRCOE::kNameSize - 1;

// Parameter numbers are the setting's byte in the effect block.
uint8_t effectParameter(int amp, uint8_t ampIByte) {
    return static_cast<uint8_t>(amp == 0 ? ampIByte : ampIByte + velk::kAmpIIEffectOffset);
}

}  // namespace

// ---- Dump request

// Only a dump that arrived but was rejected is asked for again; silence ends in a time-out.
bool CVelkManager::sendDumpRequest(int index) {
    for (int attempt = 1;; ++attempt) {
        expectReply(index);
        uint8_t request[sysex::kDumpRequestSize];
        setDumpReqHeader(index, request);
        if (mi_sendBuffer(request, sizeof request) != 0)
            velk::throwError(mstd::eErr_MIDISend);
        waitForReplyOrThrow();
        if (m_ReceiveError == 0)
            return true;
        if (attempt == kDumpAttempts)
            velk::throwError(mstd::eErr_ReceiveData);
        mstd::sleepMS(kPauseMS);
    }
}

void CVelkManager::waitForReplyOrThrow() {
    if (!checkReceiveMessage())
        velk::throwError(mstd::eErr_Timeout);
}

// ---- Effect parameters

void CVelkManager::sendEffectParameter(int32_t responseID, uint8_t parameter, int value) {
    expectReply(responseID);
    const uint8_t byte = value & 0xFF;
    sendParameterChange(sysex::kGroupEffect, parameter, 0, byte);
    storeEffectByte(parameter, byte);
}

void CVelkManager::sendBoosterType(int amp, int value) {
    sendEffectParameter(eVelkResponse_BoosterType, effectParameter(amp, 1), value);
}

void CVelkManager::sendFxLoop(int amp, int value) {
    sendEffectParameter(eVelkResponse_FxLoop, effectParameter(amp, 2), value);
}

void CVelkManager::sendReverbType(int amp, int value) {
    sendEffectParameter(eVelkResponse_ReverbType, effectParameter(amp, 3), value);
}

void CVelkManager::sendNoiseGate(int amp, int value) {
    sendEffectParameter(eVelkResponse_NoiseGate, effectParameter(amp, 4), value);
}

void CVelkManager::sendSendConnection(int value) {
    sendEffectParameter(eVelkResponse_SendConnection, sysex::kParamSendConnection, value);
}

void CVelkManager::sendReturnConnection(int value) {
    sendEffectParameter(eVelkResponse_ReturnConnection, sysex::kParamReturnConnection, value);
}

// ---- FIR parameters

// Asks the amplifier to play the amp's stored impulse response again, ending a preview. The
// mirror follows: a rename compares its name with the play buffer's, and a flash write copies
// the play buffer, so a mirror still holding the preview would store the preview's gain and
// send only part of the new name.
void CVelkManager::sendChangeFIR(int amp) {
    const int slot = firNumber(amp);
    expectReply(eVelkResponse_FIRSelectOrGain);
    sendParameterChange(sysex::kGroupFIR, sysex::kParamSelectFIR, amp & 0xFF, static_cast<uint8_t>(slot));
    selectStoredFIR(amp);
}

// Sends only the characters that differ from the play buffer's name; the caller's zero tail
// clears what is left of a longer old name.
void CVelkManager::sendFIRName(int amp, const char* name) {
    expectReply(eVelkResponse_FIRName);
    const int target = amp != 0 ? 1 : 0;
    const uint8_t parameter = amp != 0 ? sysex::kParamAmpIIFIRName : sysex::kParamAmpIFIRName;
    for (int position = 0; position < kNameCharactersSent; ++position) {
        char current;
        {
            CRegionGuard buffer(m_BufferLock);
            current = m_PlayBuffer[target].name[position];
        }
        if (name[position] == current)
            continue;
        sendParameterChange(sysex::kGroupFIR, parameter, static_cast<uint8_t>(position),
                            static_cast<uint8_t>(name[position]));
        {
            CRegionGuard buffer(m_BufferLock);
            m_PlayBuffer[target].name[position] = name[position];
        }
        mstd::sleepMS(kPauseMS);
    }
}

// The message for any amp but 0 is Amp II's, but only amps 0 and 1 have a play buffer to update.
void CVelkManager::sendFIRGain(int amp, int gain) {
    expectReply(eVelkResponse_FIRSelectOrGain);
    const uint8_t parameter = amp == 0 ? sysex::kParamAmpIFIRGain : sysex::kParamAmpIIFIRGain;
    sendParameterChange(sysex::kGroupFIR, parameter, sysex::high7(gain), sysex::low7(gain));
    if (!velk::isAmp(amp))
        return;
    CRegionGuard buffer(m_BufferLock);
    m_PlayBuffer[amp].gain = static_cast<int16_t>(gain & 0xFFFF);
}

// The reply, success or failure, is handled by the receive path.
void CVelkManager::sendFIRDataWriteReq(int amp) {
    const int slot = firNumber(amp);
    expectReply(eVelkResponse_FlashWrite);
    sendParameterChange(sysex::kGroupFIR, sysex::kParamFlashWrite, amp & 0xFF, static_cast<uint8_t>(slot));
    waitForReplyOrThrow();
}

void CVelkManager::sendFIRDataWriteReqIfAmpType(int amp, int ampType) {
    if (getAmpType(amp) == ampType)
        sendFIRDataWriteReq(amp);
    else
        notifyVelkEvent(eVelkEvent_FIRWriteFailed, amp);
}

// Listeners hear of it twice: from the reply itself and from here.
void CVelkManager::sendInitFIRDataReq() {
    expectReply(eVelkResponse_InitFIRData);
    sendParameterChange(sysex::kGroupFIR, sysex::kParamInitFIRData, 0, 0);
    waitForReplyOrThrow();
    notifyVelkEvent(eVelkEvent_FIRDataInitialized, 0);
}

// ---- System

void CVelkManager::sendMainVerReq() {
    expectReply(eVelkResponse_MainVersion);
    sendParameterChange(sysex::kGroupSystem, sysex::kParamMainVersionRequest, 0, 0);
    waitForReplyOrThrow();
    notifyVelkEvent(eVelkEvent_MainVersion, getMainVer());
}
