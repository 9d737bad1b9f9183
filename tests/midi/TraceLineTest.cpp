#include "midi/TraceLog.h"

#include <gtest/gtest.h>

#include <ctime>

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

}  // namespace
