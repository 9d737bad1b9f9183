#include "strings/StringTable.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

#include "common/ErrorCodes.h"

namespace {

TEST(StringTable, everyErrorCodeHasEnglishTextAndAMissingKeyShowsItself) {
    static int argc = 1;
    static char name[] = "strings_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    ASSERT_TRUE(velk::strings::install());
    for (int code = mstd::eErr_MIDIOpen; code <= mstd::eErr_Unknown; ++code) {
        const QString text = velk::strings::errorText(code);
        EXPECT_FALSE(text.isEmpty()) << code;
        EXPECT_FALSE(text.startsWith(QStringLiteral("Err_")))
            << code << " shows its key: " << text.toStdString();
    }
    EXPECT_EQ(velk::strings::text("No_Such_Key"), QStringLiteral("No_Such_Key"));
}

}  // namespace
