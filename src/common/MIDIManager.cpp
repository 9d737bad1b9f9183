#include "common/MIDIManager.h"

#include "common/DebugUtil.h"
#include "common/SysexInputAssembler.h"
#include "midi/MidiService.h"
#include "midi/ServiceSelection.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace {

// What sendShortMessage answers for anything that is not a short message (0xF0 needs a long send).
constexpr int kStatusNotShortMessage = -10838;

using ServiceSelector = std::function<midi::ServiceSelection()>;

ServiceSelector automaticSelector(midi::ServiceChoice choice) {
    return [choice] { return midi::selectService(choice); };
}

ServiceSelector& serviceSelector() {
    static ServiceSelector selector = automaticSelector(midi::ServiceChoice::Auto);
    return selector;
}

CMIDIManager::ServiceWrapper& serviceWrapper() {
    static CMIDIManager::ServiceWrapper wrapper;
    return wrapper;
}

// Which manager the current thread is delivering input for, so that a callback closing the input
// is recognised; and whether it did, so that the rest of that delivery is dropped.
thread_local const CMIDIManager* t_deliveringFor = nullptr;
thread_local bool t_inputClosedInDelivery = false;

// One sendLongMessage in flight. It is signalled by its own completion only, so a completion that
// arrives before the wait starts is never taken for the next send's.
struct SysexSend {
    midi::SysexRequest request;
    std::mutex mutex;
    std::condition_variable completed;
    bool signalled = false;

    void signal() {
        // Notified under the lock: the waiter cannot return and destroy us before we let go.
        std::lock_guard lock(mutex);
        signalled = true;
        completed.notify_one();
    }
    void waitForCompletion() {
        std::unique_lock lock(mutex);
        completed.wait(lock, [this] { return signalled; });
    }
};

bool isDataByte(int32_t value) {
    return value >= 0 && value < 0x80;
}

// The wire form of a short message; a status (kStatusNotShortMessage) when there is none.
int shortMessageBytes(int32_t channel, int32_t status, int32_t data1, int32_t data2, uint8_t (&bytes)[3],
                      uint32_t& length) {
    if (status < 0x80 || status > 0xFF || status == 0xF0)
        return kStatusNotShortMessage;
    if (status < 0xF1) {
        bytes[0] = static_cast<uint8_t>((channel & 0x0F) | (status & 0xF0));
        // Program change and channel pressure carry one data byte.
        length = (status & 0xE0) == 0xC0 ? 2 : 3;
    } else {
        bytes[0] = static_cast<uint8_t>(status);
        // Song select and time-code quarter frame carry one data byte, song position two.
        length = status == 0xF2 ? 3 : (status == 0xF1 || status == 0xF3) ? 2 : 1;
    }
    // A data value with its top bit set would be read as a status byte by the receiver.
    if ((length > 1 && !isDataByte(data1)) || (length > 2 && !isDataByte(data2)))
        return kStatusNotShortMessage;
    bytes[1] = static_cast<uint8_t>(data1);
    bytes[2] = static_cast<uint8_t>(data2);
    return 0;
}

bool contains(const std::vector<midi::Endpoint>& endpoints, const midi::Endpoint& endpoint) {
    return std::find(endpoints.begin(), endpoints.end(), endpoint) != endpoints.end();
}

}  // namespace

struct CMIDIManager::SPrivateMember {
    MIDINotifyProc notifyProc = nullptr;
    void* notifyRefCon = nullptr;

    // The service ("client"); when none could be opened, listing tries again.
    mutable std::mutex clientLock;
    std::shared_ptr<midi::MidiService> client;
    std::string unavailableReason;

    // Port indices refer to the endpoints of the last listing.
    std::mutex listLock;
    std::optional<std::vector<midi::Endpoint>> listedSources;
    std::optional<std::vector<midi::Endpoint>> listedDestinations;

    // Held only by operations that begin by closing the input (open and close): a callback that
    // closes the input and finds it held knows that its input is being closed anyway.
    std::mutex inPortLock;
    std::atomic<bool> inPort = false;
    std::mutex outPortLock;
    std::atomic<bool> outPort = false;

    // The connected endpoints, written under their port lock and this one.
    std::mutex endpointLock;
    std::optional<midi::Endpoint> source;
    std::optional<midi::Endpoint> destination;

    // Held while incoming packets are parsed and delivered.
    std::recursive_mutex inputLock;
    CSysexInputAssembler longMessageBuffer;
    int32_t bufferSize = 0;
    // Set by deleteLongMessageBuffer(), which must not wait for a delivery in progress.
    std::atomic<bool> discardLongMessage = false;

    std::shared_ptr<midi::MidiService> currentClient() const {
        std::lock_guard lock(clientLock);
        return client;
    }
};

CMIDIManager* CMIDIManager::s_instance = nullptr;

void CMIDIManager::setServiceProvider(ServiceProvider provider) {
    if (!provider) {
        serviceSelector() = automaticSelector(midi::ServiceChoice::Auto);
        return;
    }
    serviceSelector() = [provider] {
        std::shared_ptr<midi::MidiService> service = provider();
        return midi::ServiceSelection{service, service ? "" : "no MIDI service provided"};
    };
}

void CMIDIManager::setServiceChoice(midi::ServiceChoice choice) {
    serviceSelector() = automaticSelector(choice);
}

void CMIDIManager::setServiceWrapper(ServiceWrapper wrapper) {
    serviceWrapper() = std::move(wrapper);
}

int CMIDIManager::initialize(MIDINotifyProc notifyProc, void* notifyRefCon) {
    terminate();
    s_instance = new CMIDIManager(notifyProc, notifyRefCon);
    return 0;
}

void CMIDIManager::terminate() {
    delete s_instance;
    s_instance = nullptr;
}

CMIDIManager* CMIDIManager::instance() {
    return s_instance;
}

CMIDIManager::CMIDIManager(MIDINotifyProc notifyProc, void* notifyRefCon)
    : m_Member(std::make_unique<SPrivateMember>()) {
    m_Member->notifyProc = notifyProc;
    m_Member->notifyRefCon = notifyRefCon;
    if (!openClient())
        MSTD_LOG_FAILURE("MIDIClientCreate returned error.");
}

CMIDIManager::~CMIDIManager() {
    std::shared_ptr<midi::MidiService> client = m_Member->currentClient();
    if (client)
        client->setChangeHandler(nullptr);
    closeMidiIn();
    closeMidiOut();
}

bool CMIDIManager::openClient() {
    midi::ServiceSelection selection = serviceSelector()();
    if (selection.service && serviceWrapper())
        selection.service = serviceWrapper()(std::move(selection.service));
    if (selection.service && m_Member->notifyProc) {
        selection.service->setChangeHandler(
            [proc = m_Member->notifyProc, refCon = m_Member->notifyRefCon] { proc(nullptr, refCon); });
    }
    std::lock_guard lock(m_Member->clientLock);
    m_Member->client = std::move(selection.service);
    m_Member->unavailableReason = std::move(selection.unavailableReason);
    return m_Member->client != nullptr;
}

// Closes our ports and lets the service go, before a new one is opened: some services (JACK) can
// only start afresh once the old client is closed.
void CMIDIManager::releaseClient() {
    closeMidiIn();
    closeMidiOut();
    std::shared_ptr<midi::MidiService> released;
    {
        std::lock_guard lock(m_Member->clientLock);
        released.swap(m_Member->client);
    }
    if (released)
        released->setChangeHandler(nullptr);
}

void CMIDIManager::reselectService() {
    releaseClient();
}

std::shared_ptr<midi::MidiService> CMIDIManager::service() const {
    return m_Member->currentClient();
}

std::string CMIDIManager::serviceUnavailableReason() const {
    std::lock_guard lock(m_Member->clientLock);
    return m_Member->unavailableReason;
}

void CMIDIManager::getMidiInDevices(std::vector<std::string>& devices) {
    appendNames(EndpointSide::Sources, devices);
}

void CMIDIManager::getMidiOutDevices(std::vector<std::string>& devices) {
    appendNames(EndpointSide::Destinations, devices);
}

// Every endpoint is listed, those without a name as an empty entry, so that a position in the list
// is the index that opens that endpoint.
void CMIDIManager::appendNames(EndpointSide side, std::vector<std::string>& devices) {
    for (const midi::Endpoint& endpoint : listEndpoints(side))
        devices.push_back(endpoint.name);
}

// A service started after us, or started again after it went, is picked up here.
std::vector<midi::Endpoint> CMIDIManager::listEndpoints(EndpointSide side) {
    std::shared_ptr<midi::MidiService> client = m_Member->currentClient();
    if (!client || !client->alive()) {
        client.reset();
        releaseClient();
        openClient();
    }
    return recordListing(side);
}

// Lists from the service as it is, without picking up a new one: releasing the service closes our
// ports, whose locks the open calls that come here already hold.
std::vector<midi::Endpoint> CMIDIManager::recordListing(EndpointSide side) {
    std::shared_ptr<midi::MidiService> client = m_Member->currentClient();
    std::vector<midi::Endpoint> endpoints;
    if (client)
        endpoints = side == EndpointSide::Sources ? client->sources() : client->destinations();
    std::lock_guard lock(m_Member->listLock);
    (side == EndpointSide::Sources ? m_Member->listedSources : m_Member->listedDestinations) = endpoints;
    return endpoints;
}

// The endpoint at `index` of the last listing (of a fresh one when nothing was listed yet), so that
// an endpoint appearing or vanishing after the caller looked at the list cannot shift the index.
std::optional<midi::Endpoint> CMIDIManager::listedEndpoint(EndpointSide side, uint32_t index) {
    std::optional<std::vector<midi::Endpoint>> listed;
    {
        std::lock_guard lock(m_Member->listLock);
        listed = side == EndpointSide::Sources ? m_Member->listedSources : m_Member->listedDestinations;
    }
    if (!listed)
        listed = recordListing(side);
    if (index >= listed->size())
        return std::nullopt;
    return (*listed)[index];
}

int CMIDIManager::openMidiIn(uint32_t sourceIndex, MidiInCallback callback, void* userData,
                             int32_t bufferSize) {
    std::lock_guard portLock(m_Member->inPortLock);
    closeInputPort();
    {
        std::lock_guard lock(m_Member->inputLock);
        m_MidiInCallback = callback;
        m_MidiInUserData = userData;
        m_Member->bufferSize = bufferSize;
        m_Member->longMessageBuffer.clear();
        m_Member->longMessageBuffer.reserve(static_cast<size_t>(std::max(bufferSize, 0)));
    }
    std::shared_ptr<midi::MidiService> client = m_Member->currentClient();
    std::optional<midi::Endpoint> source = listedEndpoint(EndpointSide::Sources, sourceIndex);
    if (!client || !source)
        return midi::kStatusNoEndpoint;
    int status = client->openInput(
        *source, [this](const midi::PacketList& packets) { procMidiIn(packets, this, nullptr); });
    if (status != 0)
        return status;
    m_Member->inPort = true;
    std::lock_guard lock(m_Member->endpointLock);
    m_Member->source = source;
    return 0;
}

int CMIDIManager::closeMidiIn() {
    if (t_deliveringFor == this)
        return closeMidiInFromDelivery();
    std::lock_guard portLock(m_Member->inPortLock);
    return closeInputPort();
}

// From inside our own callback. A thread that holds the port lock is closing this input already and
// waits for this delivery to end, so the close is left to it rather than waited for.
int CMIDIManager::closeMidiInFromDelivery() {
    t_inputClosedInDelivery = true;
    std::unique_lock portLock(m_Member->inPortLock, std::try_to_lock);
    if (!portLock.owns_lock())
        return 0;
    return closeInputPort();
}

// With inPortLock held.
int CMIDIManager::closeInputPort() {
    m_MidiInStarted = false;
    int status = 0;
    if (m_Member->inPort) {
        // Once this returns, our callback is not running (unless this is that callback).
        status = m_Member->currentClient()->closeInput();
        if (status != 0)
            MSTD_LOG_FAILURE("MIDIPortDisconnectSource returned error.");
        m_Member->inPort = false;
    }
    {
        std::lock_guard lock(m_Member->endpointLock);
        m_Member->source.reset();
    }
    std::lock_guard lock(m_Member->inputLock);
    m_MidiInCallback = nullptr;
    m_MidiInUserData = nullptr;
    return status;
}

int CMIDIManager::openMidiOut(uint32_t destinationIndex) {
    std::lock_guard portLock(m_Member->outPortLock);
    closeOutputPort();
    std::shared_ptr<midi::MidiService> client = m_Member->currentClient();
    std::optional<midi::Endpoint> destination = listedEndpoint(EndpointSide::Destinations, destinationIndex);
    if (!client || !destination)
        return midi::kStatusNoEndpoint;
    int status = client->openOutput(*destination);
    m_Member->outPort = status == 0;
    // Kept even when the port failed, so that a long send reports the failure rather than nothing.
    std::lock_guard lock(m_Member->endpointLock);
    m_Member->destination = destination;
    return status;
}

int CMIDIManager::closeMidiOut() {
    std::lock_guard portLock(m_Member->outPortLock);
    return closeOutputPort();
}

// With outPortLock held.
int CMIDIManager::closeOutputPort() {
    m_MidiOutStarted = false;
    {
        std::lock_guard lock(m_Member->endpointLock);
        m_Member->destination.reset();
    }
    if (!m_Member->outPort)
        return 0;
    m_Member->outPort = false;
    return m_Member->currentClient()->closeOutput();  // a send in flight ends with a failure
}

int CMIDIManager::startMidiIn() {
    m_MidiInStarted = true;
    return 0;
}

int CMIDIManager::stopMidiIn() {
    m_MidiInStarted = false;
    return 0;
}

int CMIDIManager::startMidiOut() {
    m_MidiOutStarted = true;
    return 0;
}

int CMIDIManager::stopMidiOut() {
    m_MidiOutStarted = false;
    return 0;
}

bool CMIDIManager::isOpenedMidiIn() const {
    return m_Member->inPort;
}
bool CMIDIManager::isOpenedMidiOut() const {
    return m_Member->outPort;
}
bool CMIDIManager::isStartedMidiIn() const {
    return m_MidiInStarted;
}
bool CMIDIManager::isStartedMidiOut() const {
    return m_MidiOutStarted;
}

// An endpoint counts as still there only with the same name and address: a device unplugged and
// plugged in again comes back under a new address, and our connection to the old one is dead.
void CMIDIManager::healthCheck() {
    std::shared_ptr<midi::MidiService> client = m_Member->currentClient();
    if (!client)
        return;
    std::optional<midi::Endpoint> source;
    std::optional<midi::Endpoint> destination;
    {
        std::lock_guard lock(m_Member->endpointLock);
        source = m_Member->source;
        destination = m_Member->destination;
    }
    if (source && !contains(client->sources(), *source))
        closeMidiIn();
    if (destination && !contains(client->destinations(), *destination))
        closeMidiOut();
}

int CMIDIManager::sendShortMessage(int32_t channel, int32_t status, int32_t data1, int32_t data2) {
    std::lock_guard portLock(m_Member->outPortLock);
    if (!m_Member->outPort || !m_Member->destination)
        return 0;
    uint8_t bytes[3] = {};
    uint32_t length = 0;
    if (int invalid = shortMessageBytes(channel, status, data1, data2, bytes, length))
        return invalid;
    return m_Member->currentClient()->sendPacket(bytes, length);
}

int CMIDIManager::sendLongMessage(const uint8_t* bytes, int32_t length) {
    SysexSend send;
    {
        std::lock_guard portLock(m_Member->outPortLock);
        if (!m_Member->destination)
            return 0;
        if (length < 0 || (!bytes && length > 0))
            return midi::kStatusInvalid;
        if (length == 0)
            return 0;
        std::shared_ptr<midi::MidiService> client = m_Member->currentClient();
        if (!client)
            return midi::kStatusNotOpen;
        send.request.data = bytes;
        send.request.length = static_cast<uint32_t>(length);
        send.request.completion = procMidiOut;
        send.request.completionRefCon = &send;
        if (int status = client->sendSysex(send.request))
            return status;
    }
    // Also when the request is already marked complete: its completion signal is its own and must be
    // consumed here, or it would end the next send's wait early.
    send.waitForCompletion();
    return send.request.status;
}

void CMIDIManager::procMidiOut(midi::SysexRequest* request) {
    if (request && request->completionRefCon)
        static_cast<SysexSend*>(request->completionRefCon)->signal();
}

void CMIDIManager::deleteLongMessageBuffer() {
    m_Member->discardLongMessage = true;
}

void CMIDIManager::procMidiIn(const std::vector<midi::Packet>& packets, void* readRefCon,
                              void* /*srcConnRefCon*/) {
    auto* manager = static_cast<CMIDIManager*>(readRefCon);
    if (manager)
        manager->assembleMidiIn(packets);
}

void CMIDIManager::assembleMidiIn(const std::vector<midi::Packet>& packets) {
    std::lock_guard lock(m_Member->inputLock);
    if (!m_MidiInCallback)
        return;
    const CMIDIManager* outerDelivery = t_deliveringFor;
    t_deliveringFor = this;
    t_inputClosedInDelivery = false;
    try {
        for (const midi::Packet& packet : packets) {
            if (m_Member->discardLongMessage.exchange(false))
                m_Member->longMessageBuffer.clear();
            if (!m_Member->longMessageBuffer.feed(packet.bytes, [this](std::span<const uint8_t> message) {
                    return deliverMidiIn(message);
                }))
                break;
        }
    } catch (...) {
        m_Member->longMessageBuffer.clear();
        mstd::logLine("[CATCH] Exception! - CMIDIManager::procMidiIn()");
    }
    t_deliveringFor = outerDelivery;
}

// False once the callback has closed the input: the rest of the delivery is dropped.
bool CMIDIManager::deliverMidiIn(std::span<const uint8_t> message) {
    m_MidiInCallback(m_MidiInUserData, message.data(), static_cast<uint32_t>(message.size()));
    return !t_inputClosedInDelivery;
}
