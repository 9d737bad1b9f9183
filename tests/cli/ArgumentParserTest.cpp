#include "cli/ArgumentParser.h"

#include <gtest/gtest.h>

namespace {

using velk::cli::OptionRule;
using velk::cli::parseArguments;
using velk::cli::UsageError;

const std::vector<OptionRule> kRules = {{"--channel", true}, {"--json", false}};

struct ParseCase {
    const char* label;
    std::vector<std::string> arguments;
    std::vector<std::string> positionals;
    std::map<std::string, std::string> options;

    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.label; }
};

class ParseArguments : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseArguments, splitsOptionsAndPositionals) {
    const auto parsed = parseArguments(GetParam().arguments, kRules);
    EXPECT_EQ(parsed.positionals, GetParam().positionals);
    EXPECT_EQ(parsed.options, GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseArguments,
    testing::Values(
        ParseCase{"positionalOnly", {"ir.wav"}, {"ir.wav"}, {}},
        ParseCase{"valueAfterOption", {"ir.wav", "--channel", "right"}, {"ir.wav"}, {{"--channel", "right"}}},
        ParseCase{"valueWithEquals", {"--channel=left", "ir.wav"}, {"ir.wav"}, {{"--channel", "left"}}},
        ParseCase{"flag", {"--json", "ir.wav"}, {"ir.wav"}, {{"--json", ""}}},
        ParseCase{"doubleDashEndsOptions", {"--", "--json"}, {"--json"}, {}},
        ParseCase{"singleDashIsPositional", {"-"}, {"-"}, {}},
        ParseCase{"valueMayLookLikeAnOption", {"--channel", "--json"}, {}, {{"--channel", "--json"}}},
        ParseCase{"lastRepeatWins", {"--channel", "left", "--channel=right"}, {}, {{"--channel", "right"}}},
        ParseCase{"negativeNumberIsPositional", {"1", "-6", "-0.5", "-.5"}, {"1", "-6", "-0.5", "-.5"}, {}},
        ParseCase{"negativeNumberAsValue", {"--channel", "-3"}, {}, {{"--channel", "-3"}}}),
    [](const auto& info) { return std::string(info.param.label); });

struct RejectCase {
    const char* label;
    std::vector<std::string> arguments;
    std::string key;
    std::string argument;

    friend void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.label; }
};

class RejectArguments : public testing::TestWithParam<RejectCase> {};

TEST_P(RejectArguments, namesTheMistake) {
    try {
        parseArguments(GetParam().arguments, kRules);
        FAIL() << "accepted";
    } catch (const UsageError& error) {
        EXPECT_EQ(error.key, GetParam().key);
        EXPECT_EQ(error.argument, GetParam().argument);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RejectArguments,
    testing::Values(RejectCase{"unknownOption", {"ir.wav", "--gain", "3"}, "Cli_Err_UnknownOption", "--gain"},
                    RejectCase{"shortUnknownOption", {"-x"}, "Cli_Err_UnknownOption", "-x"},
                    RejectCase{"missingValue", {"ir.wav", "--channel"}, "Cli_Err_MissingValue", "--channel"},
                    RejectCase{"valueGivenToFlag", {"--json=yes"}, "Cli_Err_UnexpectedValue", "--json"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ParsedArguments, keepsEveryValueOfARepeatedOptionInOrder) {
    const auto parsed = parseArguments({"--channel", "left", "--json", "--channel=right"}, kRules);
    EXPECT_EQ(parsed.values("--channel"), (std::vector<std::string>{"left", "right"}));
    EXPECT_EQ(parsed.values("--json"), std::vector<std::string>{""});
    EXPECT_TRUE(parsed.values("--gain").empty());
}

struct PositionalsCase {
    const char* label;
    std::vector<std::string> positionals;
    std::string key;  // empty: accepted
    std::string argument;

    friend void PrintTo(const PositionalsCase& c, std::ostream* os) { *os << c.label; }
};

class RequirePositionals : public testing::TestWithParam<PositionalsCase> {};

TEST_P(RequirePositionals, namesTheFirstMissingOrExtraArgument) {
    velk::cli::ParsedArguments arguments;
    arguments.positionals = GetParam().positionals;
    try {
        velk::cli::requirePositionals(arguments, {"AMP", "FILE"});
        EXPECT_EQ(GetParam().key, "") << "accepted";
    } catch (const UsageError& error) {
        EXPECT_EQ(error.key, GetParam().key);
        EXPECT_EQ(error.argument, GetParam().argument);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RequirePositionals,
    testing::Values(PositionalsCase{"exact", {"1", "a.wav"}, "", ""},
                    PositionalsCase{"none", {}, "Cli_Err_MissingArgument", "AMP"},
                    PositionalsCase{"oneShort", {"1"}, "Cli_Err_MissingArgument", "FILE"},
                    PositionalsCase{"oneTooMany", {"1", "a.wav", "b.wav"}, "Cli_Err_ExtraArgument", "b.wav"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
