#include "midi/AlsaService.h"

#include "midi/AlsaEventBytes.h"
#include "midi/ChangeNotifier.h"
#include "midi/HostTime.h"
#include "midi/SequencerInputGate.h"
#include "midi/ServiceDevice.h"
#include "midi/ServiceHealth.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace midi {

namespace {

constexpr const char* kApplicationName = "Velk Vovezid";
constexpr const char* kInputPortName = "MIDI INPUT";
constexpr const char* kOutputPortName = "MIDI OUTPUT";
constexpr const char* kNoticePortName = "notices";
constexpr std::chrono::milliseconds kDrainLimit{2000};

std::string addressText(int client, int port) {
    return std::to_string(client) + ":" + std::to_string(port);
}

bool isEndpointChange(snd_seq_event_type_t type) {
    switch (type) {
        case SND_SEQ_EVENT_CLIENT_START:
        case SND_SEQ_EVENT_CLIENT_EXIT:
        case SND_SEQ_EVENT_CLIENT_CHANGE:
        case SND_SEQ_EVENT_PORT_START:
        case SND_SEQ_EVENT_PORT_EXIT:
        case SND_SEQ_EVENT_PORT_CHANGE:
            return true;
        default:
            return false;
    }
}

// ALSA's library reports its failures on stderr by default; ours are reported through statuses,
// and a desktop without a sequencer must not get a line every time we look for one.
void quietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

[[noreturn]] void throwFailure(const char* call, int error) {
    throw std::system_error(error, std::generic_category(), call);
}

// Input read in one go, and the opening of our input it was read for.
struct ReadInput {
    uint64_t opening = 0;
    PacketList packets;
};

class AlsaService final : public MidiService {
public:
    static std::shared_ptr<AlsaService> open(const std::string& clientName, std::string& whyNot);
    AlsaService(snd_seq_t* seq, std::string clientName, int noticePort, int wakeFd);
    ~AlsaService() override;

    std::string serviceName() const override { return "alsa"; }
    bool alive() const override { return m_Health.alive(); }
    std::vector<Endpoint> sources() override {
        return endpoints(SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ);
    }
    std::vector<Endpoint> destinations() override {
        return endpoints(SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE);
    }
    int openInput(const Endpoint& source, InputHandler handler) override;
    int closeInput() override;
    int openOutput(const Endpoint& destination) override;
    int closeOutput() override;
    int sendSysex(SysexRequest& request) override;
    int sendPacket(const uint8_t* bytes, uint32_t length) override;
    void setChangeHandler(ChangeHandler handler) override;

    // The device side: our input port takes events from whoever subscribes to it, and our output
    // port goes to whoever subscribes to it.
    const std::string& clientName() const { return m_ClientName; }
    int listen(InputHandler handler);
    int publishOutput();
    int sendToConnected(const uint8_t* bytes, uint32_t length);

private:
    std::vector<Endpoint> endpoints(unsigned capabilities);
    enum class PortDirection { Input, Output };

    int findPort(const Endpoint& endpoint, snd_seq_addr_t& address);
    int connectedPort(const Endpoint& endpoint, PortDirection direction, snd_seq_addr_t& address);
    int createPort(PortDirection direction);
    int sendEvent(snd_seq_event_t& event);
    int drainOutput();
    void wakeEventThread();
    void runEvents();
    std::vector<pollfd> pollDescriptors();
    int readEvents(ReadInput& input);
    void deliverInput(const ReadInput& input);

    snd_seq_t* m_Seq;
    const std::string m_ClientName;
    const int m_ClientId;
    const int m_NoticePort;
    const int m_WakeFd;  // wakes the event thread
    std::atomic<bool> m_Stopping{false};

    // Every call on m_Seq. Taken after m_InputMutex, never before it.
    std::mutex m_SeqMutex;
    SequencerInputGate m_Input;  // changed with both locks held
    int m_OutPort = -1;
    bool m_ChangeSeen = false;  // an endpoint announcement read but not yet passed on

    // Held while the input handler runs; recursive so that the handler may close the input.
    std::recursive_mutex m_InputMutex;
    InputHandler m_InputHandler;

    ChangeNotifier m_Changes;
    ServiceHealth m_Health;

    std::thread m_EventThread;
};

std::shared_ptr<AlsaService> AlsaService::open(const std::string& clientName, std::string& whyNot) {
    snd_lib_error_set_handler(quietAlsaErrors);
    snd_seq_t* seq = nullptr;
    int status = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK);
    if (status < 0) {
        whyNot = snd_strerror(status);
        return nullptr;
    }
    // A client without its name could not be found by the name others look for.
    status = snd_seq_set_client_name(seq, clientName.c_str());
    int noticePort = status < 0
                         ? status
                         : snd_seq_create_simple_port(seq, kNoticePortName,
                                                      SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                                      SND_SEQ_PORT_TYPE_APPLICATION);
    int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (noticePort < 0 || wakeFd < 0) {
        whyNot = noticePort < 0 ? snd_strerror(noticePort) : "no event descriptor";
        if (wakeFd >= 0)
            ::close(wakeFd);
        snd_seq_close(seq);
        return nullptr;
    }
    // Without announcements we only miss change notices; the device manager still polls the lists.
    status = snd_seq_connect_from(seq, noticePort, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    if (status < 0)
        std::fprintf(stderr, "[ERROR] ALSA: no endpoint announcements: %s\n", snd_strerror(status));
    return std::make_shared<AlsaService>(seq, clientName, noticePort, wakeFd);
}

AlsaService::AlsaService(snd_seq_t* seq, std::string clientName, int noticePort, int wakeFd)
    : m_Seq(seq),
      m_ClientName(std::move(clientName)),
      m_ClientId(snd_seq_client_id(seq)),
      m_NoticePort(noticePort),
      m_WakeFd(wakeFd) {
    m_EventThread = std::thread([this] { m_Health.run("ALSA event", [this] { runEvents(); }); });
}

AlsaService::~AlsaService() {
    setChangeHandler(nullptr);
    closeInput();
    closeOutput();
    m_Stopping = true;
    wakeEventThread();
    m_EventThread.join();
    ::close(m_WakeFd);
    snd_seq_close(m_Seq);
}

std::vector<Endpoint> AlsaService::endpoints(unsigned capabilities) {
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    std::vector<Endpoint> result;
    std::lock_guard lock(m_SeqMutex);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(m_Seq, client) >= 0) {
        int clientId = snd_seq_client_info_get_client(client);
        if (clientId == SND_SEQ_CLIENT_SYSTEM || clientId == m_ClientId)
            continue;
        snd_seq_port_info_set_client(port, clientId);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(m_Seq, port) >= 0) {
            unsigned portCapabilities = snd_seq_port_info_get_capability(port);
            if ((portCapabilities & capabilities) != capabilities ||
                (portCapabilities & SND_SEQ_PORT_CAP_NO_EXPORT))
                continue;
            result.push_back(
                {std::string(snd_seq_client_info_get_name(client)) + ":" + snd_seq_port_info_get_name(port),
                 addressText(clientId, snd_seq_port_info_get_port(port))});
        }
    }
    return result;
}

// With m_SeqMutex held.
int AlsaService::findPort(const Endpoint& endpoint, snd_seq_addr_t& address) {
    snd_seq_port_info_t* port = nullptr;
    snd_seq_port_info_alloca(&port);
    if (snd_seq_parse_address(m_Seq, &address, endpoint.address.c_str()) < 0 ||
        snd_seq_get_any_port_info(m_Seq, address.client, address.port, port) < 0)
        return kStatusNoEndpoint;
    return 0;
}

int AlsaService::openInput(const Endpoint& source, InputHandler handler) {
    closeInput();
    std::lock_guard inputLock(m_InputMutex);
    std::lock_guard lock(m_SeqMutex);
    snd_seq_addr_t address{};
    int port = connectedPort(source, PortDirection::Input, address);
    if (port < 0)
        return port;
    m_Input.open(port, SequencerInputGate::Address{address.client, address.port});
    m_InputHandler = std::move(handler);
    return 0;
}

int AlsaService::listen(InputHandler handler) {
    closeInput();
    std::lock_guard inputLock(m_InputMutex);
    std::lock_guard lock(m_SeqMutex);
    int port = createPort(PortDirection::Input);
    if (port < 0)
        return port;
    m_Input.open(port, std::nullopt);
    m_InputHandler = std::move(handler);
    return 0;
}

int AlsaService::publishOutput() {
    closeOutput();
    std::lock_guard lock(m_SeqMutex);
    int port = createPort(PortDirection::Output);
    if (port < 0)
        return port;
    m_OutPort = port;
    return 0;
}

int AlsaService::closeInput() {
    // Waits for a running handler (unless this is that handler).
    std::lock_guard inputLock(m_InputMutex);
    m_InputHandler = nullptr;
    std::lock_guard lock(m_SeqMutex);
    const std::optional<int> port = m_Input.port();
    if (!port)
        return 0;
    int status = snd_seq_delete_simple_port(m_Seq, *port);  // also ends its subscription
    m_Input.close();
    // What the old source sent is still queued for us, to a port number the next input may get
    // again: read it now, while the gate lets none of it through.
    ReadInput dropped;
    const int readStatus = readEvents(dropped);
    if (m_ChangeSeen)
        wakeEventThread();  // to pass on the announcements read here
    return std::min({status, readStatus, 0});
}

int AlsaService::openOutput(const Endpoint& destination) {
    closeOutput();
    std::lock_guard lock(m_SeqMutex);
    snd_seq_addr_t address{};
    int port = connectedPort(destination, PortDirection::Output, address);
    if (port < 0)
        return port;
    m_OutPort = port;
    return 0;
}

// With m_SeqMutex held. Our port ("MIDI INPUT" or "MIDI OUTPUT"), subscribed from or to `endpoint`;
// a negative status when the endpoint has gone or the sequencer refuses.
int AlsaService::connectedPort(const Endpoint& endpoint, PortDirection direction, snd_seq_addr_t& address) {
    if (int status = findPort(endpoint, address))
        return status;
    const bool input = direction == PortDirection::Input;
    int port = createPort(direction);
    if (port < 0)
        return port;
    int status = input ? snd_seq_connect_from(m_Seq, port, address.client, address.port)
                       : snd_seq_connect_to(m_Seq, port, address.client, address.port);
    if (status < 0) {
        snd_seq_delete_simple_port(m_Seq, port);
        return status;
    }
    return port;
}

// With m_SeqMutex held. Our port ("MIDI INPUT" or "MIDI OUTPUT"), which others may subscribe to.
int AlsaService::createPort(PortDirection direction) {
    const bool input = direction == PortDirection::Input;
    return snd_seq_create_simple_port(m_Seq, input ? kInputPortName : kOutputPortName,
                                      input ? SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE
                                            : SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
}

// Sends complete before sendSysex returns, so there is never one in flight to cancel.
int AlsaService::closeOutput() {
    std::lock_guard lock(m_SeqMutex);
    if (m_OutPort < 0)
        return 0;
    int status = snd_seq_delete_simple_port(m_Seq, m_OutPort);  // also ends its subscription
    m_OutPort = -1;
    return std::min(status, 0);
}

int AlsaService::sendSysex(SysexRequest& request) {
    if (!request.data || request.length == 0)
        return kStatusInvalid;
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_seq_ev_set_sysex(&event, request.length, const_cast<uint8_t*>(request.data));
    int status = sendEvent(event);
    if (status == kStatusNotOpen || status == kStatusTooLarge)
        return status;
    completeSysex(request, status);
    return 0;
}

int AlsaService::sendPacket(const uint8_t* bytes, uint32_t length) {
    snd_seq_event_t event;
    if (!alsa::shortMessageEvent(bytes, length, event))
        return kStatusInvalid;
    return sendEvent(event);
}

int AlsaService::sendToConnected(const uint8_t* bytes, uint32_t length) {
    if (!bytes || length == 0)
        return kStatusInvalid;
    if (bytes[0] != 0xF0)
        return sendPacket(bytes, length);
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_seq_ev_set_sysex(&event, length, const_cast<uint8_t*>(bytes));
    return sendEvent(event);
}

// Returns once the sequencer has taken the event (or failed to).
int AlsaService::sendEvent(snd_seq_event_t& event) {
    std::lock_guard lock(m_SeqMutex);
    if (m_OutPort < 0)
        return kStatusNotOpen;
    const size_t needed = snd_seq_event_length(&event);
    if (snd_seq_get_output_buffer_size(m_Seq) < needed && snd_seq_set_output_buffer_size(m_Seq, needed) < 0)
        return kStatusTooLarge;
    snd_seq_ev_set_source(&event, m_OutPort);
    snd_seq_ev_set_subs(&event);
    snd_seq_ev_set_direct(&event);
    int status = snd_seq_event_output(m_Seq, &event);
    if (status < 0)
        return status;
    return drainOutput();
}

// With m_SeqMutex held. Non-blocking handle: wait for room while the sequencer's pool is full.
int AlsaService::drainOutput() {
    const auto deadline = std::chrono::steady_clock::now() + kDrainLimit;
    int status = 0;
    for (;;) {
        status = snd_seq_drain_output(m_Seq);
        if (status == 0)
            return 0;
        if (status < 0 && status != -EAGAIN)
            break;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd descriptors[4];
        int count = snd_seq_poll_descriptors(m_Seq, descriptors, 4, POLLOUT);
        if (::poll(descriptors, static_cast<nfds_t>(count), static_cast<int>(left.count())) < 0 &&
            errno != EINTR) {
            status = -errno;
            break;
        }
    }
    snd_seq_drop_output(m_Seq);
    return status < 0 && status != -EAGAIN ? status : -ETIMEDOUT;  // else time ran out
}

void AlsaService::setChangeHandler(ChangeHandler handler) {
    m_Changes.set(std::move(handler));
}

void AlsaService::wakeEventThread() {
    const uint64_t wake = 1;
    while (::write(m_WakeFd, &wake, sizeof wake) < 0 && errno == EINTR) {
    }
}

// Our input thread: input to the handler, announcements to the change handler. A failure ends it
// by an exception, which leaves the service dead.
void AlsaService::runEvents() {
    std::vector<pollfd> descriptors = pollDescriptors();
    for (;;) {
        if (::poll(descriptors.data(), descriptors.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            throwFailure("poll", errno);
        }
        if (descriptors.back().revents & POLLIN) {
            if (m_Stopping)
                return;
            uint64_t wakes = 0;
            while (::read(m_WakeFd, &wakes, sizeof wakes) < 0 && errno == EINTR) {
            }
        }
        ReadInput input;
        bool changed = false;
        {
            std::lock_guard lock(m_SeqMutex);
            if (int status = readEvents(input))
                throwFailure("snd_seq_event_input", -status);
            changed = std::exchange(m_ChangeSeen, false);
        }
        if (!input.packets.empty())
            deliverInput(input);
        if (changed)
            m_Changes.announce();
    }
}

// The sequencer's descriptors, then our wake descriptor.
std::vector<pollfd> AlsaService::pollDescriptors() {
    std::lock_guard lock(m_SeqMutex);
    const int count = snd_seq_poll_descriptors_count(m_Seq, POLLIN);
    if (count <= 0)
        throwFailure("snd_seq_poll_descriptors_count", EBADF);
    std::vector<pollfd> descriptors(static_cast<size_t>(count) + 1);
    if (snd_seq_poll_descriptors(m_Seq, descriptors.data(), static_cast<unsigned>(count), POLLIN) != count)
        throwFailure("snd_seq_poll_descriptors", EBADF);
    descriptors.back() = {m_WakeFd, POLLIN, 0};
    return descriptors;
}

// With m_SeqMutex held. Reads everything queued for us: input that the gate lets through, and
// whether an endpoint appeared, changed or went (into m_ChangeSeen). A negative status when the
// sequencer fails.
int AlsaService::readEvents(ReadInput& input) {
    for (;;) {
        snd_seq_event_t* event = nullptr;
        int status = snd_seq_event_input(m_Seq, &event);
        if (status == -ENOSPC)
            continue;  // the kernel dropped input it had no room for; read what is left
        if (status == -EAGAIN)
            return 0;
        if (status < 0)
            return status;
        if (event->dest.port == m_NoticePort) {
            m_ChangeSeen |= isEndpointChange(event->type);
            continue;
        }
        const std::optional<uint64_t> opening =
            m_Input.admit(event->dest.port, {event->source.client, event->source.port});
        if (!opening)
            continue;
        input.opening = *opening;
        Packet packet{hostTimeNs(), {}};
        alsa::appendEventBytes(*event, packet.bytes);
        if (!packet.bytes.empty())
            input.packets.push_back(std::move(packet));
    }
}

// The input that was read is dropped when its input closed in between, even if another has opened.
void AlsaService::deliverInput(const ReadInput& input) {
    std::lock_guard lock(m_InputMutex);
    if (m_InputHandler && m_Input.lasts(input.opening))
        m_InputHandler(input.packets);
}

}  // namespace

std::shared_ptr<MidiService> openAlsaService(std::string& whyNot) {
    static std::mutex mutex;
    static std::weak_ptr<AlsaService> current;
    std::lock_guard lock(mutex);
    std::shared_ptr<AlsaService> service = current.lock();
    if (!service || !service->alive()) {
        service = AlsaService::open(kApplicationName, whyNot);
        current = service;
    }
    return service;
}

std::unique_ptr<MidiDevice> openAlsaDevice(const std::string& name, MidiService::InputHandler handler,
                                           std::string& whyNot) {
    std::shared_ptr<AlsaService> service = AlsaService::open(name, whyNot);
    if (!service)
        return nullptr;
    int status = service->publishOutput();
    if (status == 0)
        status = service->listen(std::move(handler));
    if (status < 0) {
        whyNot = snd_strerror(status);
        return nullptr;
    }
    return std::make_unique<ServiceDevice<AlsaService>>(std::move(service));
}

}  // namespace midi
