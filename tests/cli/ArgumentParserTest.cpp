#include "cli/ArgumentParser.h"

#include <gtest/gtest.h>

#include "cli/ArgumentValues.h"
#include "common/VelkManager.h"

namespace velk::cli {
namespace {

const std::vector<OptionRule> kRules = {{"--channel", true}, {"--json", false}};

// "KEY ARGUMENT" of the UsageError `action` throws, or "accepted".
template <typename Action>
std::string refusal(Action action) {
    try {
        action();
        return "accepted";
    } catch (const UsageError& error) {
        return error.key + " " + error.argument;
    }
}

struct ParseCase {
    const char* label;
    std::vector<std::string> arguments;
    std::vector<std::string> positionals;
    std::map<std::string, std::string> options;
    std::string refusal = "accepted";

    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.label; }
};

class ParseArguments : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseArguments, splitsOptionsFromPositionalsOrNamesTheMistake) {
    ParsedArguments parsed;
    EXPECT_EQ(refusal([&] { parsed = parseArguments(GetParam().arguments, kRules); }), GetParam().refusal);
    EXPECT_EQ(parsed.positionals, GetParam().positionals);
    EXPECT_EQ(parsed.options, GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseArguments,
    testing::Values(
        ParseCase{"valueAfterOption", {"ir.wav", "--channel", "right"}, {"ir.wav"}, {{"--channel", "right"}}},
        ParseCase{"valueWithEquals", {"--channel=left", "ir.wav"}, {"ir.wav"}, {{"--channel", "left"}}},
        ParseCase{"flag", {"--json", "ir.wav"}, {"ir.wav"}, {{"--json", ""}}},
        ParseCase{"doubleDashEndsOptions", {"--", "--json"}, {"--json"}, {}},
        ParseCase{"singleDashIsPositional", {"-"}, {"-"}, {}},
        ParseCase{"valueMayLookLikeAnOption", {"--channel", "--json"}, {}, {{"--channel", "--json"}}},
        ParseCase{"lastRepeatWins", {"--channel", "left", "--channel=right"}, {}, {{"--channel", "right"}}},
        ParseCase{"negativeNumberIsPositional", {"1", "-6", "-0.5", "-.5"}, {"1", "-6", "-0.5", "-.5"}, {}},
        ParseCase{"negativeNumberAsValue", {"--channel", "-3"}, {}, {{"--channel", "-3"}}},
        ParseCase{"unknownOption", {"ir.wav", "--gain", "3"}, {}, {}, "Cli_Err_UnknownOption --gain"},
        ParseCase{"shortUnknownOption", {"-x"}, {}, {}, "Cli_Err_UnknownOption -x"},
        ParseCase{"missingValue", {"ir.wav", "--channel"}, {}, {}, "Cli_Err_MissingValue --channel"},
        ParseCase{"valueGivenToFlag", {"--json=yes"}, {}, {}, "Cli_Err_UnexpectedValue --json"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ParsedArguments, keepsEveryValueOfARepeatedOptionInOrder) {
    const auto parsed = parseArguments({"--channel", "left", "--json", "--channel=right"}, kRules);
    EXPECT_EQ(parsed.values("--channel"), (std::vector<std::string>{"left", "right"}));
    EXPECT_EQ(parsed.values("--json"), std::vector<std::string>{""});
}

TEST(CountLeadingOptions, countsOptionsAndTheirValuesUpToThePositionals) {
    EXPECT_EQ(countLeadingOptions({"--json", "--channel", "left", "show", "--json"}, kRules), 3u);
    EXPECT_EQ(countLeadingOptions({"--channel=left", "--", "--json"}, kRules), 1u);
    EXPECT_EQ(refusal([] {
                  countLeadingOptions({"--gain", "3", "show"}, kRules);
              }),
              "Cli_Err_UnknownOption --gain");
}

TEST(RequirePositionals, namesTheFirstMissingOrExtraArgument) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"1", "a.wav"}, "accepted"},
        {{}, "Cli_Err_MissingArgument AMP"},
        {{"1"}, "Cli_Err_MissingArgument FILE"},
        {{"1", "a.wav", "b.wav"}, "Cli_Err_ExtraArgument b.wav"}};
    for (const auto& [positionals, expected] : cases) {
        ParsedArguments arguments;
        arguments.positionals = positionals;
        EXPECT_EQ(refusal([&] { requirePositionals(arguments, {"AMP", "FILE"}); }), expected);
    }
}

// Only the gain knob's own steps, so the word sent is one the panel could have sent.
TEST(GainArgument, takesTheKnobsStepsOnly) {
    const std::pair<const char*, int16_t> steps[] = {
        {"-30", 518},    {"-20", 1638},
        {"-12", 4115},   {"-10", 5181},
        {"-6", 8211},    {"-3.0", 11598},
        {"-0.5", 15467}, {"0", 16383},
        {"-0", 16383},   {"-9.5", CVelkManager::shortGain(-9.5)}};
    for (const auto& [text, word] : steps)
        EXPECT_EQ(parseGainWord(text), word) << text;
    for (const std::string text :
         {"-12.5", "-10.25", "-31", "0.5", "6", "+3", " -6", "-6dB", "", "loud", "nan", "-inf"})
        EXPECT_EQ(refusal([&] { parseGainWord(text); }), "Cli_Err_BadGain " + text);
}

TEST(ArgumentValues, takeOnlyTheirOwnValues) {
    EXPECT_EQ(parseAmp("1"), 0);
    EXPECT_EQ(parseAmp("2"), 1);
    for (const char* text : {"0", "3", "01", "I", "II", "", "-1"})
        EXPECT_THROW(parseAmp(text), UsageError) << text;
    EXPECT_EQ(parseWholeNumber("0", 0, 3, "Key"), 0);
    EXPECT_EQ(parseWholeNumber("3", 0, 3, "Key"), 3);
    for (const char* text : {"4", "-1", "1.0", "1 ", "x", "", "99999999999999999999"})
        EXPECT_THROW(parseWholeNumber(text, 0, 3, "Key"), UsageError) << text;
    EXPECT_EQ(parseWord("amber", boosterWords(), "Key"), 2);
    EXPECT_EQ(parseWord("hall", reverbWords(), "Key"), 3);
    EXPECT_THROW(parseWord("Amber", boosterWords(), "Key"), UsageError);
}

}  // namespace
}  // namespace velk::cli
