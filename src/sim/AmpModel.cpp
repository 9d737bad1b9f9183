#include "sim/AmpModel.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "common/SysexCodec.h"
#include "sim/StockCabinets.h"

namespace velk::sim {

namespace {

using namespace velk::sysex;

constexpr size_t kTagOffset = kLeadInSize + 1;
constexpr size_t kBlockNameSize = 4;
constexpr size_t kDumpRequestNameOffset = kTagOffset + sizeof kBodyTag;
constexpr size_t kBlockReservedSize = 4;  // after a dump body's block name
constexpr size_t kPacketNumberOffset = 14;
constexpr size_t kPacketAmpOffset = 16;
constexpr size_t kPacketPayloadOffset = kBulkHeaderSize + kPacketHeaderSize;
constexpr size_t kRecordSize = sizeof(FIRCOE);
constexpr int kLastNamePosition = FIRCOE::kNameSize - 2;  // the terminator is never written

// Effect block bytes the editor may set: each amp's booster, FX loop, reverb and noise gate,
// and the FX loop send and return connection.
bool isSettableEffectByte(uint8_t index) {
    return (index >= 1 && index <= 6) || (index >= 9 && index <= 12);
}

// Framed F0 43 7D ... F7, with nothing but data bytes between: what the head's MIDI input
// takes as one of its messages. Anything else never reaches its protocol handling.
bool isWellFormed(std::span<const uint8_t> message) {
    return message.size() > kLeadInSize + 1 && hasLeadIn(message.data(), message.size()) &&
           message.back() == kEnd &&
           std::all_of(message.begin() + 1, message.end() - 1, [](uint8_t byte) { return byte < 0x80; });
}

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

Bytes parameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2) {
    Bytes message(kParameterChangeSize);
    writeParameterChange(message.data(), group, parameter, data1, data2);
    return message;
}

Bytes heartBeatReply(HeadModel model) {
    return {kLeadIn[0],
            kLeadIn[1],
            kLeadIn[2],
            kTypeHeartBeat,
            kHeartBeatTag[0],
            kHeartBeatTag[1],
            kHeartBeatTag[2],
            static_cast<uint8_t>(model),
            kEnd};
}

// Body of a dump: tag, block name, four reserved bytes, then the block's own data.
Bytes dumpBody(int block, std::span<const uint8_t> reserved, std::span<const uint8_t> data) {
    Bytes body(std::begin(kBodyTag), std::end(kBodyTag));
    body.resize(body.size() + kBlockNameSize);
    dumpName(block, body.data() + sizeof kBodyTag);
    body.insert(body.end(), reserved.begin(), reserved.end());
    body.insert(body.end(), data.begin(), data.end());
    return body;
}

}  // namespace

const char* requestName(Request request) {
    switch (request) {
        case Request::Ignored:
            return "Ignored";
        case Request::HeartBeat:
            return "HeartBeat";
        case Request::MainVersion:
            return "MainVersion";
        case Request::Dump:
            return "Dump";
        case Request::EffectParameter:
            return "EffectParameter";
        case Request::SelectStoredIr:
            return "SelectStoredIr";
        case Request::IrName:
            return "IrName";
        case Request::IrGain:
            return "IrGain";
        case Request::FlashWrite:
            return "FlashWrite";
        case Request::InitIrData:
            return "InitIrData";
        case Request::CoefficientPacket:
            return "CoefficientPacket";
    }
    return "?";
}

AmpModel::AmpModel(AmpState state) : m_State(std::move(state)) {}

Exchange AmpModel::handleMessage(std::span<const uint8_t> message) {
    if (!isWellFormed(message))
        return {};
    switch (messageKind(message.data(), message.size())) {
        case kTypeParameterChange:
            return handleParameterChange(message);
        case kTypeDumpRequest:
            return handleDumpRequest(message);
        case kTypeBulkDump:
            return handleCoefficientPacket(message);
        default:
            return {};
    }
}

std::optional<Bytes> AmpModel::changeAmpType(int amp, int ampType) {
    if (!m_State.hasAmp(amp) || ampType < 0 || ampType >= AmpState::kAmpTypes)
        return std::nullopt;
    m_State.effectBlock[amp * AmpState::kAmpBlockStride] = static_cast<uint8_t>(ampType);
    m_State.playBuffers[amp] = m_State.firSlots[m_State.currentSlot(amp)];
    return parameterChange(kGroupEffect, amp == 0 ? kParamAmpIAmpType : kParamAmpIIAmpType, 0, ampType);
}

void AmpModel::switchModel(HeadModel model) {
    m_State = AmpState::factory(model, m_State.mainVersion);
}

Exchange AmpModel::handleParameterChange(std::span<const uint8_t> message) {
    if (message.size() != kParameterChangeSize ||
        !startsWith(message.subspan(kTagOffset), kParameterChangeTag))
        return {};
    const uint8_t group = message[6], parameter = message[7], data1 = message[8], data2 = message[9];
    switch (group) {
        case kGroupSystem:
            return handleSystemParameter(parameter);
        case kGroupEffect:
            return handleEffectParameter(parameter, data1, data2);
        case kGroupFIR:
            return handleFirParameter(parameter, data1, data2);
        default:
            return {};
    }
}

Exchange AmpModel::handleSystemParameter(uint8_t parameter) {
    switch (parameter) {
        case kParamHeartBeat:
            return {Request::HeartBeat, heartBeatReply(m_State.model)};
        case kParamMainVersionRequest:
            return {Request::MainVersion,
                    parameterChange(kGroupSystem, kParamMainVersionReply, high7(m_State.mainVersion),
                                    low7(m_State.mainVersion))};
        default:
            return {};
    }
}

Exchange AmpModel::handleEffectParameter(uint8_t parameter, uint8_t data1, uint8_t data2) {
    const int amp = parameter / AmpState::kAmpBlockStride;
    if (data1 != 0 || !isSettableEffectByte(parameter) || !m_State.hasAmp(amp))
        return {};
    m_State.effectBlock[parameter] = data2;
    return {Request::EffectParameter};
}

Exchange AmpModel::handleFirParameter(uint8_t parameter, uint8_t data1, uint8_t data2) {
    switch (parameter) {
        case kParamSelectFIR:
            return handleSelectStoredIr(data1, data2);
        case kParamAmpIFIRName:
            return handleIrCharacter(0, data1, data2);
        case kParamAmpIIFIRName:
            return handleIrCharacter(1, data1, data2);
        case kParamAmpIFIRGain:
            return handleIrGain(0, data1, data2);
        case kParamAmpIIFIRGain:
            return handleIrGain(1, data1, data2);
        case kParamFlashWrite:
            return handleFlashWrite(data1, data2);
        case kParamInitFIRData:
            return handleInitIrData();
        default:
            return {};
    }
}

Exchange AmpModel::handleSelectStoredIr(uint8_t amp, uint8_t slot) {
    if (!ownsSlot(amp, slot))
        return {};
    m_State.playBuffers[amp] = m_State.firSlots[slot];
    return {Request::SelectStoredIr};
}

Exchange AmpModel::handleIrCharacter(int amp, uint8_t position, uint8_t character) {
    if (!m_State.hasAmp(amp) || position > kLastNamePosition)
        return {};
    m_State.playBuffers[amp].name[position] = static_cast<char>(character);
    return {Request::IrName};
}

Exchange AmpModel::handleIrGain(int amp, uint8_t high, uint8_t low) {
    if (!m_State.hasAmp(amp))
        return {};
    m_State.playBuffers[amp].gain = static_cast<int16_t>(join14(high, low));
    return {Request::IrGain};
}

// The head answers every flash write, so the editor's wait ends either way; a write it cannot
// do (no such amp, a slot of the other amp, a worn-out flash) is reported as failed.
Exchange AmpModel::handleFlashWrite(uint8_t amp, uint8_t slot) {
    bool written = false;
    if (m_Faults.failingFlashWrites > 0) {
        --m_Faults.failingFlashWrites;
    } else if (ownsSlot(amp, slot)) {
        m_State.firSlots[slot] = m_State.playBuffers[amp];
        written = true;
    }
    return {Request::FlashWrite,
            parameterChange(kGroupFIR, kParamFlashWriteReply, amp, written ? kReplyOK : kReplyFailed)};
}

Exchange AmpModel::handleInitIrData() {
    for (int slot = 0; slot < AmpState::kSlots; ++slot)
        m_State.firSlots[slot] = stockCabinet(slot);
    for (int amp = 0; amp < ampCount(m_State.model); ++amp)
        m_State.playBuffers[amp] = m_State.firSlots[m_State.currentSlot(amp)];
    return {Request::InitIrData, parameterChange(kGroupFIR, kParamInitReply, 0, 0)};
}

bool AmpModel::ownsSlot(int amp, int slot) const {
    return m_State.hasAmp(amp) && slot >= AmpState::slotOf(amp, 0) && slot < AmpState::slotOf(amp + 1, 0);
}

Exchange AmpModel::handleDumpRequest(std::span<const uint8_t> message) {
    if (message.size() != kDumpRequestSize || !startsWith(message.subspan(kTagOffset), kBodyTag))
        return {};
    const int block = dumpIndex(message.data() + kDumpRequestNameOffset);
    if (block < 0 || (block != kDumpEffectData && !m_State.hasAmp(block / AmpState::kAmpTypes)))
        return {};
    Bytes reply = block == kDumpEffectData ? effectDump() : firHeaderDump(block);
    if (m_Faults.corruptDumps > 0) {
        --m_Faults.corruptDumps;
        uint8_t& checksumByte = reply[reply.size() - 2];
        checksumByte = (checksumByte + 1) & 0x7F;
    }
    return {Request::Dump, std::move(reply)};
}

Bytes AmpModel::effectDump() const {
    static constexpr uint8_t kReserved[kBlockReservedSize] = {0x00, 0x00, 0x7F, 0x7F};
    const Bytes body = dumpBody(kDumpEffectData, kReserved, m_State.effectBlock);
    return bulkDump(body.data(), body.size());
}

// The stored name travels as it is, 64 bytes with its terminator; SysEx can only carry 7-bit
// bytes, so a name byte above 0x7F (which the editor never sends) loses its top bit.
Bytes AmpModel::firHeaderDump(int slot) const {
    static constexpr uint8_t kReserved[kBlockReservedSize] = {0x00, 0x00, 0x00, 0x00};
    const FIRCOE& record = m_State.firSlots[slot];
    Bytes data(FIRCOE::kNameSize);
    std::transform(std::begin(record.name), std::end(record.name), data.begin(),
                   [](char c) { return static_cast<uint8_t>(c) & 0x7F; });
    const uint16_t gain = static_cast<uint16_t>(record.gain);
    data.push_back(high7(gain));
    data.push_back(low7(gain));
    const Bytes body = dumpBody(slot, kReserved, data);
    return bulkDump(body.data(), body.size());
}

// Every packet is answered, so the editor's wait always ends: refused (data 2 = 1) when it is
// damaged or does not fit, in which case the play buffer keeps what it had.
Exchange AmpModel::handleCoefficientPacket(std::span<const uint8_t> message) {
    if (message.size() < kPacketPayloadOffset + 2 ||
        !startsWith(message.subspan(kBulkHeaderSize), kBodyTag) ||
        !startsWith(message.subspan(kBulkHeaderSize + sizeof kBodyTag), kPacketTag))
        return {};
    const int amp = join14(message[kPacketAmpOffset], message[kPacketAmpOffset + 1]);
    const bool stored = storeCoefficientPacket(message, amp);
    return {Request::CoefficientPacket,
            parameterChange(kGroupFIR, kParamPacketReply, low7(amp), stored ? kReplyOK : kReplyFailed)};
}

bool AmpModel::storeCoefficientPacket(std::span<const uint8_t> message, int amp) {
    const size_t bodySize = join14(message[4], message[5]);
    if (message.size() != bodySize + kBulkFrameOverhead ||
        !checksumMatches(message.data() + kBulkHeaderSize, bodySize, message[kBulkHeaderSize + bodySize]))
        return false;
    const size_t packet = join14(message[kPacketNumberOffset], message[kPacketNumberOffset + 1]);
    if (packet >= kPacketCount || m_Faults.rejectedPackets[packet] || !m_State.hasAmp(amp))
        return false;
    const size_t offset = packet * kPacketPayloadSize;
    const size_t length = std::min(kPacketPayloadSize, kRecordSize - offset);
    const size_t packedLength = bodySize - kPacketHeaderSize;
    if (packedLength != packedSize(length))
        return false;
    uint8_t payload[kPacketPayloadSize + 7];
    unpack7(message.data() + kPacketPayloadOffset, packedLength, payload);
    std::memcpy(reinterpret_cast<uint8_t*>(&m_State.playBuffers[amp]) + offset, payload, length);
    return true;
}

}  // namespace velk::sim
