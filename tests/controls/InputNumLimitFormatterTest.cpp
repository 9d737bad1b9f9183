#include "controls/InputNumLimitFormatter.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>

#include "helper/QtTestApp.h"

namespace {

struct LimitCase {
    const char* name;
    int32_t maxLength;
    bool onlyRoman;
    const char* utf8;
    bool accepted;
};
void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatterTest : public testing::TestWithParam<LimitCase> {};

TEST_P(FormatterTest, countsUtf8BytesAndRefusesNonAsciiWhenAsked) {
    const LimitCase& c = GetParam();
    InputNumLimitFormatter formatter;
    formatter.setMaxLength(c.maxLength);
    formatter.setOnlyRoman(c.onlyRoman);
    EXPECT_EQ(formatter.isPartialStringValid(QString::fromUtf8(c.utf8)), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, FormatterTest,
    testing::Values(
        LimitCase{"fourLettersFitFour", 4, false, "abcd", true},
        LimitCase{"fiveLettersExceedFour", 4, false, "abcde", false},
        LimitCase{"accentedLetterCountsTwo", 4, false,
                  "\xC3\xA9"
                  "ab",
                  true},
        LimitCase{"accentedLetterPlusThreeExceedsFour", 4, false,
                  "\xC3\xA9"
                  "abc",
                  false},
        LimitCase{"tenLettersFitTen", 10, false, "abcdefghij", true},
        LimitCase{"threeKanaFitTen", 10, false, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86", true},
        LimitCase{"fourKanaExceedTen", 10, false, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88", false},
        LimitCase{"romanAcceptsAscii", INT32_MAX, true, "abc", true},
        LimitCase{"romanRefusesAccent", INT32_MAX, true, "ab\xC3\xA9", false},
        LimitCase{"romanAcceptsEmpty", INT32_MAX, true, "", true},
        LimitCase{"negativeLimitIsNoLimit", -1, false, "a long name well past any small limit", true},
        LimitCase{"zeroLimitAcceptsOnlyEmpty", 0, false, "a", false}));

TEST(Formatter, unconfiguredAcceptsAnyText) {
    InputNumLimitFormatter formatter;
    EXPECT_EQ(formatter.maxLength(), INT32_MAX);
    EXPECT_FALSE(formatter.onlyRoman());
    EXPECT_TRUE(formatter.isPartialStringValid(QString::fromUtf8("\xE2\x82\xAC any text at all")));
}

TEST(Formatter, refusedKeystrokeLeavesTheFieldAsItWas) {
    velk::test::application();
    QLineEdit field;
    InputNumLimitFormatter formatter;
    formatter.setMaxLength(3);
    field.setValidator(&formatter);
    QTest::keyClicks(&field, "abcd");
    EXPECT_EQ(field.text(), QStringLiteral("abc"));
}

}  // namespace
