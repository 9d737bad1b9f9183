#include "AudioUtilities.h"

#include <limits>

namespace eLibrary {

bool readU16(InputStream& stream, ByteOrder order, uint16_t& value) {
    uint8_t bytes[2];
    if (stream.readBuffer(bytes, sizeof bytes) != sizeof bytes)
        return false;
    value = decodeU16(bytes, order);
    return true;
}

bool readU32(InputStream& stream, ByteOrder order, uint32_t& value) {
    uint8_t bytes[4];
    if (stream.readBuffer(bytes, sizeof bytes) != sizeof bytes)
        return false;
    value = decodeU32(bytes, order);
    return true;
}

bool readFourCC(InputStream& stream, uint32_t& id) {
    return readU32(stream, ByteOrder::BigEndian, id);
}

bool seekFromBegin(InputStream& stream, int64_t position) {
    if (position < 0 || position > std::numeric_limits<int32_t>::max())
        return false;
    return stream.seek(static_cast<int32_t>(position), InputStream::SeekBegin);
}

}  // namespace eLibrary
