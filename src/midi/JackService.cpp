#include "midi/JackService.h"

#include "midi/ChangeNotifier.h"
#include "midi/HostTime.h"
#include "midi/MessageRing.h"
#include "midi/PosixSemaphore.h"
#include "midi/SerialWorker.h"
#include "midi/ServiceDevice.h"
#include "midi/ServiceHealth.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace midi {

namespace {

using namespace std::chrono_literals;

constexpr const char* kApplicationName = "Velk Vovezid";
constexpr const char* kInputPortName = "MIDI INPUT";
constexpr const char* kOutputPortName = "MIDI OUTPUT";
constexpr size_t kRingCapacity = 64 * 1024;
constexpr size_t kCompletionRingCapacity = 16 * 1024;
// A send that no process cycle has taken by then has failed (a stalled server).
constexpr auto kSendLimit = 2000ms;
// How long a sender waits for room in a full outgoing ring.
constexpr auto kRoomLimit = 1000ms;
constexpr auto kCompletionPoll = 50ms;

// JACK reports its failures on stderr by default; ours are reported through statuses.
void quietJackMessage(const char*) {}

// A failure of JACK's that leaves the client working is only reported.
void reportFailure(const char* call, int status) {
    std::fprintf(stderr, "[ERROR] JACK: %s failed (%d)\n", call, status);
}

class JackService final : public MidiService {
public:
    static std::shared_ptr<JackService> open(const std::string& clientName, std::string& whyNot);
    explicit JackService(jack_client_t* client);
    ~JackService() override;

    std::string serviceName() const override { return "jack"; }
    bool alive() const override { return !m_ServerGone && m_Health.alive(); }
    std::vector<Endpoint> sources() override { return endpoints(JackPortIsOutput); }
    std::vector<Endpoint> destinations() override { return endpoints(JackPortIsInput); }
    int openInput(const Endpoint& source, InputHandler handler) override;
    int closeInput() override;
    int openOutput(const Endpoint& destination) override;
    int closeOutput() override;
    int sendSysex(SysexRequest& request) override;
    int sendPacket(const uint8_t* bytes, uint32_t length) override;
    void setChangeHandler(ChangeHandler handler) override;

    // The device side: input from whoever connects to our input port, and output to whoever our
    // output port is connected to.
    const std::string& clientName() const { return m_ClientName; }
    void listen(InputHandler handler);
    int sendToConnected(const uint8_t* bytes, uint32_t length);

private:
    struct PendingSend {
        uint64_t sequence;
        SysexRequest* request;
        std::chrono::steady_clock::time_point deadline;
    };

    bool start();
    std::vector<Endpoint> endpoints(unsigned long direction);
    int connect(const std::string& from, const std::string& to);
    int disconnect(const std::string& from, const std::string& to);
    void closeClient();
    int queueMessage(const uint8_t* bytes, uint32_t length, SysexRequest* request,
                     bool needsDestination = true);

    // Real-time side.
    static int process(jack_nframes_t frames, void* self) noexcept;
    void receiveCycle(void* portBuffer) noexcept;
    void sendCycle(void* portBuffer) noexcept;
    static void serverShutdown(void* self) noexcept;
    static void portRegistration(jack_port_id_t, int, void* self) noexcept;
    static void portRename(jack_port_id_t, const char*, const char*, void* self) noexcept;

    // Our threads.
    void runInput();
    void announcePortChanges();
    void drainInput(PacketList* packets);
    void runCompletions();
    void failPendingSends();
    void completeSends(const std::vector<std::pair<SysexRequest*, int>>& finished);

    // Every call with m_Client outside the process cycle, which does not run once it is closed. A
    // client whose server went is dropped at once: a server started again under the same name must
    // not meet it.
    std::mutex m_ClientMutex;
    jack_client_t* m_Client;         // null once closed
    const std::string m_ClientName;  // which the server may have made unique
    jack_port_t* m_InPort = nullptr;
    jack_port_t* m_OutPort = nullptr;
    std::string m_InPortName;
    std::string m_OutPortName;

    // One writer and one reader each.
    MessageRing m_Outgoing{kRingCapacity};             // senders (under m_OutputMutex) -> process
    MessageRing m_Completed{kCompletionRingCapacity};  // process -> completion thread
    MessageRing m_Incoming{kRingCapacity};             // process -> input thread (under m_InputMutex)
    PosixSemaphore m_SendsDone;
    PosixSemaphore m_InputArrived;
    PosixSemaphore m_PortsChanged;  // counted by JACK's notification thread, announced by the input thread
    // Messages queued before this sequence are dropped by the process cycle (their output closed).
    std::atomic<uint64_t> m_FirstSendable{1};
    std::atomic<bool> m_ServerGone{false};
    std::atomic<bool> m_Stopping{false};

    std::mutex m_OutputMutex;
    std::optional<std::string> m_Destination;
    uint64_t m_NextSequence = 1;
    std::deque<PendingSend> m_Pending;

    // Held while the input handler runs; recursive so that the handler may close the input.
    std::recursive_mutex m_InputMutex;
    std::optional<std::string> m_Source;
    InputHandler m_InputHandler;

    ChangeNotifier m_Changes;
    SerialWorker m_Notices;  // change notices run here, apart from input delivery
    ServiceHealth m_Health;

    std::thread m_InputThread;
    std::thread m_CompletionThread;
};

std::shared_ptr<JackService> JackService::open(const std::string& clientName, std::string& whyNot) {
    jack_set_error_function(quietJackMessage);
    jack_set_info_function(quietJackMessage);
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!client) {
        whyNot = (status & JackServerFailed) ? "cannot connect to a server" : "client refused by the server";
        return nullptr;
    }
    auto service = std::make_shared<JackService>(client);
    if (!service->start()) {
        whyNot = "cannot register or activate our ports";
        return nullptr;
    }
    return service;
}

JackService::JackService(jack_client_t* client)
    : m_Client(client), m_ClientName(jack_get_client_name(client)) {}

// Our threads start only once everything they wait on exists.
bool JackService::start() {
    if (!m_SendsDone.valid() || !m_InputArrived.valid() || !m_PortsChanged.valid())
        return false;
    m_InPort = jack_port_register(m_Client, kInputPortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    m_OutPort = jack_port_register(m_Client, kOutputPortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!m_InPort || !m_OutPort)
        return false;
    m_InPortName = jack_port_name(m_InPort);
    m_OutPortName = jack_port_name(m_OutPort);
    jack_on_shutdown(m_Client, serverShutdown, this);
    if (jack_set_process_callback(m_Client, process, this) != 0 ||
        jack_set_port_registration_callback(m_Client, portRegistration, this) != 0 ||
        jack_set_port_rename_callback(m_Client, portRename, this) != 0)
        return false;
    m_InputThread = std::thread([this] { m_Health.run("JACK input", [this] { runInput(); }); });
    m_CompletionThread = std::thread([this] {
        m_Health.run("JACK completion", [this] { runCompletions(); });
        // After a failure nothing completes the sends still pending, and a sender may wait without
        // a limit (on stopping, closeOutput has cancelled them all already).
        m_Health.run("JACK completion", [this] { failPendingSends(); });
    });
    return jack_activate(m_Client) == 0;
}

JackService::~JackService() {
    setChangeHandler(nullptr);
    closeInput();
    closeOutput();
    closeClient();  // no callback runs after this; then our threads may stop
    m_Notices.stop();
    m_Stopping = true;
    if (!m_InputThread.joinable())
        return;  // start() failed before them
    m_SendsDone.post();
    m_InputArrived.post();
    m_InputThread.join();
    m_CompletionThread.join();
}

// A client whose server has gone is let go without jack_client_close: JACK's threads end by
// themselves then, and closing cancels them, perhaps while they hold JACK's locks, after which the
// close waits forever. What such a client holds is small, and servers rarely die.
void JackService::closeClient() {
    std::lock_guard lock(m_ClientMutex);
    if (!m_Client)
        return;
    if (!m_ServerGone) {
        if (int status = jack_deactivate(m_Client))
            reportFailure("jack_deactivate", status);
        if (int status = jack_client_close(m_Client))
            reportFailure("jack_client_close", status);
    }
    m_Client = nullptr;
}

std::vector<Endpoint> JackService::endpoints(unsigned long direction) {
    std::vector<Endpoint> result;
    std::lock_guard lock(m_ClientMutex);
    if (!m_Client || m_ServerGone)
        return result;
    const char** names = jack_get_ports(m_Client, nullptr, JACK_DEFAULT_MIDI_TYPE, direction);
    if (!names)
        return result;
    std::vector<char> aliasStorage(2 * static_cast<size_t>(jack_port_name_size()));
    char* aliases[2] = {aliasStorage.data(), aliasStorage.data() + aliasStorage.size() / 2};
    for (const char** name = names; *name; ++name) {
        jack_port_t* port = jack_port_by_name(m_Client, *name);
        if (!port || jack_port_is_mine(m_Client, port))
            continue;
        int aliasCount = jack_port_get_aliases(port, aliases);
        std::vector<std::string> aliasNames(aliases, aliases + std::max(aliasCount, 0));
        result.push_back({jackEndpointName(*name, aliasNames), *name});
    }
    jack_free(names);
    return result;
}

// Between our port and another client's, both given by full name.
int JackService::connect(const std::string& from, const std::string& to) {
    std::lock_guard lock(m_ClientMutex);
    if (!m_Client || m_ServerGone)
        return kStatusServiceGone;
    if (!jack_port_by_name(m_Client, from.c_str()) || !jack_port_by_name(m_Client, to.c_str()))
        return kStatusNoEndpoint;
    int status = jack_connect(m_Client, from.c_str(), to.c_str());
    return status == 0 || status == EEXIST ? 0 : kStatusNoEndpoint;
}

// A port that went has taken its connections with it.
int JackService::disconnect(const std::string& from, const std::string& to) {
    std::lock_guard lock(m_ClientMutex);
    if (!m_Client || m_ServerGone || !jack_port_by_name(m_Client, from.c_str()) ||
        !jack_port_by_name(m_Client, to.c_str()))
        return 0;
    return jack_disconnect(m_Client, from.c_str(), to.c_str()) == 0 ? 0 : kStatusNoEndpoint;
}

int JackService::openInput(const Endpoint& source, InputHandler handler) {
    closeInput();
    std::lock_guard lock(m_InputMutex);
    if (int status = connect(source.address, m_InPortName))
        return status;
    m_Source = source.address;
    m_InputHandler = std::move(handler);
    return 0;
}

int JackService::closeInput() {
    // Waits for a running handler (unless this is that handler).
    std::lock_guard lock(m_InputMutex);
    m_InputHandler = nullptr;
    if (!m_Source)
        return 0;
    const int status = disconnect(*m_Source, m_InPortName);
    m_Source.reset();
    drainInput(nullptr);  // what the old source sent must not reach the next handler
    return status;
}

int JackService::openOutput(const Endpoint& destination) {
    closeOutput();
    std::lock_guard lock(m_OutputMutex);
    if (int status = connect(m_OutPortName, destination.address))
        return status;
    m_Destination = destination.address;
    return 0;
}

int JackService::closeOutput() {
    std::deque<PendingSend> cancelled;
    int status = 0;
    {
        std::lock_guard lock(m_OutputMutex);
        if (!m_Destination)
            return 0;
        status = disconnect(m_OutPortName, *m_Destination);
        m_Destination.reset();
        m_FirstSendable = m_NextSequence;
        cancelled.swap(m_Pending);
    }
    std::vector<std::pair<SysexRequest*, int>> finished;
    for (const PendingSend& send : cancelled)
        finished.emplace_back(send.request, kStatusCancelled);
    completeSends(finished);
    return status;
}

int JackService::sendSysex(SysexRequest& request) {
    if (!request.data || request.length == 0)
        return kStatusInvalid;
    return queueMessage(request.data, request.length, &request);
}

int JackService::sendPacket(const uint8_t* bytes, uint32_t length) {
    if (!bytes || length == 0)
        return kStatusInvalid;
    return queueMessage(bytes, length, nullptr);
}

void JackService::listen(InputHandler handler) {
    std::lock_guard lock(m_InputMutex);
    m_InputHandler = std::move(handler);
}

int JackService::sendToConnected(const uint8_t* bytes, uint32_t length) {
    if (!bytes || length == 0)
        return kStatusInvalid;
    return queueMessage(bytes, length, nullptr, false);
}

// Hands the bytes to the process cycle; a request completes once a cycle has written them.
int JackService::queueMessage(const uint8_t* bytes, uint32_t length, SysexRequest* request,
                              bool needsDestination) {
    std::lock_guard lock(m_OutputMutex);
    if (!alive())
        return kStatusServiceGone;  // a dead completion thread would never complete it
    if (needsDestination && !m_Destination)
        return kStatusNotOpen;
    if (length > m_Outgoing.maxLength())
        return kStatusTooLarge;
    MessageRing::Header header{request ? m_NextSequence : 0, length, 0};
    const auto roomDeadline = std::chrono::steady_clock::now() + kRoomLimit;
    while (!m_Outgoing.write(header, bytes)) {
        if (m_ServerGone || std::chrono::steady_clock::now() > roomDeadline)
            return m_ServerGone ? kStatusServiceGone : -EBUSY;
        std::this_thread::sleep_for(1ms);
    }
    if (request) {
        m_Pending.push_back({m_NextSequence, request, std::chrono::steady_clock::now() + kSendLimit});
        ++m_NextSequence;
    }
    return 0;
}

void JackService::setChangeHandler(ChangeHandler handler) {
    m_Changes.set(std::move(handler));
}

// ---- Real-time side: no locks, no allocation, no system calls beyond sem_post, and nothing that
// throws (JACK's calls are C, MessageRing's neither allocate nor throw).

int JackService::process(jack_nframes_t frames, void* self) noexcept {
    auto* service = static_cast<JackService*>(self);
    service->receiveCycle(jack_port_get_buffer(service->m_InPort, frames));
    service->sendCycle(jack_port_get_buffer(service->m_OutPort, frames));
    return 0;
}

void JackService::receiveCycle(void* portBuffer) noexcept {
    bool arrived = false;
    const uint32_t count = jack_midi_get_event_count(portBuffer);
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, portBuffer, i) == 0)
            arrived |= m_Incoming.write({0, static_cast<uint32_t>(event.size), 0}, event.buffer);
    }
    if (arrived)
        m_InputArrived.post();
}

void JackService::sendCycle(void* portBuffer) noexcept {
    jack_midi_clear_buffer(portBuffer);
    bool written = false;
    bool completed = false;
    MessageRing::Header header;
    while (m_Outgoing.peek(header)) {
        int32_t status = 0;
        if (header.sequence != 0 && header.sequence < m_FirstSendable) {
            status = kStatusCancelled;
            m_Outgoing.skip(header);
        } else if (jack_midi_data_t* slot = jack_midi_event_reserve(portBuffer, 0, header.length)) {
            m_Outgoing.read(header, slot);
            written = true;
        } else if (written) {
            break;  // this cycle's buffer is full: the next cycle takes it
        } else {
            status = kStatusTooLarge;  // does not fit even into an empty buffer
            m_Outgoing.skip(header);
        }
        if (header.sequence != 0)
            completed |= m_Completed.write({header.sequence, 0, status}, nullptr);
    }
    if (completed)
        m_SendsDone.post();
}

void JackService::serverShutdown(void* self) noexcept {
    auto* service = static_cast<JackService*>(self);
    service->m_ServerGone = true;
    service->m_SendsDone.post();
}

// Once the server has gone, jack_client_close cancels this thread asynchronously, perhaps in here.
// An unwind from inside C++ code (a lock, a condition's notify) aborts the process, so this only
// posts semaphores and leaves the rest to our input thread.
void JackService::portRegistration(jack_port_id_t, int, void* self) noexcept {
    auto* service = static_cast<JackService*>(self);
    service->m_PortsChanged.post();
    service->m_InputArrived.post();
}

void JackService::portRename(jack_port_id_t, const char*, const char*, void* self) noexcept {
    portRegistration(0, 0, self);
}

// ---- Our threads.

void JackService::runInput() {
    for (;;) {
        m_InputArrived.wait();
        if (m_Stopping)
            return;
        announcePortChanges();
        PacketList packets;
        std::lock_guard lock(m_InputMutex);
        drainInput(&packets);
        if (m_InputHandler && !packets.empty())
            m_InputHandler(packets);
    }
}

void JackService::announcePortChanges() {
    bool changed = false;
    while (m_PortsChanged.tryWait())
        changed = true;
    if (changed)
        m_Notices.post([this] { m_Changes.announce(); });
}

// With m_InputMutex held (this makes it the ring's one reader). Null `packets` discards.
void JackService::drainInput(PacketList* packets) {
    MessageRing::Header header;
    while (m_Incoming.peek(header)) {
        if (!packets) {
            m_Incoming.skip(header);
            continue;
        }
        Packet packet{hostTimeNs(), std::vector<uint8_t>(header.length)};
        m_Incoming.read(header, packet.bytes.data());
        packets->push_back(std::move(packet));
    }
}

// Matches the cycles' completions with the pending sends, and fails sends that no cycle takes.
void JackService::runCompletions() {
    bool goneAnnounced = false;
    while (!m_Stopping) {
        m_SendsDone.waitFor(kCompletionPoll);
        std::vector<std::pair<SysexRequest*, int>> finished;
        {
            std::lock_guard lock(m_OutputMutex);
            MessageRing::Header done;
            while (m_Completed.peek(done)) {
                m_Completed.skip(done);
                auto send = std::find_if(m_Pending.begin(), m_Pending.end(), [&](const PendingSend& pending) {
                    return pending.sequence == done.sequence;
                });
                if (send != m_Pending.end()) {  // else it was cancelled or timed out before
                    finished.emplace_back(send->request, done.status);
                    m_Pending.erase(send);
                }
            }
            const auto now = std::chrono::steady_clock::now();
            while (!m_Pending.empty() && (m_ServerGone || m_Pending.front().deadline < now)) {
                finished.emplace_back(m_Pending.front().request,
                                      m_ServerGone ? kStatusServiceGone : -ETIMEDOUT);
                m_Pending.pop_front();
            }
        }
        completeSends(finished);
        if (m_ServerGone && !goneAnnounced) {
            goneAnnounced = true;
            closeClient();
            m_Changes.announce();  // every endpoint went with the server
        }
    }
}

void JackService::failPendingSends() {
    std::vector<std::pair<SysexRequest*, int>> failed;
    {
        std::lock_guard lock(m_OutputMutex);
        for (const PendingSend& send : m_Pending)
            failed.emplace_back(send.request, kStatusServiceGone);
        m_Pending.clear();
    }
    completeSends(failed);
}

// Every request completes even when a completion before it throws; the first exception then goes on.
void JackService::completeSends(const std::vector<std::pair<SysexRequest*, int>>& finished) {
    std::exception_ptr failure;
    for (const auto& [request, status] : finished) {
        try {
            completeSysex(*request, status);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace

std::string jackEndpointName(const std::string& portName, const std::vector<std::string>& aliases) {
    std::string name = portName;
    for (size_t i = 0; i < aliases.size(); ++i)
        name += (i == 0 ? " (" : ", ") + aliases[i];
    if (!aliases.empty())
        name += ")";
    return name;
}

std::shared_ptr<MidiService> openJackService(std::string& whyNot) {
    static std::mutex mutex;
    static std::weak_ptr<JackService> current;
    std::lock_guard lock(mutex);
    std::shared_ptr<JackService> service = current.lock();
    if (!service || !service->alive()) {
        service = JackService::open(kApplicationName, whyNot);
        current = service;
    }
    return service;
}

std::unique_ptr<MidiDevice> openJackDevice(const std::string& name, MidiService::InputHandler handler,
                                           std::string& whyNot) {
    std::shared_ptr<JackService> service = JackService::open(name, whyNot);
    if (!service)
        return nullptr;
    service->listen(std::move(handler));
    return std::make_unique<ServiceDevice<JackService>>(std::move(service));
}

}  // namespace midi
