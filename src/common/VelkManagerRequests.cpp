#include "common/Clock.h"
#include "common/DebugUtil.h"
#include "common/ErrorCodes.h"
#include "common/GenericException.h"
#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "common/VelkManagerInternal.h"

namespace {

constexpr uint32_t kPassIntervalMS = 10;

}  // namespace

// ---- Queue

// Never waits for a pass: a pass holds its queue while a reply is awaited, up to 5 s for each
// request to a silent amplifier, and the windows post from the GUI thread.
void CVelkManager::sendRequest(eVelkRequestEvent kind, int32_t arg1, int32_t arg2) {
    {
        std::lock_guard wake(m_WakeLock);
        m_PostedRequests.push_back(VelkRequestEvent{kind, arg1, arg2});
        m_WakeRequested = true;
    }
    m_WakeUp.notify_all();
}

// What is posted from here on waits for the next pass.
void CVelkManager::takePostedRequests() {
    CRegionGuard requests(m_RequestLock);
    std::lock_guard wake(m_WakeLock);
    for (const VelkRequestEvent& request : m_PostedRequests)
        m_RequestQueue.push(request);
    m_PostedRequests.clear();
}

void CVelkManager::clearRequestEvent() {
    CRegionGuard requests(m_RequestLock);
    m_RequestQueue = {};
}

void CVelkManager::deleteLongMessage() {
    if (CMIDIManager* midi = CMIDIManager::instance())
        midi->deleteLongMessageBuffer();
}

// ---- The utility thread

void* CVelkManager::velkUtilityThread(void*) {
    for (;;) {
        CVelkManager* manager = instance();
        manager->runUtilityPass();
        if (manager->m_StopThread)
            return nullptr;
    }
}

// Nothing may end the thread but a stop: a failure here costs one pass.
void CVelkManager::runUtilityPass() {
    try {
        doRequestEvent();
        if (!m_StopThread)
            waitForNextPass();
    } catch (...) {
        mstd::logLine("[CATCH] Exception! - CVelkManager::velkUtilityThread()");
    }
}

// A request posted meanwhile ends the pause early.
void CVelkManager::waitForNextPass() {
    std::unique_lock wake(m_WakeLock);
    mstd::CClock& clock = mstd::processClock();
    clock.waitUntil(wake, m_WakeUp, clock.steadyMS() + kPassIntervalMS, [this] { return m_WakeRequested; });
    m_WakeRequested = false;
}

// One pass: the connection check, then every request posted before the pass began. A failed
// request ends the pass and drops what was queued behind it.
void CVelkManager::doRequestEvent() {
    try {
        takePostedRequests();
        checkConnection();
        runQueuedRequests();
    } catch (const mstd::CGenericException& exception) {
        notifyVelkEvent(eVelkEvent_Error, exception.getErrorCode());
        handleRequestFailure(exception.getErrorCode());
    } catch (...) {
        mstd::logLine("[CATCH] Exception! - CVelkManager::doRequestEvent()");
        clearRequestEvent();
        notifyVelkEvent(eVelkEvent_Error, mstd::eErr_Unknown);
    }
}

// Holds the queue for the whole pass, so that replies stay matched to the request that waits for
// them.
void CVelkManager::runQueuedRequests() {
    CRegionGuard requests(m_RequestLock);
    while (!m_RequestQueue.empty()) {
        if (m_StopThread) {
            m_RequestQueue = {};
            return;
        }
        const VelkRequestEvent request = m_RequestQueue.front();
        m_RequestQueue.pop();
        runRequest(request);
    }
}

// A time-out or a failed send means the amplifier is gone; anything else only spoils the
// requests queued behind the failed one.
void CVelkManager::handleRequestFailure(int32_t errorCode) {
    switch (errorCode) {
        case mstd::eErr_Timeout:
            disconnected();
            break;
        case mstd::eErr_MIDISend:
            deleteLongMessage();
            disconnected();
            break;
        default:
            clearRequestEvent();
            break;
    }
}

void CVelkManager::runRequest(const VelkRequestEvent& request) {
    const int32_t amp = request.arg1;
    switch (static_cast<uint32_t>(request.kind)) {
        case eVelkRequest_Open:
            openVelk();
            break;
        case eVelkRequest_Close:
            closeVelk();
            break;
        case eVelkRequest_AllBulkDump:
            sendAllBulkDump();
            break;
        case eVelkRequest_BoosterType:
            sendBoosterType(amp, request.arg2);
            break;
        case eVelkRequest_FxLoop:
            sendFxLoop(amp, request.arg2);
            break;
        case eVelkRequest_ReverbType:
            sendReverbType(amp, request.arg2);
            break;
        case eVelkRequest_NoiseGate:
            sendNoiseGate(amp, request.arg2);
            break;
        case eVelkRequest_SendConnection:
            sendSendConnection(request.arg1);
            break;
        case eVelkRequest_ReturnConnection:
            sendReturnConnection(request.arg1);
            break;
        case eVelkRequest_FIRGain:
            sendFIRGain(amp, request.arg2);
            break;
        case eVelkRequest_Bypass:
            sendBypassData(amp);
            break;
        case eVelkRequest_FIRDataWrite:
            sendFIRDataWriteReq(amp);
            break;
        case eVelkRequest_FIRDataWriteOfAmpType:
            sendFIRDataWriteReqIfAmpType(amp, request.arg2);
            break;
        case eVelkRequest_FIRCOE: {
            FIRCOE staged = stagedFIRCOE();
            sendFIRCOE(amp, staged);
            break;
        }
        case eVelkRequest_ChangeFIR:
            sendChangeFIR(amp);
            break;
        case eVelkRequest_FIRName:
            sendFIRName(amp, stagedIrName().data());
            break;
        case eVelkRequest_InitFIRData:
            sendInitFIRDataReq();
            break;
        case eVelkRequest_MainVersion:
            sendMainVerReq();
            break;
        default:
            break;  // unknown kinds are taken off the queue and dropped
    }
}
