#include "common/SysexMeaning.h"

#include <algorithm>
#include <cstdio>

#include "common/SysexCodec.h"

namespace velk::sysex {

namespace {

constexpr size_t kTagOffset = kLeadInSize + 1;
constexpr size_t kDumpRequestNameOffset = kTagOffset + sizeof kBodyTag;
constexpr size_t kBulkBodyOffset = kBulkHeaderSize;
constexpr size_t kBulkNameOffset = kBulkBodyOffset + sizeof kBodyTag;
constexpr size_t kPacketNumberOffset = 14;
constexpr size_t kPacketAmpOffset = 16;
constexpr size_t kHeartBeatModelOffset = 7;
constexpr uint8_t kAmpIIEffectBase = 8;

// Parameter numbers of one amp's bytes in the effect block, and their keys.
constexpr const char* kEffectKeys[] = {
    nullptr,           "Sysex_Booster",        "Sysex_FxLoop",          "Sysex_Reverb",
    "Sysex_NoiseGate", "Sysex_SendConnection", "Sysex_ReturnConnection"};
constexpr uint8_t kSendConnectionByte = 5;

std::string number(int value) {
    return std::to_string(value);
}

std::string hexByte(uint8_t value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

std::string ampName(int amp) {
    return amp == 0 ? "I" : amp == 1 ? "II" : number(amp);
}

bool hasTag(std::span<const uint8_t> message, size_t offset, std::span<const uint8_t> tag) {
    return message.size() >= offset + tag.size() &&
           std::equal(tag.begin(), tag.end(), message.begin() + offset);
}

bool isWholeMessage(std::span<const uint8_t> message) {
    return message.size() >= 2 && message.front() == kStart && message.back() == kEnd;
}

Meaning unknown() {
    return {"Sysex_Unknown", {}};
}

Meaning heartBeatReply(std::span<const uint8_t> message) {
    if (message.size() != kHeartBeatReplySize || !hasTag(message, kTagOffset, kHeartBeatTag))
        return unknown();
    const uint8_t model = message[kHeartBeatModelOffset];
    if (model == kModelSingleAmp)
        return {"Sysex_HeartBeatSingle", {}};
    if (model == kModelDualAmp)
        return {"Sysex_HeartBeatDual", {}};
    return {"Sysex_HeartBeatOther", {hexByte(model)}};
}

Meaning dumpRequest(std::span<const uint8_t> message) {
    if (message.size() != kDumpRequestSize || !hasTag(message, kTagOffset, kBodyTag) ||
        dumpIndex(message.data() + kDumpRequestNameOffset) < 0)
        return unknown();
    return {"Sysex_DumpRequest",
            {std::string(message.begin() + kDumpRequestNameOffset,
                         message.begin() + kDumpRequestNameOffset + 4)}};
}

Meaning systemParameter(uint8_t parameter, uint8_t data1, uint8_t data2) {
    switch (parameter) {
        case kParamHeartBeat:
            return {"Sysex_HeartBeat", {}};
        case kParamMainVersionRequest:
            return {"Sysex_MainVersionRequest", {}};
        case kParamMainVersionReply:
            return {"Sysex_MainVersion", {number(join14(data1, data2))}};
        default:
            return unknown();
    }
}

Meaning effectParameter(uint8_t parameter, uint8_t value) {
    if (parameter == kParamAmpIAmpType || parameter == kParamAmpIIAmpType)
        return {"Sysex_AmpTypeChanged", {ampName(parameter == kParamAmpIIAmpType), number(value)}};
    const uint8_t setting = parameter % kAmpIIEffectBase;
    const int amp = parameter / kAmpIIEffectBase;
    if (setting == 0 || setting >= std::size(kEffectKeys) || amp > 1)
        return unknown();
    if (setting >= kSendConnectionByte)  // settings of the whole head, not of an amp
        return {kEffectKeys[setting], {number(value)}};
    return {kEffectKeys[setting], {ampName(amp), number(value)}};
}

std::string printable(uint8_t character) {
    return character >= 0x20 && character < 0x7F ? std::string(1, static_cast<char>(character))
                                                 : "0x" + hexByte(character);
}

}  // namespace

Meaning CSysexInterpreter::interpret(std::span<const uint8_t> message) {
    if (!isWholeMessage(message))
        return {};
    if (!hasLeadIn(message.data(), message.size()))
        return unknown();
    switch (messageKind(message.data(), message.size())) {
        case kTypeHeartBeat:
            return heartBeatReply(message);
        case kTypeDumpRequest:
            return dumpRequest(message);
        case kTypeParameterChange:
            return interpretParameterChange(message);
        case kTypeBulkDump:
            return interpretBulkDump(message);
        default:
            return unknown();
    }
}

Meaning CSysexInterpreter::interpretParameterChange(std::span<const uint8_t> message) {
    if (message.size() != kParameterChangeSize || !hasTag(message, kTagOffset, kParameterChangeTag))
        return unknown();
    const uint8_t group = message[6], parameter = message[7], data1 = message[8], data2 = message[9];
    switch (group) {
        case kGroupSystem:
            return systemParameter(parameter, data1, data2);
        case kGroupEffect:
            return effectParameter(parameter, data2);
        case kGroupFIR:
            return interpretFirParameter(parameter, data1, data2);
        default:
            return unknown();
    }
}

Meaning CSysexInterpreter::interpretFirParameter(uint8_t parameter, uint8_t data1, uint8_t data2) {
    const std::string packets = number(static_cast<int>(kPacketCount));
    switch (parameter) {
        case kParamSelectFIR:
            return {"Sysex_SelectStoredIr", {ampName(data1), number(data2)}};
        case kParamAmpIFIRName:
        case kParamAmpIIFIRName:
            return {"Sysex_IrNameCharacter",
                    {ampName(parameter == kParamAmpIIFIRName), number(data1), printable(data2)}};
        case kParamAmpIFIRGain:
        case kParamAmpIIFIRGain:
            return {"Sysex_IrGain", {ampName(parameter == kParamAmpIIFIRGain), number(join14(data1, data2))}};
        case kParamFlashWrite:
            return {"Sysex_FlashWrite", {ampName(data1), number(data2)}};
        case kParamInitFIRData:
            return {"Sysex_InitIrData", {}};
        case kParamPacketReply:
            return {data2 == kReplyOK ? "Sysex_PacketAccepted" : "Sysex_PacketRejected",
                    {m_LastPacket < 0 ? "?" : number(m_LastPacket + 1), packets}};
        case kParamFlashWriteReply:
            return {data2 == kReplyOK ? "Sysex_FlashWriteDone" : "Sysex_FlashWriteFailed", {}};
        case kParamInitReply:
            return {"Sysex_IrDataInitialized", {}};
        default:
            return unknown();
    }
}

Meaning CSysexInterpreter::interpretBulkDump(std::span<const uint8_t> message) {
    if (message.size() < kBulkFrameOverhead + sizeof kBodyTag + 4 ||
        !hasTag(message, kBulkBodyOffset, kBodyTag))
        return unknown();
    const uint8_t* body = message.data() + kBulkBodyOffset;
    const size_t bodySize = message.size() - kBulkFrameOverhead;
    const bool intact = join14(message[4], message[5]) == bodySize &&
                        checksumMatches(body, bodySize, message[message.size() - 2]);
    if (hasTag(message, kBulkNameOffset, kPacketTag) && message.size() > kPacketAmpOffset + 1) {
        m_LastPacket = join14(message[kPacketNumberOffset], message[kPacketNumberOffset + 1]);
        return {intact ? "Sysex_CoefficientPacket" : "Sysex_DamagedCoefficientPacket",
                {number(m_LastPacket + 1), number(static_cast<int>(kPacketCount)),
                 ampName(join14(message[kPacketAmpOffset], message[kPacketAmpOffset + 1]))}};
    }
    if (dumpIndex(message.data() + kBulkNameOffset) < 0)
        return unknown();
    const std::string name(message.begin() + kBulkNameOffset, message.begin() + kBulkNameOffset + 4);
    return {intact ? "Sysex_Dump" : "Sysex_DamagedDump", {name}};
}

}  // namespace velk::sysex
