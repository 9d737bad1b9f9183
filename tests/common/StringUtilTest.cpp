#include "common/StringUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(AdjustUTF8String, replacesEachMultiByteCharacterWithOneQuestionMarkAndZeroFills) {
    const struct {
        std::string source;
        std::string expected;  // all of the destination
    } table[] = {
        {"abcdef", "abc"},                            // cut without a terminator
        {"\xC3\xA9\x31", "?1\0\0"s},                  // two-byte character
        {"", "\0\0\0"s},                              // empty source
        {"\xE2\x82\xAC\xF0\x9F\x8E\xB8x", "??x\0"s},  // three- and four-byte characters
        {"a\xE2\x82", "a\xE2\x82\0"s},                // truncated sequence keeps its bytes
        {"\x80z", "\x80z\0"s},                        // stray continuation passes through
        {"\xC3"s, "\xC3\0"s},                         // sequence cut by the length
        {"\xC3\x41", "\xC3\x41\0"s},                  // lead byte followed by ASCII
    };
    for (const auto& [source, expected] : table) {
        std::string dest(expected.size(), '\x55');
        mstd::adjustUTF8String(dest.data(), static_cast<int32_t>(dest.size()), source.data(),
                               static_cast<int32_t>(source.size()));
        EXPECT_EQ(dest, expected) << testing::PrintToString(source);
    }
}

TEST(AdjustUTF8String, convertsInPlaceAndWritesNothingToAnEmptyDestination) {
    char buffer[6] = {'\xC3', '\xA9', 'a', 'b', '\xC3', '\xA9'};
    mstd::adjustUTF8String(buffer, 6);
    EXPECT_EQ(std::string(buffer, 6), "?ab?\0\0"s);
    char guard = 'g';
    mstd::adjustUTF8String(&guard, 0, "abc", 3);
    EXPECT_EQ(guard, 'g');
}

}  // namespace
