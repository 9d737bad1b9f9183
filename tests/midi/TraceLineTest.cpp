#include "midi/TraceLog.h"
#include "midi/TracingMidiService.h"
#include "midi/VirtualMidiHub.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sstream>

namespace {

using midi::TraceDirection;
using Bytes = std::vector<uint8_t>;

TEST(TraceLine, showsLocalTimeToTheMicrosecondDirectionAndUppercaseHex) {
    setenv("TZ", "XYZ-3", 1);  // three hours east of UTC, so that a trace in UTC shows
    tzset();
    using namespace std::chrono;
    const sys_days day = 2024y / March / 14;
    const Bytes heartBeat = {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x70, 0x01, 0x00, 0x00, 0xF7};
    EXPECT_EQ(midi::traceLine(day + 6h + 5min + 7s + 42us, TraceDirection::Out, heartBeat),
              "09:05:07.000042 out F0 43 7D 10 58 32 70 01 00 00 F7");
    EXPECT_EQ(midi::traceLine(day + 20h + 59min + 59s + 999999us, TraceDirection::In, Bytes{0x0A, 0xFF}),
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
