#include "strings/StringTable.h"

#include <gtest/gtest.h>

#include "common/ErrorCodes.h"
#include "strings/TextTable.h"

namespace {

using velk::strings::fillIn;
using velk::strings::textOf;

TEST(StringTable, everyErrorCodeHasEnglishTextAndAMissingKeyShowsItself) {
    for (int code = mstd::eErr_MIDIOpen; code <= mstd::eErr_Unknown; ++code) {
        const QString text = velk::strings::errorText(code);
        EXPECT_FALSE(text.isEmpty()) << code;
        EXPECT_FALSE(text.startsWith(QStringLiteral("Err_")))
            << code << " shows its key: " << text.toStdString();
    }
    EXPECT_EQ(velk::strings::text("No_Such_Key"), QStringLiteral("No_Such_Key"));
}

TEST(StringTable, keepsTheTextsOfTheTableAsWritten) {
    EXPECT_EQ(textOf("Menu_Quit"), "&Quit");
    EXPECT_EQ(textOf("Cli_Err_NoMidiService").substr(0, 37), "no MIDI service could be opened: %1.\n");
    EXPECT_TRUE(textOf("Cli_Err_NoMidiService").ends_with("--midi alsa|jack."));
}

TEST(StringTable, fillInPutsEachArgumentAtItsMarker) {
    const struct {
        const char* pattern;
        std::vector<std::string> arguments;
        const char* filled;
    } fillings[] = {{"no amplifier on %1 within %3 ms: no \"%2\"",
                     {"jack", "Velk", "500"},
                     "no amplifier on jack within 500 ms: no \"Velk\""},
                    {"%1 and %2", {"%2", "b"}, "%2 and b"},  // an argument is never filled in itself
                    {"%1 of %2", {"3"}, "3 of %2"},
                    {"100% at %10", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, "100% at j"}};
    for (const auto& f : fillings)
        EXPECT_EQ(fillIn(f.pattern, f.arguments), f.filled) << f.pattern;
}

}  // namespace
