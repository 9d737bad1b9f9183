#include "common/Clock.h"
#include "common/DebugUtil.h"
#include "common/ErrorCodes.h"
#include "common/GenericException.h"
#include "common/MIDIManager.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "common/VelkManagerInternal.h"
#include "midi/MidiService.h"

#include <string>
#include <vector>

namespace sysex = velk::sysex;

namespace {

constexpr int32_t kInputBufferSize = 512;
constexpr uint64_t kHeartBeatIntervalMS = 500;
constexpr uint64_t kConnectionCheckIntervalMS = 3000;
constexpr time_t kSilenceLimitSeconds = 6;

int32_t findAmplifier(const std::vector<std::string>& devices, const std::string& modelText) {
    for (size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].find(modelText) != std::string::npos)
            return static_cast<int32_t>(i);
    }
    return -1;
}

void throwIfFailed(int status) {
    if (status != 0)
        throw mstd::CGenericException(mstd::eErr_MIDIOpen, status, "");
}

// A service whose own threads failed delivers nothing more; waiting for the silence limit would
// only delay opening it afresh.
bool midiServiceDied() {
    CMIDIManager* midi = CMIDIManager::instance();
    std::shared_ptr<midi::MidiService> service = midi ? midi->service() : nullptr;
    return service && !service->alive();
}

}  // namespace

// ---- Ports

void CVelkManager::setDeviceModelText(const std::string& text) {
    CRegionGuard info(m_InfoLock);
    m_DeviceModelText = text;
}

std::string CVelkManager::getDeviceModelText() {
    CRegionGuard info(m_InfoLock);
    return m_DeviceModelText;
}

void CVelkManager::reconnect() {
    m_ReconnectRequested = true;
}

// Searches at once rather than at the next "not connected", which may be 3 s away.
void CVelkManager::reconnectNow() {
    disconnected();
    if (CMIDIManager* midi = CMIDIManager::instance())
        midi->reselectService();
    openVelk();
}

// Failures are only logged: the next eVelkRequest_Open tries again.
void CVelkManager::openVelk() {
    try {
        if (m_Opened)
            return;
        CMIDIManager* midi = CMIDIManager::instance();
        if (!midi)
            return;
        std::vector<std::string> inputs;
        std::vector<std::string> outputs;
        midi->getMidiInDevices(inputs);
        midi->getMidiOutDevices(outputs);
        const std::string modelText = getDeviceModelText();
        const int32_t input = findAmplifier(inputs, modelText);
        const int32_t output = findAmplifier(outputs, modelText);
        if (input < 0 || output < 0)
            return;
        openMidiIn(input);
        openMidiOut(output);
        m_Opened = true;
        notifyVelkEvent(eVelkEvent_Opened, 0);
    } catch (...) {
        mstd::logLine("[CATCH] Exception! - CVelkManager::openVelk()");
    }
}

void CVelkManager::closeVelk() {
    try {
        if (!m_Opened)
            return;
        if (CMIDIManager* midi = CMIDIManager::instance()) {
            midi->closeMidiIn();
            midi->closeMidiOut();
        }
        m_Opened = false;
    } catch (...) {
        mstd::logLine("[CATCH] Exception! - CVelkManager::closeVelk()");
    }
}

void CVelkManager::openMidiIn(int32_t sourceIndex) {
    CMIDIManager* midi = CMIDIManager::instance();
    throwIfFailed(midi->openMidiIn(static_cast<uint32_t>(sourceIndex), procMIDIIn, this, kInputBufferSize));
    throwIfFailed(midi->startMidiIn());
}

void CVelkManager::openMidiOut(int32_t destinationIndex) {
    CMIDIManager* midi = CMIDIManager::instance();
    throwIfFailed(midi->openMidiOut(static_cast<uint32_t>(destinationIndex)));
    throwIfFailed(midi->startMidiOut());
}

// ---- Heartbeat and silence

// Both timestamps start at 0, so the first pass after launch reports "not connected" at once
// and the first pass with open ports sends a heartbeat at once.
void CVelkManager::checkConnection() {
    if (m_ModelChanged)
        disconnected();
    if (m_ReconnectRequested.exchange(false) || midiServiceDied())
        reconnectNow();
    const uint64_t now = mstd::getClockMS();
    if (m_Opened && now - m_LastHeartBeatRequestMS >= kHeartBeatIntervalMS) {
        m_LastHeartBeatRequestMS = now;
        try {
            sendHeartBeatRequest();
        } catch (...) {
            // A lost heartbeat is judged by the silence limit, not here.
        }
    }
    if (now - m_LastConnectionCheckMS < kConnectionCheckIntervalMS)
        return;
    m_LastConnectionCheckMS = now;
    const time_t lastReply = m_LastHeartBeatTime;
    if (lastReply == 0)
        notifyVelkEvent(eVelkEvent_NotConnected, 0);
    else if (mstd::getWallClockSeconds() - lastReply >= kSilenceLimitSeconds)
        disconnected();
}

// Nothing waits for the reply: receiveHeartBeatMessage takes it whenever it comes.
void CVelkManager::sendHeartBeatRequest() {
    expectReply(eVelkResponse_HeartBeat);
    sendParameterChange(sysex::kGroupSystem, sysex::kParamHeartBeat, 0, 0);
}

// Runs on the utility thread only, which may hold the queue already.
void CVelkManager::disconnected() {
    m_DisconnectedByModelChange = m_ModelChanged.exchange(false);
    setModel(0);
    m_LastHeartBeatTime = 0;
    closeVelk();
    clearRequestEvent();
    notifyVelkEvent(eVelkEvent_Disconnected, 0);
}

bool CVelkManager::disconnectedByModelChange() const {
    return m_DisconnectedByModelChange;
}

// ---- Full read on connection

// The amp types just received choose which stored impulse response each amp plays.
void CVelkManager::sendAllBulkDump() {
    sendDumpRequest(sysex::kDumpEffectData);
    for (int block = 0; block < velk::kAmpTypeCount; ++block)
        sendDumpRequest(block);
    selectStoredFIR(0);
    if (getModel() == sysex::kModelDualAmp) {
        for (int block = velk::kAmpTypeCount; block < 2 * velk::kAmpTypeCount; ++block)
            sendDumpRequest(block);
        selectStoredFIR(1);
    }
    notifyVelkEvent(eVelkEvent_AllDataReceived, 0);
}
