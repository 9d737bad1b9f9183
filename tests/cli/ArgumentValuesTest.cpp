#include "cli/ArgumentValues.h"

#include <gtest/gtest.h>

#include "cli/ArgumentParser.h"
#include "common/VelkManager.h"

namespace {

using namespace velk::cli;

struct GainCase {
    const char* text;
    int16_t word;  // 0: refused

    friend void PrintTo(const GainCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class GainArgument : public testing::TestWithParam<GainCase> {};

// Only the gain knob's own steps, so the word sent is one the panel could have sent.
TEST_P(GainArgument, takesTheKnobsStepsOnly) {
    if (GetParam().word != 0) {
        EXPECT_EQ(parseGainWord(GetParam().text), GetParam().word);
        return;
    }
    try {
        parseGainWord(GetParam().text);
        FAIL() << "accepted";
    } catch (const UsageError& error) {
        EXPECT_EQ(error.key, "Cli_Err_BadGain");
        EXPECT_EQ(error.argument, GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, GainArgument,
                         testing::Values(GainCase{"-30", 518}, GainCase{"-20", 1638}, GainCase{"-12", 4115},
                                         GainCase{"-10", 5181}, GainCase{"-6", 8211}, GainCase{"-3.0", 11598},
                                         GainCase{"-0.5", 15467}, GainCase{"0", 16383}, GainCase{"-0", 16383},
                                         GainCase{"-9.5", CVelkManager::shortGain(-9.5)},
                                         GainCase{"-12.5", 0}, GainCase{"-10.25", 0}, GainCase{"-31", 0},
                                         GainCase{"0.5", 0}, GainCase{"6", 0}, GainCase{"+3", 0},
                                         GainCase{" -6", 0}, GainCase{"-6dB", 0}, GainCase{"", 0},
                                         GainCase{"loud", 0}, GainCase{"nan", 0}, GainCase{"-inf", 0}));

TEST(AmpArgument, isOneOrTwo) {
    EXPECT_EQ(parseAmp("1"), 0);
    EXPECT_EQ(parseAmp("2"), 1);
    for (const char* text : {"0", "3", "01", "I", "II", "", "-1"})
        EXPECT_THROW(parseAmp(text), UsageError) << text;
}

TEST(WholeNumberArgument, staysInItsRange) {
    EXPECT_EQ(parseWholeNumber("0", 0, 3, "Key"), 0);
    EXPECT_EQ(parseWholeNumber("3", 0, 3, "Key"), 3);
    for (const char* text : {"4", "-1", "1.0", "1 ", "x", "", "99999999999999999999"})
        EXPECT_THROW(parseWholeNumber(text, 0, 3, "Key"), UsageError) << text;
}

TEST(WordArgument, isTheIndexOfTheWord) {
    EXPECT_EQ(parseWord("amber", boosterWords(), "Key"), 2);
    EXPECT_EQ(parseWord("hall", reverbWords(), "Key"), 3);
    EXPECT_THROW(parseWord("Amber", boosterWords(), "Key"), UsageError);
}

}  // namespace
