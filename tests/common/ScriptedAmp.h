#pragma once

// A stand-in amplifier on the in-process MIDI service: it records every message the editor
// sends and answers as the test scripts it, byte for byte.

#include "VelkTestSupport.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace midi {
class VirtualMidiHub;
}

namespace velktest {

class ScriptedAmp {
public:
    // The answers to one message from the editor, sent in order.
    using Responder = std::function<std::vector<Bytes>(const Bytes& message)>;

    enum class Sides { Both, SourceOnly, DestinationOnly };

    // Plugs a device named `deviceName` into `hub`; it starts silent.
    ScriptedAmp(midi::VirtualMidiHub& hub, std::string deviceName, Sides sides = Sides::Both);
    ~ScriptedAmp();

    // Answers like a healthy amplifier of `model` (0x31 or 0x32): heartbeats, the main version,
    // every dump from its block table, packet, flash write and initialisation replies.
    void answerLikeAnAmplifier(uint8_t model);
    void setResponder(Responder responder);
    void setSilent();
    // The amplifier's own answer to `message` as answerLikeAnAmplifier() gives it.
    std::vector<Bytes> amplifierAnswer(const Bytes& message) const;

    void setModel(uint8_t model);
    void setVersion(uint16_t version);
    void setEffectBlock(const std::array<uint8_t, 16>& block);
    void setSlotHeader(int slot, const std::string& name, uint16_t gain);

    // Sends a message as the amplifier.
    void send(const Bytes& message);
    // Pulls the cable: the device disappears, and sends to it fail. plugIn() brings it back
    // under the same name.
    void unplug();
    void plugIn();

    std::vector<Bytes> received() const;
    // What the editor sent, once at least `count` messages have arrived (or five seconds passed).
    std::vector<Bytes> awaitReceived(size_t count) const;
    size_t receivedCount() const;
    void clearReceived();
    bool waitForReceived(size_t count, std::chrono::milliseconds patience = std::chrono::seconds(5)) const;
    // True when every message received has been answered.
    bool idle() const;

private:
    struct SState;
    void onMessage(const Bytes& message);

    std::unique_ptr<SState> m_State;
};

}  // namespace velktest
