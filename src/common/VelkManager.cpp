#include "common/VelkManager.h"

#include "common/DebugUtil.h"
#include "common/GenericException.h"
#include "common/MIDIManager.h"
#include "common/VelkManagerInternal.h"

#include <algorithm>
#include <mutex>

std::atomic<CVelkManager*> CVelkManager::s_instance{nullptr};

namespace {

// Serialises creation and destruction of the single instance.
std::mutex gLifeCycleLock;

}  // namespace

// The core's failures carry no file name; only port opening adds an OS status.
void velk::throwError(int32_t errorCode) {
    throw mstd::CGenericException(errorCode, 0, "");
}

// ---- Life cycle

void CVelkManager::initialize() {
    std::lock_guard lifeCycle(gLifeCycleLock);
    if (s_instance)
        return;
    CVelkManager* manager = new CVelkManager();
    s_instance = manager;
    manager->initEffectData();
    manager->initFIRCOE();
    CMIDIManager::initialize(MIDINotifyProc, manager);
}

CVelkManager* CVelkManager::instance() {
    if (CVelkManager* manager = s_instance.load())
        return manager;
    initialize();
    return s_instance;
}

void CVelkManager::terminate() {
    std::lock_guard lifeCycle(gLifeCycleLock);
    CVelkManager* manager = s_instance;
    if (!manager)
        return;
    manager->destroySubThread();
    // The MIDI input callback holds the manager as its user data: once the input is closed no
    // delivery is running or can start, so the manager may go.
    if (CMIDIManager* midi = CMIDIManager::instance())
        midi->closeMidiIn();
    s_instance = nullptr;
    delete manager;
    CMIDIManager::terminate();
}

void CVelkManager::MIDINotifyProc(const void*, void*) {}

CVelkManager::CVelkManager() {
    initCriticalSection(m_RequestLock);
    initCriticalSection(m_BufferLock);
    initCriticalSection(m_InfoLock);
}

CVelkManager::~CVelkManager() {
    deleteCriticalSection(m_RequestLock);
    deleteCriticalSection(m_BufferLock);
    deleteCriticalSection(m_InfoLock);
}

// ---- Thread control

void CVelkManager::start() {
    createSubThread();
}

void CVelkManager::createSubThread() {
    if (!m_Thread.joinable())
        m_Thread = std::thread(velkUtilityThread, nullptr);
}

void CVelkManager::stop() {
    destroySubThread();
}

void CVelkManager::destroySubThread() {
    if (!m_Thread.joinable())
        return;
    m_StopThread = true;
    {
        std::lock_guard wake(m_WakeLock);
        m_WakeRequested = true;
    }
    m_WakeUp.notify_all();
    m_Thread.join();
}

// ---- Listeners

void CVelkManager::addListenerCallback(ListenerCallback callback, void* userData) {
    std::lock_guard registry(m_ListenerLock);
    m_Listeners.emplace_back(callback, userData);
}

void CVelkManager::removeListenerCallback(ListenerCallback callback) {
    std::lock_guard registry(m_ListenerLock);
    auto found = std::find_if(m_Listeners.begin(), m_Listeners.end(),
                              [callback](const Listener& listener) { return listener.first == callback; });
    if (found == m_Listeners.end())
        return;
    if (m_ListenerWalks > 0)
        found->first = nullptr;
    else
        m_Listeners.erase(found);
}

void CVelkManager::notifyVelkEvent(EVelkEventID event, int32_t data) {
    if (!s_instance)
        return;
    std::lock_guard registry(m_ListenerLock);
    ++m_ListenerWalks;
    struct SWalkEnd {
        CVelkManager& manager;
        ~SWalkEnd() {
            if (--manager.m_ListenerWalks == 0)
                std::erase_if(manager.m_Listeners, [](const Listener& listener) { return !listener.first; });
        }
    } walkEnd{*this};
    // Listeners registered during the walk hear from the next event on.
    const size_t count = m_Listeners.size();
    for (size_t i = 0; i < count; ++i) {
        const auto [callback, userData] = m_Listeners[i];
        if (callback)
            callListener(callback, event, data, userData);
    }
}

// A listener that throws must neither end the thread that raised the event nor keep the others
// from hearing of it.
void CVelkManager::callListener(ListenerCallback callback, EVelkEventID event, int32_t data, void* userData) {
    try {
        callback(event, data, userData);
    } catch (...) {
        mstd::logLine("[CATCH] Exception! - CVelkManager::notifyVelkEvent()");
    }
}

// ---- Regions

// A manager without its locks would run unguarded, so a failure is logged and not survived.
void CVelkManager::initCriticalSection(CriticalRegion& region) {
    try {
        region = std::make_unique<std::recursive_mutex>();
    } catch (const std::exception&) {
        MSTD_LOG_FAILURE("MPCreateCriticalRegion returned error.");
        throw;
    }
}

void CVelkManager::deleteCriticalSection(CriticalRegion& region) {
    region.reset();
}

void CVelkManager::beginCriticalSection(CriticalRegion& region) {
    region->lock();
}

void CVelkManager::endCriticalSection(CriticalRegion& region) {
    region->unlock();
}

void CVelkManager::beginBufferAccess() {
    beginCriticalSection(m_BufferLock);
}

void CVelkManager::endBufferAccess() {
    endCriticalSection(m_BufferLock);
}

void CVelkManager::beginInfoAccess() {
    beginCriticalSection(m_InfoLock);
}

void CVelkManager::endInfoAccess() {
    endCriticalSection(m_InfoLock);
}

// ---- Information

unsigned char CVelkManager::getModel() {
    CRegionGuard info(m_InfoLock);
    return m_Model;
}

void CVelkManager::setModel(unsigned char model) {
    CRegionGuard info(m_InfoLock);
    m_Model = model;
}

bool CVelkManager::isConnected() {
    return getModel() != 0;
}

bool CVelkManager::isEnableFxLoopConnection() {
    CRegionGuard info(m_InfoLock);
    return m_FxLoopConnectionEnabled;
}

void CVelkManager::enableFxLoopConnection(bool enable) {
    CRegionGuard info(m_InfoLock);
    m_FxLoopConnectionEnabled = enable;
}

bool CVelkManager::fxLoopConnectionExists(int32_t model, int32_t mainVersion) {
    return model == kDualAmpHead && ((mainVersion >= 42 && mainVersion <= 49) || mainVersion > 109);
}

void CVelkManager::initInfo() {
    CRegionGuard info(m_InfoLock);
    m_Model = 0;
    m_MainVersion = 0;
    m_FxLoopConnectionEnabled = false;
}

uint16_t CVelkManager::getMainVer() {
    CRegionGuard info(m_InfoLock);
    return m_MainVersion;
}

void CVelkManager::setMainVer(uint16_t version) {
    CRegionGuard info(m_InfoLock);
    m_MainVersion = version;
}
