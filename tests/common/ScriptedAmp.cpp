#include "ScriptedAmp.h"

#include "common/SysexCodec.h"
#include "midi/VirtualMidiHub.h"

#include <array>
#include <utility>

namespace sysex = velk::sysex;

namespace velktest {

namespace {

struct SSlotHeader {
    std::string name;
    uint16_t gain = 5181;
};

bool isParameterChange(const Bytes& message, uint8_t group, uint8_t parameter) {
    return message.size() == sysex::kParameterChangeSize && message[3] == sysex::kTypeParameterChange &&
           message[6] == group && message[7] == parameter;
}

}  // namespace

struct ScriptedAmp::SState {
    SState(midi::VirtualMidiHub& hub, std::string deviceName, Sides sides)
        : hub(hub), deviceName(std::move(deviceName)), sides(sides) {}

    midi::VirtualMidiHub& hub;
    const std::string deviceName;
    const Sides sides;

    mutable std::mutex lock;
    mutable std::condition_variable changed;
    std::unique_ptr<midi::VirtualDevice> device;
    std::vector<Bytes> received;
    size_t answering = 0;
    Responder responder;

    uint8_t model = sysex::kModelSingleAmp;
    uint16_t version = 110;
    std::array<uint8_t, 16> effectBlock{};
    std::array<SSlotHeader, 10> slots{};
};

ScriptedAmp::ScriptedAmp(midi::VirtualMidiHub& hub, std::string deviceName, Sides sides)
    : m_State(std::make_unique<SState>(hub, std::move(deviceName), sides)) {
    plugIn();
}

ScriptedAmp::~ScriptedAmp() {
    unplug();
}

void ScriptedAmp::plugIn() {
    const midi::VirtualDeviceSides sides{m_State->sides != Sides::DestinationOnly,
                                         m_State->sides != Sides::SourceOnly};
    auto device = m_State->hub.addDevice(
        m_State->deviceName, [this](const midi::Packet& packet) { onMessage(packet.bytes); }, sides);
    std::lock_guard lock(m_State->lock);
    m_State->device = std::move(device);
}

// The device goes outside the lock: its receiving thread may be waiting for it.
void ScriptedAmp::unplug() {
    std::unique_ptr<midi::VirtualDevice> device;
    {
        std::lock_guard lock(m_State->lock);
        device = std::move(m_State->device);
    }
}

void ScriptedAmp::onMessage(const Bytes& message) {
    Responder responder;
    {
        std::lock_guard lock(m_State->lock);
        m_State->received.push_back(message);
        ++m_State->answering;
        responder = m_State->responder;
        m_State->changed.notify_all();
    }
    const std::vector<Bytes> answers = responder ? responder(message) : std::vector<Bytes>{};
    std::lock_guard lock(m_State->lock);
    if (m_State->device) {
        for (const Bytes& answer : answers)
            m_State->device->send(answer);
    }
    --m_State->answering;
    m_State->changed.notify_all();
}

void ScriptedAmp::answerLikeAnAmplifier(uint8_t model) {
    setModel(model);
    setResponder([this](const Bytes& message) { return amplifierAnswer(message); });
}

void ScriptedAmp::setResponder(Responder responder) {
    std::lock_guard lock(m_State->lock);
    m_State->responder = std::move(responder);
}

void ScriptedAmp::setSilent() {
    setResponder(nullptr);
}

std::vector<Bytes> ScriptedAmp::amplifierAnswer(const Bytes& message) const {
    std::lock_guard lock(m_State->lock);
    if (isParameterChange(message, sysex::kGroupSystem, sysex::kParamHeartBeat))
        return {heartBeatReply(m_State->model)};
    if (isParameterChange(message, sysex::kGroupSystem, sysex::kParamMainVersionRequest))
        return {parameterChange(sysex::kGroupSystem, sysex::kParamMainVersionReply,
                                sysex::high7(m_State->version), sysex::low7(m_State->version))};
    if (isParameterChange(message, sysex::kGroupFIR, sysex::kParamFlashWrite))
        return {parameterChange(sysex::kGroupFIR, sysex::kParamFlashWriteReply, message[8], sysex::kReplyOK)};
    if (isParameterChange(message, sysex::kGroupFIR, sysex::kParamInitFIRData))
        return {parameterChange(sysex::kGroupFIR, sysex::kParamInitReply, 0, 0)};
    if (message.size() == sysex::kDumpRequestSize && message[3] == sysex::kTypeDumpRequest) {
        const int index = sysex::dumpIndex(message.data() + 8);
        if (index == sysex::kDumpEffectData)
            return {effectDump(m_State->effectBlock)};
        if (index >= 0)
            return {firHeaderDump(index, m_State->slots[index].name, m_State->slots[index].gain)};
        return {};
    }
    SPacket packet;
    if (decodePacket(message, packet))
        return {parameterChange(sysex::kGroupFIR, sysex::kParamPacketReply, packet.number & 0x7F,
                                sysex::kReplyOK)};
    return {};
}

void ScriptedAmp::setModel(uint8_t model) {
    std::lock_guard lock(m_State->lock);
    m_State->model = model;
}

void ScriptedAmp::setVersion(uint16_t version) {
    std::lock_guard lock(m_State->lock);
    m_State->version = version;
}

void ScriptedAmp::setEffectBlock(const std::array<uint8_t, 16>& block) {
    std::lock_guard lock(m_State->lock);
    m_State->effectBlock = block;
}

void ScriptedAmp::setSlotHeader(int slot, const std::string& name, uint16_t gain) {
    std::lock_guard lock(m_State->lock);
    m_State->slots.at(static_cast<size_t>(slot)) = {name, gain};
}

void ScriptedAmp::send(const Bytes& message) {
    std::lock_guard lock(m_State->lock);
    if (m_State->device)
        m_State->device->send(message);
}

std::vector<Bytes> ScriptedAmp::received() const {
    std::lock_guard lock(m_State->lock);
    return m_State->received;
}

std::vector<Bytes> ScriptedAmp::awaitReceived(size_t count) const {
    waitForReceived(count);
    return received();
}

size_t ScriptedAmp::receivedCount() const {
    std::lock_guard lock(m_State->lock);
    return m_State->received.size();
}

void ScriptedAmp::clearReceived() {
    std::lock_guard lock(m_State->lock);
    m_State->received.clear();
}

bool ScriptedAmp::waitForReceived(size_t count, std::chrono::milliseconds patience) const {
    std::unique_lock lock(m_State->lock);
    return m_State->changed.wait_for(lock, patience, [&] { return m_State->received.size() >= count; });
}

bool ScriptedAmp::idle() const {
    std::lock_guard lock(m_State->lock);
    return m_State->answering == 0;
}

}  // namespace velktest
