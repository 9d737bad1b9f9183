#include "strings/StringTable.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include "common/ErrorCodes.h"

namespace {

class StringTable : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "strings_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        ASSERT_TRUE(velk::strings::install());
    }
};

TEST_F(StringTable, everyErrorCodeHasEnglishText) {
    for (int code = mstd::eErr_MIDIOpen; code <= mstd::eErr_Unknown; ++code) {
        const QString text = velk::strings::errorText(code);
        EXPECT_FALSE(text.isEmpty()) << code;
        EXPECT_FALSE(text.startsWith(QStringLiteral("Err_"))) << code << " shows its key: " << text.toStdString();
    }
}

TEST_F(StringTable, missingKeyShowsTheKey) {
    EXPECT_EQ(velk::strings::text("No_Such_Key"), QStringLiteral("No_Such_Key"));
}

}  // namespace
