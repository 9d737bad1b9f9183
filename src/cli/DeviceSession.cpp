#include "cli/DeviceSession.h"

#include <algorithm>

#include "cli/Command.h"
#include "cli/CommandFailure.h"
#include "cli/Text.h"
#include "common/ErrorCodes.h"
#include "common/MIDIManager.h"
#include "midi/TracingMidiService.h"
#include "strings/SysexText.h"

namespace velk::cli {

namespace {

// Once the amplifier has answered, every request ends in an event within the device manager's
// own reply limit (5 s per awaited reply); this only guards against waiting forever.
constexpr auto kPatience = std::chrono::seconds(20);

}  // namespace

DeviceSession::DeviceSession(const DeviceOptions& options, const Environment& environment, std::ostream& err)
    : m_Options(options), m_Err(err), m_ShowsProgress(environment.interactive && !options.trace) {
    midi::ServiceSelection selection = environment.openService(options.service);
    if (!selection.service) {
        throw ownFailure(eExit_NotFound, "Cli_Err_NoMidiService",
                         text("Cli_Err_NoMidiService", selection.unavailableReason));
    }
    m_ServiceName = selection.service->serviceName();
    std::shared_ptr<midi::MidiService> service = std::move(selection.service);
    if (options.trace)
        service = std::make_shared<midi::TracingMidiService>(
            service, std::make_shared<midi::TraceLog>(err, strings::sysexAnnotator()));
    CMIDIManager::setServiceProvider([service] { return service; });
    CVelkManager::initialize();
    m_Manager = CVelkManager::instance();
    m_Manager->setDeviceModelText(options.match);
    m_Manager->addListenerCallback(EventQueue::listener, &m_Events);
}

DeviceSession::~DeviceSession() {
    m_Manager->removeListenerCallback(EventQueue::listener);
    CVelkManager::terminate();
    CMIDIManager::setServiceProvider(nullptr);
}

void DeviceSession::connect() {
    m_Manager->start();
    post(eVelkRequest_Open);
    awaitConnection();
    post(eVelkRequest_MainVersion);
    m_MainVersion = static_cast<uint16_t>(awaitOneOf({eVelkEvent_MainVersion}).data);
    m_Manager->enableFxLoopConnection(CVelkManager::fxLoopConnectionExists(m_Model, m_MainVersion));
    post(eVelkRequest_AllBulkDump);
    awaitOneOf({eVelkEvent_AllDataReceived});
}

// The search of the main window: open again on every "not connected" until the first heartbeat
// reply names the model.
void DeviceSession::awaitConnection() {
    const auto deadline = EventQueue::Clock::now() + std::chrono::milliseconds(m_Options.timeoutMS);
    bool portsOpened = false;
    for (;;) {
        const std::optional<DeviceEvent> event = m_Events.pop(deadline);
        if (!event)
            failNotFound(portsOpened);
        switch (event->id) {
            case eVelkEvent_Opened:
                portsOpened = true;
                break;
            case eVelkEvent_NotConnected:
                post(eVelkRequest_Open);
                break;
            case eVelkEvent_Connected:
                m_Model = event->data;
                return;
            default:
                break;
        }
    }
}

void DeviceSession::failNotFound(bool portsOpened) const {
    if (portsOpened) {
        throw ownFailure(eExit_NotFound, "Cli_Err_AmplifierSilent",
                         text("Cli_Err_AmplifierSilent", m_ServiceName, m_Options.timeoutMS));
    }
    throw ownFailure(eExit_NotFound, "Cli_Err_NoAmplifier",
                     text("Cli_Err_NoAmplifier", m_ServiceName, m_Options.match, m_Options.timeoutMS));
}

void DeviceSession::requireAmp(int amp) const {
    if (amp == 1 && m_Model != kDualAmpHead)
        throw ownFailure(eExit_Usage, "Cli_Err_SingleAmpHead", text("Cli_Err_SingleAmpHead"));
}

void DeviceSession::requireFxLoopConnection() const {
    if (!m_Manager->isEnableFxLoopConnection()) {
        throw ownFailure(eExit_Usage, "Cli_Err_NoFxLoopConnection",
                         text("Cli_Err_NoFxLoopConnection", m_MainVersion));
    }
}

void DeviceSession::post(eVelkRequestEvent kind, int32_t arg1, int32_t arg2) {
    m_Manager->sendRequest(kind, arg1, arg2);
}

DeviceEvent DeviceSession::awaitOneOf(std::initializer_list<EVelkEventID> events, std::optional<int32_t> data,
                                      const Observer& observe) {
    const std::optional<DeviceEvent> event = awaitWithin(kPatience, events, data, observe);
    if (!event)
        throw coreFailure(eExit_DeviceError, mstd::eErr_Timeout);
    return *event;
}

std::optional<DeviceEvent> DeviceSession::awaitWithin(std::chrono::milliseconds limit,
                                                      std::initializer_list<EVelkEventID> events,
                                                      std::optional<int32_t> data, const Observer& observe) {
    for (;;) {
        const std::optional<DeviceEvent> event = nextEvent(EventQueue::Clock::now() + limit);
        if (!event)
            return std::nullopt;
        const bool awaited = std::find(events.begin(), events.end(), event->id) != events.end() &&
                             (!data || event->data == *data);
        if (awaited)
            return event;
        if (observe)
            observe(*event);
    }
}

// An error ends the wait at once; a dropped connection without one means that another model
// answered or that the amplifier fell silent (the heartbeat's silence limit).
std::optional<DeviceEvent> DeviceSession::nextEvent(EventQueue::Clock::time_point deadline) {
    const std::optional<DeviceEvent> event = m_Events.pop(deadline);
    if (event && event->id == eVelkEvent_Error)
        throw coreFailure(eExit_DeviceError, event->data);
    if (event && event->id == eVelkEvent_Disconnected) {
        const char* key =
            m_Manager->disconnectedByModelChange() ? "Cli_Err_ModelChanged" : "Cli_Err_AmplifierLost";
        throw ownFailure(eExit_DeviceError, key, text(key));
    }
    return event;
}

void DeviceSession::settle() {
    post(eVelkRequest_MainVersion);
    awaitOneOf({eVelkEvent_MainVersion});
}

}  // namespace velk::cli
