#include "sim/AmpSimulator.h"

#include <algorithm>

namespace velk::sim {

AmpSimulator::AmpSimulator(std::unique_ptr<DevicePorts> ports, Options options)
    : m_Ports(std::move(ports)),
      m_PortName(options.portName.empty() ? defaultPortName(options.model) : std::move(options.portName)),
      m_Model(AmpState::factory(options.model, options.mainVersion)),
      m_Sender([this] { runSender(); }) {}

AmpSimulator::~AmpSimulator() {
    unplug();
    {
        std::lock_guard lock(m_Mutex);
        m_Stopping = true;
    }
    m_Changed.notify_all();
    m_Sender.join();
}

std::string AmpSimulator::defaultPortName(HeadModel model) {
    return model == HeadModel::Single ? "VelkSolvo/Single" : "VelkSolvo/Dual";
}

// Unplugs first: a plugged head, or an unplugging the sender has not carried out yet, leaves
// nothing behind.
int AmpSimulator::plug() {
    std::lock_guard portsLock(m_PortsMutex);
    unplugHoldingPorts();
    setPlugged(true);
    const int status = m_Ports->plug(m_PortName, [this](std::span<const uint8_t> bytes) { receive(bytes); });
    if (status != 0)
        setPlugged(false);
    return status;
}

void AmpSimulator::unplug() {
    std::lock_guard portsLock(m_PortsMutex);
    unplugHoldingPorts();
}

void AmpSimulator::unplugHoldingPorts() {
    setPlugged(false);
    m_Ports->unplug();
}

void AmpSimulator::setPlugged(bool plugged) {
    std::lock_guard lock(m_Mutex);
    m_Plugged = plugged;
    dropOutgoing();
}

bool AmpSimulator::isPlugged() const {
    std::lock_guard lock(m_Mutex);
    return m_Plugged;
}

std::string AmpSimulator::portName() const {
    return m_PortName;
}

AmpState AmpSimulator::state() const {
    std::lock_guard lock(m_Mutex);
    return m_Model.state();
}

FIRCOE AmpSimulator::playBuffer(int amp) const {
    std::lock_guard lock(m_Mutex);
    return m_Model.state().playBuffers.at(amp);
}

FIRCOE AmpSimulator::firSlot(int slot) const {
    std::lock_guard lock(m_Mutex);
    return m_Model.state().firSlots.at(slot);
}

std::vector<ReceivedMessage> AmpSimulator::received() const {
    std::lock_guard lock(m_Mutex);
    return {m_Received.begin(), m_Received.end()};
}

int AmpSimulator::receivedCount(Request request) const {
    std::lock_guard lock(m_Mutex);
    return static_cast<int>(
        std::count_if(m_Received.begin(), m_Received.end(),
                      [request](const ReceivedMessage& m) { return m.request == request; }));
}

void AmpSimulator::clearReceived() {
    std::lock_guard lock(m_Mutex);
    m_Received.clear();
}

bool AmpSimulator::waitForReceived(Request request, int count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_Mutex);
    return m_Changed.wait_for(lock, timeout, [&] {
        return std::count_if(m_Received.begin(), m_Received.end(),
                             [request](const ReceivedMessage& m) { return m.request == request; }) >= count;
    });
}

bool AmpSimulator::changeAmpType(int amp, int ampType) {
    std::lock_guard lock(m_Mutex);
    std::optional<Bytes> announcement = m_Model.changeAmpType(amp, ampType);
    if (!announcement)
        return false;
    if (m_Plugged)
        sendNowOrLater(std::move(*announcement), std::chrono::microseconds(0));
    return true;
}

void AmpSimulator::editState(const std::function<void(AmpState&)>& edit) {
    std::lock_guard lock(m_Mutex);
    edit(m_Model.state());
}

void AmpSimulator::switchModel(HeadModel model) {
    std::lock_guard lock(m_Mutex);
    m_Model.switchModel(model);
}

void AmpSimulator::setSilent(bool silent) {
    std::lock_guard lock(m_Mutex);
    m_Silent = silent;
}

void AmpSimulator::editAmpFaults(const std::function<void(AmpFaults&)>& edit) {
    std::lock_guard lock(m_Mutex);
    edit(m_Model.faults());
}

void AmpSimulator::editWireFaults(const std::function<void(WireFaults&)>& edit) {
    std::lock_guard lock(m_Mutex);
    edit(m_WireFaults);
}

void AmpSimulator::releaseHeldReplies() {
    std::lock_guard lock(m_Mutex);
    for (Bytes& reply : m_Held)
        sendNowOrLater(std::move(reply), std::chrono::microseconds(0));
    m_Held.clear();
}

std::chrono::microseconds AmpSimulator::totalReplyWait() const {
    std::lock_guard lock(m_Mutex);
    return std::chrono::duration_cast<std::chrono::microseconds>(m_TotalReplyWait);
}

// On the ports' thread.
void AmpSimulator::receive(std::span<const uint8_t> bytes) {
    m_Assembler.feed(bytes, [this](std::span<const uint8_t> message) { handleMessage(message); });
}

void AmpSimulator::handleMessage(std::span<const uint8_t> message) {
    std::lock_guard lock(m_Mutex);
    if (!m_Plugged)
        return;
    Exchange exchange = m_Silent ? Exchange{} : m_Model.handleMessage(message);
    if (m_Received.size() == kReceivedLogLimit)
        m_Received.pop_front();
    m_Received.push_back({exchange.request, Bytes(message.begin(), message.end())});
    m_Changed.notify_all();
    if (m_Silent)
        return;
    if (m_WireFaults.arrives(exchange.request)) {
        // The ports cannot be removed from their own thread: the sender does it.
        m_Plugged = false;
        dropOutgoing();
        schedule({Clock::now(), Clock::now(), {}, true});
        return;
    }
    if (exchange.reply)
        dispatchReply(exchange.request, std::move(*exchange.reply));
}

void AmpSimulator::dispatchReply(Request request, Bytes reply) {
    const ReplyFate fate = m_WireFaults.fateOfReply(request);
    switch (fate.kind) {
        case ReplyFate::Drop:
            return;
        case ReplyFate::Hold:
            m_Held.push_back(std::move(reply));
            return;
        case ReplyFate::Send:
            for (int copy = 1; copy < fate.copies; ++copy)
                sendNowOrLater(reply, fate.delay);
            sendNowOrLater(std::move(reply), fate.delay);
            return;
    }
}

// A reply due now goes out on the calling thread when nothing waits before it: the common case
// costs no thread switch.
void AmpSimulator::sendNowOrLater(Bytes bytes, std::chrono::microseconds delay) {
    if (delay.count() == 0 && m_Outgoing.empty()) {
        m_Ports->send(bytes);
        return;
    }
    const Clock::time_point now = Clock::now();
    schedule({now, now + delay, std::move(bytes)});
}

void AmpSimulator::schedule(Outgoing outgoing) {
    const auto after = std::upper_bound(m_Outgoing.begin(), m_Outgoing.end(), outgoing.due,
                                        [](Clock::time_point due, const Outgoing& o) { return due < o.due; });
    m_Outgoing.insert(after, std::move(outgoing));
    m_Changed.notify_all();
}

void AmpSimulator::dropOutgoing() {
    m_Outgoing.clear();
    m_Held.clear();
}

void AmpSimulator::runSender() {
    std::unique_lock lock(m_Mutex);
    while (!m_Stopping) {
        if (m_Outgoing.empty()) {
            m_Changed.wait(lock);
            continue;
        }
        if (Clock::now() < m_Outgoing.front().due) {
            m_Changed.wait_until(lock, m_Outgoing.front().due);
            continue;
        }
        Outgoing outgoing = std::move(m_Outgoing.front());
        m_Outgoing.pop_front();
        if (outgoing.unplug) {
            lock.unlock();
            unplugPorts();
            lock.lock();
        } else {
            m_TotalReplyWait += Clock::now() - outgoing.queued;
            m_Ports->send(outgoing.bytes);
        }
    }
}

void AmpSimulator::unplugPorts() {
    std::lock_guard portsLock(m_PortsMutex);
    if (!isPlugged())  // not plugged in again meanwhile
        m_Ports->unplug();
}

}  // namespace velk::sim
