#include "midi/TraceLog.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using midi::TraceDirection;
using Bytes = std::vector<uint8_t>;

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

}  // namespace
