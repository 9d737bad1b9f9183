#pragma once

// A stand-in amplifier on the in-process MIDI service: it records every message the editor
// sends and answers as the test scripts it, byte for byte.

#include "VelkTestSupport.h"

#include "midi/VirtualMidiHub.h"

#include <memory>
#include <utility>

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
    ScriptedAmp(midi::VirtualMidiHub& hub, const std::string& deviceName, Sides sides = Sides::Both)
        : m_Device(hub.addDevice(deviceName, [this](const midi::Packet& packet) { onMessage(packet.bytes); },
                                 {sides != Sides::DestinationOnly, sides != Sides::SourceOnly})) {}
    ~ScriptedAmp() { unplug(); }

    // Answers heartbeats, the main version, every dump, packets, flash writes and initialisation.
    void answerLikeAnAmplifier(SContent content) {
        setResponder([content](const Bytes& message) { return answer(content, message); });
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
        std::unique_lock lock(m_Lock);
        m_Changed.wait_for(lock, patience, [&] { return m_Received.size() >= count; });
        return m_Received;
    }
    void clearReceived() {
        std::lock_guard lock(m_Lock);
        m_Received.clear();
    }
    // True when every message received has been answered.
    bool idle() const {
        std::lock_guard lock(m_Lock);
        return m_Answering == 0;
    }

private:
    static bool isParameterChange(const Bytes& message, uint8_t group, uint8_t parameter) {
        return message.size() == sysex::kParameterChangeSize && message[3] == sysex::kTypeParameterChange &&
               message[6] == group && message[7] == parameter;
    }

    static std::vector<Bytes> answer(const SContent& amp, const Bytes& message) {
        using namespace velk::sysex;
        if (isParameterChange(message, kGroupSystem, kParamHeartBeat))
            return {heartBeatReply(amp.model)};
        if (isParameterChange(message, kGroupSystem, kParamMainVersionRequest))
            return {
                parameterChange(kGroupSystem, kParamMainVersionReply, high7(amp.version), low7(amp.version))};
        if (isParameterChange(message, kGroupFIR, kParamFlashWrite))
            return {parameterChange(kGroupFIR, kParamFlashWriteReply, message[8], kReplyOK)};
        if (isParameterChange(message, kGroupFIR, kParamInitFIRData))
            return {parameterChange(kGroupFIR, kParamInitReply, 0, 0)};
        const bool isDumpRequest = message.size() == kDumpRequestSize && message[3] == kTypeDumpRequest;
        const int dump = isDumpRequest ? dumpIndex(message.data() + 8) : -1;
        if (dump == kDumpEffectData)
            return {effectDump(amp.effectBlock)};
        if (dump >= 0)
            return {firHeaderDump(dump, amp.slots[dump].first, amp.slots[dump].second)};
        SPacket packet;
        if (decodePacket(message, packet))
            return {parameterChange(kGroupFIR, kParamPacketReply, packet.number & 0x7F, kReplyOK)};
        return {};
    }

    void onMessage(const Bytes& message) {
        Responder responder;
        {
            std::lock_guard lock(m_Lock);
            m_Received.push_back(message);
            ++m_Answering;
            responder = m_Responder;
            m_Changed.notify_all();
        }
        const std::vector<Bytes> answers = responder ? responder(message) : std::vector<Bytes>{};
        std::lock_guard lock(m_Lock);
        for (const Bytes& reply : answers) {
            if (m_Device)
                m_Device->send(reply);
        }
        --m_Answering;
        m_Changed.notify_all();
    }

    mutable std::mutex m_Lock;
    mutable std::condition_variable m_Changed;
    std::vector<Bytes> m_Received;
    size_t m_Answering = 0;
    Responder m_Responder;
    std::unique_ptr<midi::VirtualDevice> m_Device;  // last: it calls onMessage from its own thread
};

}  // namespace velktest
