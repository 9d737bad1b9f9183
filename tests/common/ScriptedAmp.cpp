#include "ScriptedAmp.h"

#include "common/SysexCodec.h"
#include "midi/VirtualMidiHub.h"

namespace sysex = velk::sysex;

namespace velktest {

namespace {

bool isParameterChange(const Bytes& message, uint8_t group, uint8_t parameter) {
    return message.size() == sysex::kParameterChangeSize && message[3] == sysex::kTypeParameterChange &&
           message[6] == group && message[7] == parameter;
}

std::vector<Bytes> amplifierAnswer(const ScriptedAmp::SContent& amp, const Bytes& message) {
    if (isParameterChange(message, sysex::kGroupSystem, sysex::kParamHeartBeat))
        return {heartBeatReply(amp.model)};
    if (isParameterChange(message, sysex::kGroupSystem, sysex::kParamMainVersionRequest))
        return {parameterChange(sysex::kGroupSystem, sysex::kParamMainVersionReply, sysex::high7(amp.version),
                                sysex::low7(amp.version))};
    if (isParameterChange(message, sysex::kGroupFIR, sysex::kParamFlashWrite))
        return {parameterChange(sysex::kGroupFIR, sysex::kParamFlashWriteReply, message[8], sysex::kReplyOK)};
    if (isParameterChange(message, sysex::kGroupFIR, sysex::kParamInitFIRData))
        return {parameterChange(sysex::kGroupFIR, sysex::kParamInitReply, 0, 0)};
    if (message.size() == sysex::kDumpRequestSize && message[3] == sysex::kTypeDumpRequest) {
        const int index = sysex::dumpIndex(message.data() + 8);
        if (index == sysex::kDumpEffectData)
            return {effectDump(amp.effectBlock)};
        if (index >= 0)
            return {firHeaderDump(index, amp.slots[index].first, amp.slots[index].second)};
        return {};
    }
    SPacket packet;
    if (decodePacket(message, packet))
        return {parameterChange(sysex::kGroupFIR, sysex::kParamPacketReply, packet.number & 0x7F,
                                sysex::kReplyOK)};
    return {};
}

}  // namespace

ScriptedAmp::ScriptedAmp(midi::VirtualMidiHub& hub, std::string deviceName, Sides sides)
    : m_Device(hub.addDevice(deviceName, [this](const midi::Packet& packet) { onMessage(packet.bytes); },
                             {sides != Sides::DestinationOnly, sides != Sides::SourceOnly})) {}

ScriptedAmp::~ScriptedAmp() {
    unplug();
}

// The device is destroyed after the lock is released: its receiving thread may be waiting for it.
void ScriptedAmp::unplug() {
    std::unique_ptr<midi::VirtualDevice> device;
    std::lock_guard lock(m_Lock);
    device.swap(m_Device);
}

void ScriptedAmp::onMessage(const Bytes& message) {
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
    for (const Bytes& answer : answers) {
        if (m_Device)
            m_Device->send(answer);
    }
    --m_Answering;
    m_Changed.notify_all();
}

void ScriptedAmp::answerLikeAnAmplifier(SContent content) {
    setResponder([content](const Bytes& message) { return amplifierAnswer(content, message); });
}

void ScriptedAmp::setResponder(Responder responder) {
    std::lock_guard lock(m_Lock);
    m_Responder = std::move(responder);
}

void ScriptedAmp::send(const Bytes& message) {
    std::lock_guard lock(m_Lock);
    if (m_Device)
        m_Device->send(message);
}

std::vector<Bytes> ScriptedAmp::received() const {
    std::lock_guard lock(m_Lock);
    return m_Received;
}

std::vector<Bytes> ScriptedAmp::awaitReceived(size_t count, std::chrono::milliseconds patience) const {
    std::unique_lock lock(m_Lock);
    m_Changed.wait_for(lock, patience, [&] { return m_Received.size() >= count; });
    return m_Received;
}

void ScriptedAmp::clearReceived() {
    std::lock_guard lock(m_Lock);
    m_Received.clear();
}

bool ScriptedAmp::idle() const {
    std::lock_guard lock(m_Lock);
    return m_Answering == 0;
}

}  // namespace velktest
