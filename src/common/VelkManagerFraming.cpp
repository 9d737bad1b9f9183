#include "common/ErrorCodes.h"
#include "common/MIDIManager.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "common/VelkManagerInternal.h"

#include <algorithm>
#include <cstring>

namespace sysex = velk::sysex;

namespace {

// What a send reports when there is no MIDI port manager to send with.
constexpr uint16_t kNoTransport = 0xFFFF;

uintptr_t address(const uint8_t* pointer) {
    return reinterpret_cast<uintptr_t>(pointer);
}

// Between F0 and F7 only data bytes: a byte of 0x80 or more would end the message early on the
// wire and leave the rest to be read as something else.
bool carriesOnlyDataBytes(const uint8_t* bytes, uint16_t length) {
    return length < 2 || std::all_of(bytes + 1, bytes + length - 1, [](uint8_t byte) { return byte < 0x80; });
}

}  // namespace

void CVelkManager::setDumpReqHeader(int index, uint8_t* out) {
    std::memcpy(out, sysex::kLeadIn, sysex::kLeadInSize);
    out[3] = sysex::kTypeDumpRequest;
    std::memcpy(out + 4, sysex::kBodyTag, sizeof sysex::kBodyTag);
    if (!sysex::dumpName(index, out + 8))
        std::memset(out + 8, 0, 4);
    out[12] = sysex::kEnd;
}

// A failed heartbeat request is not an error: the silence limit judges the connection.
uint16_t CVelkManager::sendParameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2) {
    sysex::writeParameterChange(m_ParamChangeMessage, group, parameter, data1, data2);
    const uint16_t status = mi_sendBuffer(m_ParamChangeMessage, sizeof m_ParamChangeMessage);
    if (status != 0 && m_ExpectedID != eVelkResponse_HeartBeat)
        velk::throwError(mstd::eErr_MIDISend);
    return status;
}

int CVelkManager::calcSum(const uint8_t* data, int first, int last) const {
    if (first > last)
        return 0;
    return sysex::checksum(data + first, static_cast<size_t>(last - first) + 1);
}

int CVelkManager::mi_getBulkDumpHeader(uint8_t* out, uint16_t size) {
    return static_cast<int>(sysex::writeBulkHeader(out, size));
}

// Pads `in` with zero bytes up to a whole group of seven, so it needs that much room.
uint16_t CVelkManager::mi_convToBulkData(uint8_t* out, uint8_t* in, uint16_t inLength, uint8_t* checksum,
                                         const uint8_t* head, uint16_t headLength) {
    std::memcpy(out, head, headLength);
    const size_t padded = (inLength + 6u) / 7u * 7u;
    std::memset(in + inLength, 0, padded - inLength);
    const size_t bodyLength = headLength + sysex::pack7(in, padded, out + headLength);
    *checksum = sysex::checksum(out, bodyLength);
    return static_cast<uint16_t>(bodyLength);
}

uint16_t CVelkManager::mi_sendBulk(uint16_t size, uint8_t* message, uint8_t checksum) {
    mi_getBulkDumpHeader(message, size);
    message[sysex::kBulkHeaderSize + size] = checksum;
    message[sysex::kBulkHeaderSize + size + 1] = sysex::kEnd;
    return mi_sendBuffer(message, static_cast<uint16_t>(size + sysex::kBulkFrameOverhead));
}

// A source outside the transfer range (or longer than a packet) is sent as an empty packet.
uint16_t CVelkManager::mi_sendPacket(uint16_t packetNumber, const uint8_t* source, uint16_t length,
                                     uint16_t amp) {
    const bool inRange = m_SendBegin && length <= sizeof m_PacketData &&
                         address(source) >= address(m_SendBegin) &&
                         address(source) + length <= address(m_SendEnd) + 1;
    if (!inRange)
        length = 0;
    if (length > 0)
        std::memcpy(m_PacketData, source, length);

    std::memcpy(m_PacketHeader, sysex::kBodyTag, sizeof sysex::kBodyTag);
    std::memcpy(m_PacketHeader + 4, sysex::kPacketTag, sizeof sysex::kPacketTag);
    m_PacketHeader[8] = sysex::high7(packetNumber);
    m_PacketHeader[9] = sysex::low7(packetNumber);
    m_PacketHeader[10] = sysex::high7(amp);
    m_PacketHeader[11] = sysex::low7(amp);

    uint8_t checksum = 0;
    const uint16_t size = mi_convToBulkData(m_BulkMessage + sysex::kBulkHeaderSize, m_PacketData, length,
                                            &checksum, m_PacketHeader, sizeof m_PacketHeader);
    return mi_sendBulk(size, m_BulkMessage, checksum);
}

// A malformed message is refused before it reaches the wire; it names no lost amplifier.
uint16_t CVelkManager::mi_sendBuffer(const uint8_t* bytes, uint16_t length) {
    if (!carriesOnlyDataBytes(bytes, length))
        velk::throwError(mstd::eErr_Unknown);
    CMIDIManager* midi = CMIDIManager::instance();
    if (!midi)
        return kNoTransport;
    return static_cast<uint16_t>(midi->sendLongMessage(bytes, length));
}
