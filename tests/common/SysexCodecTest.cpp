#include "common/SysexCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace sysex = velk::sysex;

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Checksum, isTheNegatedSumMaskedToSevenBits) {
    const uint8_t bytes[] = {0x01, 0x02, 0x03};
    EXPECT_EQ(sysex::checksum(bytes, 3), 0x7A);
    EXPECT_EQ(sysex::checksum(bytes, 0), 0);
    Bytes body(300);
    std::iota(body.begin(), body.end(), 0);
    const uint8_t sum = sysex::checksum(body.data(), body.size());
    EXPECT_TRUE(sysex::checksumMatches(body.data(), body.size(), sum));
    EXPECT_FALSE(sysex::checksumMatches(body.data(), body.size(), (sum + 1) & 0x7F));
}

TEST(Pack7, movesTopBitsIntoTheEighthByteAndPadsAPartialGroup) {
    const uint8_t in[] = {0x81, 0x02, 0x83, 0x04, 0x05, 0x06, 0xFF, 0x80, 0x7F};
    uint8_t out[16] = {};
    ASSERT_EQ(sysex::pack7(in, 9, out), 16u);
    EXPECT_EQ(Bytes(out, out + 16), (Bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x7F, 0x51,  //
                                           0x00, 0x7F, 0, 0, 0, 0, 0, 0x40}));
}

TEST(Pack7, sizesFollowGroupsOfSeven) {
    EXPECT_EQ(sysex::packedSize(0), 0u);
    EXPECT_EQ(sysex::packedSize(130), 152u);
    EXPECT_EQ(sysex::packedSize(448), 512u);
    EXPECT_EQ(sysex::unpackedSize(152), 133u);
    EXPECT_EQ(sysex::unpackedSize(15), 7u);
}

TEST(Unpack7, restoresWhatPack7WroteInSevenBitBytes) {
    Bytes in(130);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<uint8_t>(i * 37 + 11);
    Bytes packed(sysex::packedSize(in.size()));
    sysex::pack7(in.data(), in.size(), packed.data());
    EXPECT_TRUE(std::all_of(packed.begin(), packed.end(), [](uint8_t byte) { return byte < 0x80; }));
    Bytes unpacked(sysex::unpackedSize(packed.size()));
    ASSERT_EQ(sysex::unpack7(packed.data(), packed.size(), unpacked.data()), 133u);
    in.resize(133, 0);
    EXPECT_EQ(unpacked, in);
}

TEST(Unpack7, ignoresATrailingIncompleteGroup) {
    const uint8_t packed[] = {1, 2, 3, 4, 5, 6, 7, 0x7F, 9, 9, 9};
    uint8_t out[16] = {};
    ASSERT_EQ(sysex::unpack7(packed, sizeof packed, out), 7u);
    EXPECT_EQ(Bytes(out, out + 8), (Bytes{0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0}));
}

// An unpacked header's gain bytes may carry a top bit; it is no part of the value.
TEST(FourteenBit, joinIgnoresEachTopBit) {
    EXPECT_EQ(sysex::join14(0xA8, 0xBD), 5181);
}

TEST(LeadIn, recognisesTheAmplifiersMessages) {
    const uint8_t heartBeat[] = {0xF0, 0x43, 0x7D, 0x61, 0x58, 0x48, 0x44, 0x31, 0xF7};
    const uint8_t other[] = {0xF0, 0x41, 0x7D, 0x60};
    EXPECT_TRUE(sysex::hasLeadIn(heartBeat, sizeof heartBeat));
    EXPECT_EQ(sysex::messageKind(heartBeat, sizeof heartBeat), sysex::kTypeHeartBeat);
    EXPECT_FALSE(sysex::hasLeadIn(other, sizeof other));
    EXPECT_FALSE(sysex::hasLeadIn(heartBeat, 2));
    EXPECT_EQ(sysex::messageKind(heartBeat, 3), 0xFF);
}

TEST(DumpName, namesTheElevenBlocksBothWaysAndNoOther) {
    const std::pair<int, std::string> table[] = {{0, "FHL0"}, {4, "FHL4"}, {5, "FHR0"},
                                                 {7, "FHR2"}, {9, "FHR4"}, {10, "UTIL"}};
    for (const auto& [index, text] : table) {
        uint8_t name[4];
        ASSERT_TRUE(sysex::dumpName(index, name));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(name), 4), text);
        EXPECT_EQ(sysex::dumpIndex(name), index);
    }
    uint8_t name[4];
    EXPECT_FALSE(sysex::dumpName(-1, name));
    EXPECT_FALSE(sysex::dumpName(11, name));
    const uint8_t unknown[4] = {'F', 'H', 'L', '5'};
    EXPECT_EQ(sysex::dumpIndex(unknown), -1);
}

}  // namespace
