#pragma once

// A stand-in amplifier on the in-process MIDI service: it records every message the editor
// sends and answers as the test scripts it, byte for byte.

#include "VelkTestSupport.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace midi {
class VirtualMidiHub;
class VirtualDevice;
}  // namespace midi

namespace velktest {

class ScriptedAmp {
public:
    // The answers to one message from the editor, sent in order.
    using Responder = std::function<std::vector<Bytes>(const Bytes& message)>;
    enum class Sides { Both, SourceOnly, DestinationOnly };

    // What a healthy amplifier reports.
    struct SContent {
        uint8_t model = 0x31;
        uint16_t version = 110;
        std::array<uint8_t, 16> effectBlock{};
        std::array<std::pair<std::string, uint16_t>, 10> slots{};  // name and gain of each FIR slot
    };

    // Plugs a device named `deviceName` into `hub`; it starts silent.
    ScriptedAmp(midi::VirtualMidiHub& hub, std::string deviceName, Sides sides = Sides::Both);
    ~ScriptedAmp();

    // Answers heartbeats, the main version, every dump, packets, flash writes and initialisation.
    void answerLikeAnAmplifier(SContent content);
    void setResponder(Responder responder);
    void setSilent() { setResponder(nullptr); }

    // Sends a message as the amplifier.
    void send(const Bytes& message);
    // Pulls the cable: the device disappears and sends to it fail.
    void unplug();

    std::vector<Bytes> received() const;
    // What the editor sent, once at least `count` messages have arrived (or `patience` passed).
    std::vector<Bytes> awaitReceived(size_t count, std::chrono::milliseconds patience = 5s) const;
    void clearReceived();
    // True when every message received has been answered.
    bool idle() const;

private:
    void onMessage(const Bytes& message);

    mutable std::mutex m_Lock;
    mutable std::condition_variable m_Changed;
    std::vector<Bytes> m_Received;
    size_t m_Answering = 0;
    Responder m_Responder;
    std::unique_ptr<midi::VirtualDevice> m_Device;  // last: it calls onMessage from its own thread
};

}  // namespace velktest
