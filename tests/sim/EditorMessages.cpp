#include "sim/EditorMessages.h"

#include <algorithm>
#include <cstring>

#include "common/SysexCodec.h"

namespace velk::sim::test {

using namespace velk::sysex;

Bytes parameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2) {
    return {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, group, parameter, data1, data2, 0xF7};
}

Bytes heartBeatRequest() {
    return parameterChange(0x70, 0x01, 0, 0);
}

Bytes mainVersionRequest() {
    return parameterChange(0x70, 0x21, 0, 0);
}

Bytes dumpRequest(int index) {
    Bytes message = {0xF0, 0x43, 0x7D, 0x20, 0x58, 0x48, 0x44, 0x32, 0, 0, 0, 0, 0xF7};
    dumpName(index, message.data() + 8);
    return message;
}

Bytes coefficientPacket(int packetNumber, int amp, const uint8_t* payload, size_t length) {
    Bytes body = {
        0x58,       0x48,     0x44, 0x32, 'F', 'I', 'R', 'C', high7(packetNumber), low7(packetNumber),
        high7(amp), low7(amp)};
    const size_t headerSize = body.size();
    body.resize(headerSize + packedSize(length));
    pack7(payload, length, body.data() + headerSize);
    return bulkDump(body.data(), body.size());
}

std::vector<Bytes> coefficientStream(const FIRCOE& record, int amp) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    std::vector<Bytes> packets;
    for (size_t offset = 0, number = 0; offset < sizeof(FIRCOE); offset += 448, ++number)
        packets.push_back(coefficientPacket(static_cast<int>(number), amp, bytes + offset,
                                            std::min<size_t>(448, sizeof(FIRCOE) - offset)));
    return packets;
}

FIRCOE sampleRecord(const char* name, int16_t gain) {
    FIRCOE record{};
    std::strncpy(record.name, name, sizeof record.name - 1);
    record.gain = gain;
    for (size_t n = 0; n < FIRCOE::kCoefficientCount; ++n)
        record.coe[n] = static_cast<int16_t>(32767 - 29 * static_cast<int>(n));
    return record;
}

}  // namespace velk::sim::test
