#include "sim/SysexAssembler.h"

#include <gtest/gtest.h>

#include <vector>

namespace velk::sim {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> assemble(const std::vector<Bytes>& deliveries) {
    SysexAssembler assembler;
    std::vector<Bytes> messages;
    for (const Bytes& delivery : deliveries)
        assembler.feed(delivery,
                       [&](std::span<const uint8_t> m) { messages.emplace_back(m.begin(), m.end()); });
    return messages;
}

Bytes sysex(size_t length, uint8_t filler) {
    Bytes message(length, filler);
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

TEST(SysexAssembler, cutsStreamIntoMessagesAsAMidiInputDoes) {
    const struct {
        const char* name;
        std::vector<Bytes> deliveries;
        std::vector<Bytes> messages;
    } cases[] = {
        {"twoInOneDelivery",
         {{0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7}},
         {{0xF0, 0x01, 0xF7}, {0xF0, 0x02, 0xF7}}},
        {"splitAcrossDeliveries", {{0xF0, 0x43}, {0x7D}, {0x10, 0xF7}}, {{0xF0, 0x43, 0x7D, 0x10, 0xF7}}},
        {"realTimeBytesInside", {{0xF0, 0xF8, 0x01, 0xFE, 0xF7}}, {{0xF0, 0x01, 0xF7}}},
        {"statusByteAbandonsMessage", {{0xF0, 0x01, 0x90, 0x40, 0x7F, 0xF7}}, {}},
        {"dataOutsideMessageIgnored", {{0x01, 0x02, 0xF7, 0xF0, 0x03, 0xF7}}, {{0xF0, 0x03, 0xF7}}},
        {"secondStartRestarts", {{0xF0, 0x01, 0xF0, 0x02, 0xF7}}, {{0xF0, 0x02, 0xF7}}},
        {"unfinishedMessageNotDelivered", {{0xF0, 0x01, 0x02}}, {}},
        {"dropsMessageLongerThanItsBufferAndRecovers",
         {sysex(SysexAssembler::kMaxMessageSize + 1, 0x01), sysex(SysexAssembler::kMaxMessageSize, 0x02)},
         {sysex(SysexAssembler::kMaxMessageSize, 0x02)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(assemble(c.deliveries), c.messages) << c.name;
}

}  // namespace
}  // namespace velk::sim
