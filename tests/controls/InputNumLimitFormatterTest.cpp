#include "controls/InputNumLimitFormatter.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>

#include "helper/QtTestApp.h"

namespace {

TEST(Formatter, countsUtf8BytesAndRefusesNonAsciiWhenAsked) {
    struct Case {
        const char* name;
        int32_t maxLength;
        bool onlyRoman;
        const char* utf8;
        bool accepted;
    };
    const Case cases[] = {
        {"four letters fit four bytes", 4, false, "abcd", true},
        {"five do not", 4, false, "abcde", false},
        {"an accented letter counts two", 4, false, "\303\251ab", true},
        {"so three more letters do not fit", 4, false, "\303\251abc", false},
        {"three kana fit ten bytes", 10, false, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86", true},
        {"four do not", 10, false, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88", false},
        {"ASCII only takes ASCII", INT32_MAX, true, "abc", true},
        {"but no accent", INT32_MAX, true, "ab\xC3\xA9", false},
        {"and the empty text", INT32_MAX, true, "", true},
        {"a negative limit is none", -1, false, "a long name well past any small limit", true},
        {"a zero limit takes only the empty text", 0, false, "a", false},
    };
    for (const Case& c : cases) {
        InputNumLimitFormatter formatter;
        formatter.setMaxLength(c.maxLength);
        formatter.setOnlyRoman(c.onlyRoman);
        EXPECT_EQ(formatter.isPartialStringValid(QString::fromUtf8(c.utf8)), c.accepted) << c.name;
    }
    EXPECT_TRUE(InputNumLimitFormatter().isPartialStringValid(QString::fromUtf8("\xE2\x82\xAC any text")))
        << "unconfigured, any text";
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
