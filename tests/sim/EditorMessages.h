#pragma once

#include <cstdint>
#include <vector>

#include "common/FIRCOE.h"

// The editor's side of the conversation, built the way it goes on the wire, so the simulator is
// tested against the protocol rather than against its own code.
namespace velk::sim::test {

using Bytes = std::vector<uint8_t>;

Bytes parameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2);
Bytes heartBeatRequest();
Bytes mainVersionRequest();
Bytes dumpRequest(int index);
// One coefficient packet carrying `length` bytes of `payload`.
Bytes coefficientPacket(int packetNumber, int amp, const uint8_t* payload, size_t length);
// The ten packets that stream `record` into an amp's play buffer.
std::vector<Bytes> coefficientStream(const FIRCOE& record, int amp);

// A record no head ships with: a named ramp with a chosen gain.
FIRCOE sampleRecord(const char* name, int16_t gain);

}  // namespace velk::sim::test
