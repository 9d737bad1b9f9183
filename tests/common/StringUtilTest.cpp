#include "common/StringUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct AdjustCase {
    const char* label;
    std::string source;
    int32_t destSize;
    std::string expected;  // all destSize bytes

    friend void PrintTo(const AdjustCase& c, std::ostream* os) { *os << c.label; }
};

class AdjustUTF8String : public testing::TestWithParam<AdjustCase> {};

TEST_P(AdjustUTF8String, convertsAsSpecifiedBytes) {
    const AdjustCase& c = GetParam();
    std::string dest(static_cast<size_t>(c.destSize), '\x55');
    mstd::adjustUTF8String(dest.data(), c.destSize, c.source.data(), static_cast<int32_t>(c.source.size()));
    EXPECT_EQ(dest, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdjustUTF8String,
    testing::Values(
        AdjustCase{"cutsAsciiWithoutTerminator", "abcdef", 3, "abc"},
        AdjustCase{"eAcuteBecomesOneQuestionMark",
                   "\xC3\xA9"
                   "1",
                   4, std::string("?1\0\0", 4)},
        AdjustCase{"emptySourceZeroFills", "", 3, std::string(3, '\0')},
        AdjustCase{"threeAndFourByteCharacters", "\xE2\x82\xAC\xF0\x9F\x8E\xB8x", 4, std::string("??x\0", 4)},
        AdjustCase{"truncatedSequenceKeepsLeadByte", "a\xE2\x82", 4, std::string("a\xE2\x82\0", 4)},
        AdjustCase{"strayContinuationPassesThrough", "\x80z", 3, std::string("\x80z\0", 3)},
        AdjustCase{"sequenceCutByLengthIsNotACharacter", std::string("\xC3", 1), 2, std::string("\xC3\0", 2)},
        AdjustCase{"leadFollowedByAsciiKeepsBoth",
                   "\xC3"
                   "A",
                   3,
                   std::string("\xC3"
                               "A\0",
                               3)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(AdjustUTF8StringInPlace, replacesMultiByteCharactersAndZeroFillsTheTail) {
    char buffer[6] = {'\xC3', '\xA9', 'a', 'b', '\xC3', '\xA9'};
    mstd::adjustUTF8String(buffer, 6);
    EXPECT_EQ(std::string(buffer, 6), std::string("?ab?\0\0", 6));
}

TEST(AdjustUTF8StringSizes, zeroDestinationWritesNothing) {
    char guard = 'g';
    mstd::adjustUTF8String(&guard, 0, "abc", 3);
    EXPECT_EQ(guard, 'g');
}

}  // namespace
