#include "common/SysexInputAssembler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// The rest of the assembly is tested through the port manager (MIDIManagerTest).
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> assemble(CSysexInputAssembler& assembler, const Bytes& bytes) {
    std::vector<Bytes> messages;
    assembler.feed(bytes, [&](std::span<const uint8_t> message) {
        messages.emplace_back(message.begin(), message.end());
        return true;
    });
    return messages;
}

TEST(SysexInputAssembler, keepsAMessageUpToTheLimitAndDropsALongerOneWhole) {
    CSysexInputAssembler assembler(4);
    EXPECT_EQ(assemble(assembler, {0xF0, 1, 2, 3, 0xF7}), (std::vector<Bytes>{{0xF0, 1, 2, 3, 0xF7}}));
    EXPECT_EQ(assemble(assembler, {0xF0, 1, 2, 3, 4, 0xF7, 0xF0, 5, 0xF7}),
              (std::vector<Bytes>{{0xF0, 5, 0xF7}}));
}

}  // namespace
