#include "midi/TracingMidiService.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sstream>

#include "midi/MessageRecorder.h"
#include "midi/SysexSend.h"
#include "midi/VirtualMidiHub.h"

namespace {

using midi::TraceDirection;
using midi::test::Bytes;
using midi::test::MessageRecorder;

std::chrono::system_clock::time_point localTime(int hour, int minute, int second, int micros) {
    std::tm local{};
    local.tm_year = 124;
    local.tm_mon = 2;
    local.tm_mday = 14;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::microseconds(micros);
}

TEST(TraceLine, showsLocalTimeToTheMicrosecondDirectionAndUppercaseHex) {
    const Bytes heartBeat = {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x70, 0x01, 0x00, 0x00, 0xF7};
    EXPECT_EQ(midi::traceLine(localTime(9, 5, 7, 42), TraceDirection::Out, heartBeat),
              "09:05:07.000042 out F0 43 7D 10 58 32 70 01 00 00 F7");
    EXPECT_EQ(midi::traceLine(localTime(23, 59, 59, 999999), TraceDirection::In, Bytes{0x0A, 0xFF}),
              "23:59:59.999999 in  0A FF");
}

TEST(TracingMidiService, passesMessagesThroughAndTracesBothWays) {
    midi::VirtualMidiHub hub;
    MessageRecorder atDevice;
    MessageRecorder atService;
    auto device = hub.addDevice("VelkSolvo/Dual", [&](const midi::Packet& p) { atDevice.record(p.bytes); });
    std::ostringstream trace;
    midi::TracingMidiService service(hub.openService(), std::make_shared<midi::TraceLog>(trace));
    ASSERT_EQ(
        service.openInput(service.sources().at(0),
                          [&](const midi::PacketList& packets) { atService.record(packets.at(0).bytes); }),
        0);
    ASSERT_EQ(service.openOutput(service.destinations().at(0)), 0);
    const Bytes request = {0xF0, 0x43, 0x7D, 0x20, 0xF7};
    ASSERT_EQ(midi::test::sendSysexAndWait(service, request), 0);
    ASSERT_TRUE(atDevice.waitForCount(1));
    device->send(Bytes{0xF0, 0x43, 0x7D, 0x60, 0xF7});
    ASSERT_TRUE(atService.waitForCount(1));
    const uint8_t clock = 0xF8;
    ASSERT_EQ(service.sendPacket(&clock, 1), 0);
    ASSERT_TRUE(atDevice.waitForCount(2));
    EXPECT_EQ(atDevice.messages(), (std::vector<Bytes>{request, {clock}}));
    EXPECT_EQ(atService.messages(), (std::vector<Bytes>{{0xF0, 0x43, 0x7D, 0x60, 0xF7}}));
    std::istringstream lines(trace.str());
    std::vector<std::string> traced;  // without the time
    for (std::string line; std::getline(lines, line);)
        traced.push_back(line.substr(line.find(' ') + 1));
    EXPECT_EQ(traced, (std::vector<std::string>{"out F0 43 7D 20 F7", "in  F0 43 7D 60 F7", "out F8"}));
}

}  // namespace
