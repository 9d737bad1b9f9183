#include "midi/TraceLog.h"
#include "midi/TracingMidiService.h"
#include "midi/VirtualMidiHub.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sstream>

namespace {

using midi::TraceDirection;
using Bytes = std::vector<uint8_t>;

// `text` as "YYYY-MM-DD HH:MM:SS" in the local time zone.
std::chrono::system_clock::time_point localTime(const char* text, int micros) {
    std::tm local{};
    strptime(text, "%Y-%m-%d %H:%M:%S", &local);
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::microseconds(micros);
}

TEST(TraceLine, showsLocalTimeToTheMicrosecondDirectionAndUppercaseHex) {
    const Bytes heartBeat = {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x70, 0x01, 0x00, 0x00, 0xF7};
    EXPECT_EQ(midi::traceLine(localTime("2024-03-14 09:05:07", 42), TraceDirection::Out, heartBeat),
              "09:05:07.000042 out F0 43 7D 10 58 32 70 01 00 00 F7");
    EXPECT_EQ(
        midi::traceLine(localTime("2024-03-14 23:59:59", 999999), TraceDirection::In, Bytes{0x0A, 0xFF}),
        "23:59:59.999999 in  0A FF");
}

// A message of a few bytes is traced on its way out like a SysEx one.
TEST(TracingMidiService, tracesAShortMessageOut) {
    midi::VirtualMidiHub hub;
    const auto device = hub.addDevice("Head", [](const midi::Packet&) {});
    std::ostringstream trace;
    midi::TracingMidiService service(hub.openService(), std::make_shared<midi::TraceLog>(trace));
    ASSERT_EQ(service.openOutput(service.destinations().at(0)), 0);
    const uint8_t clock = 0xF8;
    ASSERT_EQ(service.sendPacket(&clock, 1), 0);
    EXPECT_EQ(trace.str().substr(trace.str().find(' ')), " out F8\n");
}

}  // namespace
