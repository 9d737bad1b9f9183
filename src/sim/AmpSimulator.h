#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/AmpModel.h"
#include "sim/DevicePorts.h"
#include "sim/SysexAssembler.h"
#include "sim/WireFaults.h"

namespace velk::sim {

// One message that reached the head, and what the head made of it.
struct ReceivedMessage {
    Request request = Request::Ignored;
    Bytes bytes;
};

// A head on a MIDI service: an AmpModel behind a pair of device ports, answering on its own
// thread, with the faults of a real amplifier and cable on demand. Every accessor is safe from
// any thread and returns a snapshot.
class AmpSimulator {
public:
    struct Options {
        HeadModel model = HeadModel::Dual;
        uint16_t mainVersion = 110;
        // The ports' name; empty chooses "VelkSolvo/Single" or "VelkSolvo/Dual" after the model.
        std::string portName;
    };

    AmpSimulator(std::unique_ptr<DevicePorts> ports, Options options);
    ~AmpSimulator();

    AmpSimulator(const AmpSimulator&) = delete;
    AmpSimulator& operator=(const AmpSimulator&) = delete;

    // The head appears on the service (0, or the ports' negative errno) or vanishes; replies not
    // yet sent are lost. The head keeps its state across.
    int plug();
    void unplug();
    bool isPlugged() const;
    std::string portName() const;

    // What the head holds now.
    AmpState state() const;
    FIRCOE playBuffer(int amp) const;
    FIRCOE firSlot(int slot) const;

    // The messages that reached the head, in order: all of them, or the last kReceivedLogLimit
    // on a head that runs for hours.
    static constexpr size_t kReceivedLogLimit = 100'000;
    std::vector<ReceivedMessage> received() const;
    int receivedCount(Request request) const;
    void clearReceived();
    // Waits (real time) until `count` messages of that kind have reached the head.
    bool waitForReceived(Request request, int count, std::chrono::milliseconds timeout) const;

    // The player at the head: turns an amp's type knob (false when the head has no such amp or
    // type), edits its state directly, or swaps the head for the other model. Port names stay.
    bool changeAmpType(int amp, int ampType);
    void editState(const std::function<void(AmpState&)>& edit);
    void switchModel(HeadModel model);

    // Faults. A silent head takes no message and answers nothing; the others act on the
    // amplifier (AmpFaults) or the wire (WireFaults).
    void setSilent(bool silent);
    void editAmpFaults(const std::function<void(AmpFaults&)>& edit);
    void editWireFaults(const std::function<void(WireFaults&)>& edit);
    // Sends the replies kept back by WireFaults::holdReplies, in order.
    void releaseHeldReplies();
    // How long the replies sent so far were kept back in all, delays and late wake-ups included:
    // what a benchmark subtracts to see the time spent outside the head.
    std::chrono::microseconds totalReplyWait() const;

    static std::string defaultPortName(HeadModel model);

private:
    using Clock = std::chrono::steady_clock;
    struct Outgoing {
        Clock::time_point queued;
        Clock::time_point due;
        Bytes bytes;
        bool unplug = false;  // the head vanishes here instead of sending
    };

    void receive(std::span<const uint8_t> bytes);
    void handleMessage(std::span<const uint8_t> message);
    void dispatchReply(Request request, Bytes reply);
    void schedule(Outgoing outgoing);
    void sendNowOrLater(Bytes bytes, std::chrono::microseconds delay);
    void dropOutgoing();
    void runSender();
    void unplugPorts();
    void unplugHoldingPorts();
    void setPlugged(bool plugged);

    const std::unique_ptr<DevicePorts> m_Ports;
    std::string m_PortName;
    SysexAssembler m_Assembler;  // only the ports' thread touches it

    mutable std::mutex m_Mutex;  // everything below; held across each send, so replies keep their order
    mutable std::condition_variable m_Changed;
    AmpModel m_Model;
    WireFaults m_WireFaults;
    bool m_Plugged = false;
    bool m_Silent = false;
    bool m_Stopping = false;
    std::deque<ReceivedMessage> m_Received;
    std::deque<Outgoing> m_Outgoing;  // in due order
    std::vector<Bytes> m_Held;
    Clock::duration m_TotalReplyWait{};

    std::mutex m_PortsMutex;  // serialises plugging and unplugging
    std::thread m_Sender;
};

}  // namespace velk::sim
