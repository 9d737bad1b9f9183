#include "midi/AlsaService.h"

#include "midi/AlsaEventBytes.h"
#include "midi/ChangeNotifier.h"
#include "midi/HostTime.h"
#include "midi/ServiceDevice.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <mutex>
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

class AlsaService final : public MidiService {
public:
    static std::shared_ptr<AlsaService> open(const std::string& clientName, std::string& whyNot);
    AlsaService(snd_seq_t* seq, std::string clientName, int noticePort, int wakeFd);
    ~AlsaService() override;

    std::string serviceName() const override { return "alsa"; }
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
    void runEvents();
    bool readEvents(PacketList& packets);
    void deliverInput(const PacketList& packets);

    snd_seq_t* m_Seq;
    const std::string m_ClientName;
    const int m_ClientId;
    const int m_NoticePort;
    const int m_WakeFd;  // ends the event thread

    // Every call on m_Seq. Taken after m_InputMutex, never before it.
    std::mutex m_SeqMutex;
    int m_InPort = -1;
    snd_seq_addr_t m_Source{};
    bool m_AnySource = false;
    int m_OutPort = -1;

    // Held while the input handler runs; recursive so that the handler may close the input.
    std::recursive_mutex m_InputMutex;
    InputHandler m_InputHandler;

    ChangeNotifier m_Changes;

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
    snd_seq_set_client_name(seq, clientName.c_str());
    int noticePort =
        snd_seq_create_simple_port(seq, kNoticePortName, SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
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
    snd_seq_connect_from(seq, noticePort, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    return std::make_shared<AlsaService>(seq, clientName, noticePort, wakeFd);
}

AlsaService::AlsaService(snd_seq_t* seq, std::string clientName, int noticePort, int wakeFd)
    : m_Seq(seq),
      m_ClientName(std::move(clientName)),
      m_ClientId(snd_seq_client_id(seq)),
      m_NoticePort(noticePort),
      m_WakeFd(wakeFd) {
    m_EventThread = std::thread([this] { runEvents(); });
}

AlsaService::~AlsaService() {
    setChangeHandler(nullptr);
    closeInput();
    closeOutput();
    const uint64_t wake = 1;
    while (::write(m_WakeFd, &wake, sizeof wake) < 0 && errno == EINTR) {
    }
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
    m_InPort = port;
    m_Source = address;
    m_AnySource = false;
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
    m_InPort = port;
    m_AnySource = true;
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
    if (m_InPort < 0)
        return 0;
    int status = snd_seq_delete_simple_port(m_Seq, m_InPort);  // also ends its subscription
    m_InPort = -1;
    return std::min(status, 0);
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
    for (;;) {
        int status = snd_seq_drain_output(m_Seq);
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
        ::poll(descriptors, static_cast<nfds_t>(count), static_cast<int>(left.count()));
    }
    snd_seq_drop_output(m_Seq);
    return -ETIMEDOUT;
}

void AlsaService::setChangeHandler(ChangeHandler handler) {
    m_Changes.set(std::move(handler));
}

// Our input thread: input to the handler, announcements to the change handler.
void AlsaService::runEvents() {
    std::vector<pollfd> descriptors;
    {
        std::lock_guard lock(m_SeqMutex);
        descriptors.resize(static_cast<size_t>(snd_seq_poll_descriptors_count(m_Seq, POLLIN)) + 1);
        snd_seq_poll_descriptors(m_Seq, descriptors.data(), static_cast<unsigned>(descriptors.size() - 1),
                                 POLLIN);
    }
    descriptors.back() = {m_WakeFd, POLLIN, 0};
    for (;;) {
        if (::poll(descriptors.data(), descriptors.size(), -1) < 0 && errno != EINTR)
            return;
        if (descriptors.back().revents & POLLIN)
            return;
        PacketList packets;
        bool changed = readEvents(packets);
        if (!packets.empty())
            deliverInput(packets);
        if (changed)
            m_Changes.announce();
    }
}

// Returns whether an endpoint appeared, changed or went.
bool AlsaService::readEvents(PacketList& packets) {
    bool changed = false;
    std::lock_guard lock(m_SeqMutex);
    for (;;) {
        snd_seq_event_t* event = nullptr;
        int status = snd_seq_event_input(m_Seq, &event);
        if (status == -ENOSPC)
            continue;  // the kernel dropped input it had no room for; read what is left
        if (status < 0 || !event)
            return changed;
        if (event->dest.port == m_NoticePort) {
            changed |= isEndpointChange(event->type);
        } else if (m_InPort >= 0 && event->dest.port == m_InPort &&
                   (m_AnySource ||
                    (event->source.client == m_Source.client && event->source.port == m_Source.port))) {
            Packet packet{hostTimeNs(), {}};
            alsa::appendEventBytes(*event, packet.bytes);
            if (!packet.bytes.empty())
                packets.push_back(std::move(packet));
        }
        if (snd_seq_event_input_pending(m_Seq, 0) <= 0)
            return changed;
    }
}

void AlsaService::deliverInput(const PacketList& packets) {
    std::lock_guard lock(m_InputMutex);
    if (m_InputHandler)
        m_InputHandler(packets);
}

}  // namespace

std::shared_ptr<MidiService> openAlsaService(std::string& whyNot) {
    static std::mutex mutex;
    static std::weak_ptr<AlsaService> current;
    std::lock_guard lock(mutex);
    std::shared_ptr<AlsaService> service = current.lock();
    if (!service) {
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
