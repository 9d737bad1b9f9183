#pragma once

#include <cstdint>

#include "eLibrary/InputStream.h"

namespace eLibrary {

enum class ByteOrder { LittleEndian, BigEndian };

// A chunk ID as a number whose most significant byte is the ID's first character, so IDs
// compare byte-exactly whatever the file's byte order.
constexpr uint32_t fourCC(const char (&id)[5]) {
    return (uint32_t{static_cast<uint8_t>(id[0])} << 24) | (uint32_t{static_cast<uint8_t>(id[1])} << 16) |
           (uint32_t{static_cast<uint8_t>(id[2])} << 8) | uint32_t{static_cast<uint8_t>(id[3])};
}

inline uint16_t decodeU16(const uint8_t* bytes, ByteOrder order) {
    return order == ByteOrder::LittleEndian ? static_cast<uint16_t>(bytes[0] | (bytes[1] << 8))
                                            : static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

inline uint32_t decodeU32(const uint8_t* bytes, ByteOrder order) {
    const uint32_t b0 = bytes[0], b1 = bytes[1], b2 = bytes[2], b3 = bytes[3];
    return order == ByteOrder::LittleEndian ? b0 | (b1 << 8) | (b2 << 16) | (b3 << 24)
                                            : (b0 << 24) | (b1 << 16) | (b2 << 8) | b3;
}

// What every chunk record begins with: the chunk's ID, its size, and its position, the stream
// offset of its first data byte.
struct ChunkHeader {
    uint32_t chunkID = 0;
    uint32_t chunkSize = 0;
    uint32_t position = 0;

    void record(uint32_t id, uint32_t size, uint32_t pos) {
        chunkID = id;
        chunkSize = size;
        position = pos;
    }
};

// Each reads one number from the stream; false on a short read, leaving `value` untouched.
bool readU16(InputStream& stream, ByteOrder order, uint16_t& value);
bool readU32(InputStream& stream, ByteOrder order, uint32_t& value);
bool readFourCC(InputStream& stream, uint32_t& id);

// Bytes that hold one sample of the given size in bits.
constexpr int32_t bytesPerSample(int32_t bitsPerSample) {
    return (bitsPerSample + 7) / 8;
}

// Stream offsets are signed 32-bit: a position beyond that is refused rather than wrapped.
bool seekFromBegin(InputStream& stream, int64_t position);

}  // namespace eLibrary
