#pragma once

// A stand-in amplifier on the in-process MIDI service: it records every message the editor
// sends and answers as the simulator's head model does, or as the test scripts it, byte for byte.

#include "VelkTestSupport.h"

#include "midi/VirtualMidiHub.h"
#include "sim/AmpModel.h"

#include <memory>
#include <optional>
#include <utility>

namespace velktest {

class ScriptedAmp {
public:
    // The answers to one message from the editor, sent in order.
    using Responder = std::function<std::vector<Bytes>(const Bytes& message)>;
    enum class Sides { Both, SourceOnly, DestinationOnly };

    // Plugs a device named `deviceName` into `hub`; it starts silent.
    ScriptedAmp(midi::VirtualMidiHub& hub, const std::string& deviceName, Sides sides = Sides::Both)
        : m_Device(hub.addDevice(deviceName, [this](const midi::Packet& packet) { onMessage(packet.bytes); },
                                 {sides != Sides::DestinationOnly, sides != Sides::SourceOnly})) {}
    ~ScriptedAmp() { unplug(); }

    // Answers as a factory-fresh head of `model` (0x31 or 0x32) would, once `edit` has changed it.
    void answerLikeAnAmplifier(uint8_t model,
                               const std::function<void(velk::sim::AmpState&)>& edit = nullptr) {
        auto head = std::make_shared<velk::sim::AmpModel>(
            velk::sim::AmpState::factory(static_cast<velk::sim::HeadModel>(model), 110));
        if (edit)
            edit(head->state());
        setResponder([head](const Bytes& message) {
            const std::optional<Bytes> reply = head->handleMessage(message).reply;
            return reply ? std::vector<Bytes>{*reply} : std::vector<Bytes>{};
        });
    }
    void setResponder(Responder responder) {
        std::lock_guard lock(m_Lock);
        m_Responder = std::move(responder);
    }
    void setSilent() { setResponder(nullptr); }

    // Sends a message as the amplifier.
    void send(const Bytes& message) {
        std::lock_guard lock(m_Lock);
        if (m_Device)
            m_Device->send(message);
    }
    // Pulls the cable: the device disappears and sends to it fail. The device is destroyed after
    // the lock is released, as its receiving thread may be waiting for it.
    void unplug() {
        std::unique_ptr<midi::VirtualDevice> device;
        std::lock_guard lock(m_Lock);
        device.swap(m_Device);
    }

    // What the editor sent, once at least `count` messages have arrived (or `patience` passed).
    std::vector<Bytes> received(size_t count = 0, std::chrono::milliseconds patience = 5s) const {
        m_Received.waitForCount(count, patience);
        return m_Received.messages();
    }
    void clearReceived() { m_Received.clear(); }
    // True when every message received has been answered.
    bool idle() const {
        std::lock_guard lock(m_Lock);
        return m_Answering == 0;
    }

private:
    void onMessage(const Bytes& message) {
        Responder responder;
        {
            std::lock_guard lock(m_Lock);
            ++m_Answering;
            responder = m_Responder;
        }
        m_Received.record(message);
        const std::vector<Bytes> answers = responder ? responder(message) : std::vector<Bytes>{};
        std::lock_guard lock(m_Lock);
        for (const Bytes& reply : answers) {
            if (m_Device)
                m_Device->send(reply);
        }
        --m_Answering;
    }

    mutable std::mutex m_Lock;
    midi::test::MessageRecorder m_Received;
    size_t m_Answering = 0;
    Responder m_Responder;
    std::unique_ptr<midi::VirtualDevice> m_Device;  // last: it calls onMessage from its own thread
};

}  // namespace velktest
