#include "common/SysexCodec.h"

#include <cstring>

namespace velk::sysex {

namespace {

constexpr size_t kGroupIn = 7;
constexpr size_t kGroupOut = 8;

uint32_t sum(const uint8_t* bytes, size_t length) {
    uint32_t total = 0;
    for (size_t i = 0; i < length; ++i)
        total += bytes[i];
    return total;
}

constexpr uint8_t kUtilName[4] = {'U', 'T', 'I', 'L'};
constexpr uint8_t kAmpIHeaderPrefix[3] = {'F', 'H', 'L'};
constexpr uint8_t kAmpIIHeaderPrefix[3] = {'F', 'H', 'R'};
constexpr int kAmpTypeCount = 5;

}  // namespace

uint8_t checksum(const uint8_t* bytes, size_t length) {
    return static_cast<uint8_t>(-sum(bytes, length) & 0x7F);
}

bool checksumMatches(const uint8_t* bytes, size_t length, uint8_t checksum) {
    return ((sum(bytes, length) + checksum) & 0x7F) == 0;
}

size_t packedSize(size_t unpackedLength) {
    return (unpackedLength + kGroupIn - 1) / kGroupIn * kGroupOut;
}

size_t pack7(const uint8_t* in, size_t length, uint8_t* out) {
    size_t written = 0;
    for (size_t group = 0; group < length; group += kGroupIn) {
        uint8_t topBits = 0;
        for (size_t i = 0; i < kGroupIn; ++i) {
            const uint8_t byte = group + i < length ? in[group + i] : 0;
            out[written++] = byte & 0x7F;
            topBits |= static_cast<uint8_t>((byte >> 7) << (kGroupIn - 1 - i));
        }
        out[written++] = topBits;
    }
    return written;
}

size_t unpackedSize(size_t packedLength) {
    return packedLength / kGroupOut * kGroupIn;
}

size_t unpack7(const uint8_t* in, size_t length, uint8_t* out) {
    size_t written = 0;
    for (size_t group = 0; group + kGroupOut <= length; group += kGroupOut) {
        const uint8_t topBits = in[group + kGroupIn];
        for (size_t i = 0; i < kGroupIn; ++i) {
            const uint8_t top = (topBits >> (kGroupIn - 1 - i)) & 1;
            out[written++] = static_cast<uint8_t>((in[group + i] & 0x7F) | (top << 7));
        }
    }
    return written;
}

uint8_t high7(uint32_t value) {
    return (value >> 7) & 0x7F;
}

uint8_t low7(uint32_t value) {
    return value & 0x7F;
}

uint16_t join14(uint8_t high, uint8_t low) {
    return static_cast<uint16_t>(((high & 0x7F) << 7) | (low & 0x7F));
}

bool hasLeadIn(const uint8_t* message, size_t length) {
    return length >= kLeadInSize && std::memcmp(message, kLeadIn, kLeadInSize) == 0;
}

uint8_t messageKind(const uint8_t* message, size_t length) {
    return length > kLeadInSize ? message[kLeadInSize] & kTypeMask : 0xFF;
}

bool dumpName(int index, uint8_t out[4]) {
    if (index == kDumpEffectData) {
        std::memcpy(out, kUtilName, 4);
        return true;
    }
    if (index < 0 || index >= 2 * kAmpTypeCount)
        return false;
    std::memcpy(out, index < kAmpTypeCount ? kAmpIHeaderPrefix : kAmpIIHeaderPrefix, 3);
    out[3] = static_cast<uint8_t>('0' + index % kAmpTypeCount);
    return true;
}

int dumpIndex(const uint8_t name[4]) {
    for (int index = 0; index < kDumpCount; ++index) {
        uint8_t candidate[4];
        dumpName(index, candidate);
        if (std::memcmp(candidate, name, 4) == 0)
            return index;
    }
    return -1;
}

void writeParameterChange(uint8_t* out, uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2) {
    const uint8_t message[kParameterChangeSize] = {kStart,
                                                   kLeadIn[1],
                                                   kLeadIn[2],
                                                   kTypeParameterChange,
                                                   kParameterChangeTag[0],
                                                   kParameterChangeTag[1],
                                                   group,
                                                   parameter,
                                                   data1,
                                                   data2,
                                                   kEnd};
    std::memcpy(out, message, kParameterChangeSize);
}

size_t writeBulkHeader(uint8_t* out, uint16_t bodySize) {
    std::memcpy(out, kLeadIn, kLeadInSize);
    out[3] = kTypeBulkDump;
    out[4] = high7(bodySize);
    out[5] = low7(bodySize);
    return kBulkHeaderSize;
}

std::vector<uint8_t> bulkDump(const uint8_t* body, size_t bodySize) {
    std::vector<uint8_t> message(kBulkHeaderSize);
    message.reserve(bodySize + kBulkFrameOverhead);
    writeBulkHeader(message.data(), static_cast<uint16_t>(bodySize));
    message.insert(message.end(), body, body + bodySize);
    message.push_back(checksum(body, bodySize));
    message.push_back(kEnd);
    return message;
}

}  // namespace velk::sysex
