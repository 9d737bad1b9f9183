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

TEST(ParseArguments, splitsOptionsFromPositionalsOrNamesTheMistake) {
    using Options = std::map<std::string, std::string>;
    const std::tuple<std::vector<std::string>, std::vector<std::string>, Options, std::string> lines[] = {
        {{"ir.wav", "--channel", "right"}, {"ir.wav"}, {{"--channel", "right"}}, "accepted"},
        {{"--channel=left", "ir.wav"}, {"ir.wav"}, {{"--channel", "left"}}, "accepted"},
        {{"--json", "ir.wav"}, {"ir.wav"}, {{"--json", ""}}, "accepted"},
        {{"--", "--json"}, {"--json"}, {}, "accepted"},
        {{"-"}, {"-"}, {}, "accepted"},
        {{"--channel", "--json"},
         {},
         {{"--channel", "--json"}},
         "accepted"},  // a value may look like an option
        {{"--channel", "left", "--channel=right"}, {}, {{"--channel", "right"}}, "accepted"},
        {{"1", "-6", "-0.5", "-.5"}, {"1", "-6", "-0.5", "-.5"}, {}, "accepted"},  // negative numbers
        {{"--channel", "-3"}, {}, {{"--channel", "-3"}}, "accepted"},
        {{"ir.wav", "--gain", "3"}, {}, {}, "Cli_Err_UnknownOption --gain"},
        {{"-x"}, {}, {}, "Cli_Err_UnknownOption -x"},
        {{"ir.wav", "--channel"}, {}, {}, "Cli_Err_MissingValue --channel"},
        {{"--json=yes"}, {}, {}, "Cli_Err_UnexpectedValue --json"}};
    for (const auto& [arguments, positionals, options, outcome] : lines) {
        ParsedArguments parsed;
        EXPECT_EQ(refusal([&] { parsed = parseArguments(arguments, kRules); }), outcome);
        EXPECT_EQ(parsed.positionals, positionals) << arguments.front();
        EXPECT_EQ(parsed.options, options) << arguments.front();
    }
    EXPECT_EQ(parseArguments({"--channel", "left", "--json", "--channel=right"}, kRules).values("--channel"),
              (std::vector<std::string>{"left", "right"}));
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

}  // namespace
}  // namespace velk::cli
