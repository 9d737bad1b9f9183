#include "sim/SysexAssembler.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace velk::sim {
namespace {

using Bytes = std::vector<uint8_t>;

struct AssemblyCase {
    const char* name;
    std::vector<Bytes> deliveries;
    std::vector<Bytes> messages;
};
void PrintTo(const AssemblyCase& c, std::ostream* os) {
    *os << c.name;
}

class SysexAssemblerTest : public testing::TestWithParam<AssemblyCase> {};

TEST_P(SysexAssemblerTest, cutsStreamIntoMessages) {
    SysexAssembler assembler;
    std::vector<Bytes> messages;
    for (const Bytes& delivery : GetParam().deliveries)
        assembler.feed(delivery,
                       [&](std::span<const uint8_t> m) { messages.emplace_back(m.begin(), m.end()); });
    EXPECT_EQ(messages, GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SysexAssemblerTest,
    testing::Values(
        AssemblyCase{"whole", {{0xF0, 0x43, 0x01, 0xF7}}, {{0xF0, 0x43, 0x01, 0xF7}}},
        AssemblyCase{"twoInOneDelivery",
                     {{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7}},
                     {{0xF0, 0x01, 0xF7}, {0xF0, 0x02, 0xF7}}},
        AssemblyCase{
            "splitAcrossDeliveries", {{0xF0, 0x43}, {0x7D}, {0x10, 0xF7}}, {{0xF0, 0x43, 0x7D, 0x10, 0xF7}}},
        AssemblyCase{"realTimeBytesInside", {{0xF0, 0xF8, 0x01, 0xFE, 0xF7}}, {{0xF0, 0x01, 0xF7}}},
        AssemblyCase{"statusByteAbandonsMessage", {{0xF0, 0x01, 0x90, 0x40, 0x7F, 0xF7}}, {}},
        AssemblyCase{
            "dataOutsideMessageIgnored", {{0x01, 0x02, 0xF7, 0xF0, 0x03, 0xF7}}, {{0xF0, 0x03, 0xF7}}},
        AssemblyCase{"secondStartRestarts", {{0xF0, 0x01, 0xF0, 0x02, 0xF7}}, {{0xF0, 0x02, 0xF7}}},
        AssemblyCase{"unfinishedMessageNotDelivered", {{0xF0, 0x01, 0x02}}, {}}));

TEST(SysexAssembler, dropsMessageLongerThanItsBufferAndRecovers) {
    SysexAssembler assembler;
    Bytes tooLong(SysexAssembler::kMaxMessageSize + 1, 0x01);
    tooLong.front() = 0xF0;
    tooLong.back() = 0xF7;
    Bytes longest(SysexAssembler::kMaxMessageSize, 0x02);
    longest.front() = 0xF0;
    longest.back() = 0xF7;
    std::vector<Bytes> messages;
    const auto collect = [&](std::span<const uint8_t> m) { messages.emplace_back(m.begin(), m.end()); };
    assembler.feed(tooLong, collect);
    assembler.feed(longest, collect);
    EXPECT_EQ(messages, std::vector<Bytes>{longest});
}

}  // namespace
}  // namespace velk::sim
