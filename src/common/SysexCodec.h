#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The amplifier's System Exclusive wire format, shared by the editor and the amplifier simulator.
// Pure functions of bytes: no state, no transport.
namespace velk::sysex {

// Framing bytes.
constexpr uint8_t kStart = 0xF0;
constexpr uint8_t kEnd = 0xF7;
constexpr uint8_t kLeadIn[3] = {0xF0, 0x43, 0x7D};
constexpr size_t kLeadInSize = 3;

// Message type byte (offset 3); only its high nibble names the kind.
constexpr uint8_t kTypeBulkDump = 0x00;
constexpr uint8_t kTypeParameterChange = 0x10;
constexpr uint8_t kTypeDumpRequest = 0x20;
constexpr uint8_t kTypeHeartBeat = 0x60;
constexpr uint8_t kTypeMask = 0xF0;

// Tags at offset 4: every bulk body and dump request ("XHD2"), parameter changes ("X2"), the
// heartbeat reply ("XHD" followed by the model byte), and the coefficient packet's body after
// the bulk tag ("FIRC").
constexpr uint8_t kBodyTag[4] = {0x58, 0x48, 0x44, 0x32};
constexpr uint8_t kParameterChangeTag[2] = {0x58, 0x32};
constexpr uint8_t kHeartBeatTag[3] = {0x58, 0x48, 0x44};
constexpr uint8_t kPacketTag[4] = {'F', 'I', 'R', 'C'};

// Heartbeat reply model byte.
constexpr uint8_t kModelSingleAmp = 0x31;
constexpr uint8_t kModelDualAmp = 0x32;

// Parameter change groups and the parameter numbers of each direction.
constexpr uint8_t kGroupEffect = 0x00;
constexpr uint8_t kGroupFIR = 0x04;
constexpr uint8_t kGroupSystem = 0x70;

constexpr uint8_t kParamAmpIAmpType = 0x40;   // amplifier to editor
constexpr uint8_t kParamAmpIIAmpType = 0x48;  // amplifier to editor
constexpr uint8_t kParamSendConnection = 0x05;
constexpr uint8_t kParamReturnConnection = 0x06;

constexpr uint8_t kParamSelectFIR = 0x00;
constexpr uint8_t kParamAmpIFIRName = 0x03;
constexpr uint8_t kParamAmpIFIRGain = 0x04;
constexpr uint8_t kParamAmpIIFIRName = 0x05;
constexpr uint8_t kParamAmpIIFIRGain = 0x06;
constexpr uint8_t kParamFlashWrite = 0x07;
constexpr uint8_t kParamInitFIRData = 0x08;
constexpr uint8_t kParamPacketReply = 0x42;      // amplifier to editor
constexpr uint8_t kParamFlashWriteReply = 0x47;  // amplifier to editor
constexpr uint8_t kParamInitReply = 0x48;        // amplifier to editor

constexpr uint8_t kParamHeartBeat = 0x01;
constexpr uint8_t kParamMainVersionRequest = 0x21;
constexpr uint8_t kParamMainVersionReply = 0x61;  // amplifier to editor

// Replies to coefficient packets and flash writes carry this in data 2.
constexpr uint8_t kReplyOK = 0;
constexpr uint8_t kReplyFailed = 1;

// Message sizes.
constexpr size_t kParameterChangeSize = 11;
constexpr size_t kDumpRequestSize = 13;
constexpr size_t kBulkHeaderSize = 6;     // lead-in, type, two size bytes
constexpr size_t kBulkFrameOverhead = 8;  // header, checksum, end byte
constexpr size_t kHeartBeatReplySize = 9;

// Dump blocks: the index of a dump request is the block it asks for.
constexpr int kDumpCount = 11;
constexpr int kDumpEffectData = 10;
constexpr size_t kEffectBlockSize = 16;
constexpr size_t kEffectDumpBodySize = 28;     // tag, name, 4 reserved bytes, block
constexpr size_t kFIRHeaderDumpBodySize = 78;  // tag, name, 4 reserved bytes, 64-byte name, gain
constexpr size_t kEffectDumpSize = kEffectDumpBodySize + kBulkFrameOverhead;
constexpr size_t kFIRHeaderDumpSize = kFIRHeaderDumpBodySize + kBulkFrameOverhead;

// Coefficient packets: 448 payload bytes (64 groups of seven) travel packed in 512.
constexpr size_t kPacketHeaderSize = 12;  // "XHD2FIRC", packet number, amp
constexpr size_t kPacketPayloadSize = 448;
constexpr size_t kPacketCount = 10;
constexpr size_t kMaxPacketMessageSize = 532;

// (−sum of the bytes) & 0x7F: appended to a bulk body, it makes body + checksum ≡ 0 mod 128.
uint8_t checksum(const uint8_t* bytes, size_t length);
// True when bytes plus the checksum that follows them sum to 0 mod 128.
bool checksumMatches(const uint8_t* bytes, size_t length, uint8_t checksum);

// 7-bit packing: each group of seven 8-bit bytes becomes their low seven bits followed by one
// byte of their top bits (bit 6 = top bit of the first byte ... bit 0 = of the seventh). A last
// partial group is packed as if padded with zero bytes.
size_t packedSize(size_t unpackedLength);
size_t pack7(const uint8_t* in, size_t length, uint8_t* out);  // returns bytes written
// The inverse; a trailing group of fewer than eight bytes is not a group and is ignored.
size_t unpackedSize(size_t packedLength);
size_t unpack7(const uint8_t* in, size_t length, uint8_t* out);  // returns bytes written

// A 14-bit value on the wire: bits 13..7 first, then bits 6..0.
uint8_t high7(uint32_t value);
uint8_t low7(uint32_t value);
uint16_t join14(uint8_t high, uint8_t low);  // ignores each byte's top bit

// Lead-in check and the message kind (type byte's high nibble); false/0xFF when too short.
bool hasLeadIn(const uint8_t* message, size_t length);
uint8_t messageKind(const uint8_t* message, size_t length);

// The four-byte block name of dump index 0..10 ("FHL0".."FHL4", "FHR0".."FHR4", "UTIL");
// false for any other index.
bool dumpName(int index, uint8_t out[4]);
// The index whose dump name is `name`, or -1.
int dumpIndex(const uint8_t name[4]);

// Writes the eleven bytes of a parameter change.
void writeParameterChange(uint8_t* out, uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2);
// Writes the bulk frame header (lead-in, type, 14-bit body size); returns kBulkHeaderSize.
size_t writeBulkHeader(uint8_t* out, uint16_t bodySize);
// A whole bulk dump around `body`: header, body, checksum, end byte.
std::vector<uint8_t> bulkDump(const uint8_t* body, size_t bodySize);

}  // namespace velk::sysex
