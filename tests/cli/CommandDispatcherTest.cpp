#include "cli/CommandDispatcher.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliTestSupport.h"

namespace {

using namespace velk::cli;

// Records what it was run with.
class RecordingCommand : public Command {
public:
    RecordingCommand(std::vector<std::string> words, ParsedArguments* seen)
        : m_Words(std::move(words)), m_Seen(seen) {}
    std::vector<std::string> words() const override { return m_Words; }
    std::string synopsis() const override { return "fake"; }
    const char* summaryKey() const override { return "Cli_IrShow_Summary"; }
    const char* helpKey() const override { return "Cli_IrShow_Help"; }
    std::vector<OptionRule> options() const override { return {{"--flag", false}}; }
    int run(const ParsedArguments& arguments, std::ostream&, std::ostream&) const override {
        *m_Seen = arguments;
        return static_cast<int>(m_Words.size()) + 40;
    }

private:
    std::vector<std::string> m_Words;
    ParsedArguments* m_Seen;
};

class CommandDispatcherTest : public CliTest {
protected:
    int run(const std::vector<std::string>& arguments) { return velkctl.run(arguments, out, err); }

    CommandDispatcher velkctl = makeVelkctl();
    std::ostringstream out, err;
};

TEST_F(CommandDispatcherTest, runsTheCommandWithTheLongestMatchingWords) {
    ParsedArguments seenShort, seenLong;
    CommandDispatcher dispatcher;
    dispatcher.add(std::make_unique<RecordingCommand>(std::vector<std::string>{"ir"}, &seenShort));
    dispatcher.add(std::make_unique<RecordingCommand>(std::vector<std::string>{"ir", "show"}, &seenLong));
    EXPECT_EQ(dispatcher.run({"ir", "show", "a.wav", "--flag"}, out, err), 42);
    EXPECT_EQ(seenLong.positionals, std::vector<std::string>{"a.wav"});
    EXPECT_TRUE(seenLong.has("--flag"));
    EXPECT_EQ(dispatcher.run({"ir", "other"}, out, err), 41);
    EXPECT_EQ(seenShort.positionals, std::vector<std::string>{"other"});
}

TEST_F(CommandDispatcherTest, helpListsEveryCommand) {
    EXPECT_EQ(run({"--help"}), eExit_Done);
    EXPECT_NE(out.str().find("velkctl ir show FILE [--channel left|right] [--json]"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("Show what the amplifier would receive"), std::string::npos);
    EXPECT_EQ(err.str(), "");
}

TEST_F(CommandDispatcherTest, commandHelpExplainsEveryOption) {
    EXPECT_EQ(run({"ir", "show", "--help"}), eExit_Done);
    for (const char* option : {"FILE", "--channel left|right", "--json", "--help", "Exit status"})
        EXPECT_NE(out.str().find(option), std::string::npos) << option;
}

TEST_F(CommandDispatcherTest, noArgumentsIsAUsageErrorWithTheOverview) {
    EXPECT_EQ(run({}), eExit_Usage);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("Usage: velkctl"), std::string::npos);
}

struct UsageCase {
    const char* label;
    std::vector<std::string> arguments;
    std::string message;

    friend void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.label; }
};

class VelkctlUsage : public CommandDispatcherTest, public testing::WithParamInterface<UsageCase> {};

TEST_P(VelkctlUsage, explainsTheMistakeAndWhereToLook) {
    EXPECT_EQ(run(GetParam().arguments), eExit_Usage);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, VelkctlUsage,
    testing::Values(
        UsageCase{"unknownCommand",
                  {"frobnicate"},
                  "velkctl: unknown command \"frobnicate\".\nRun \"velkctl --help\" for details.\n"},
        UsageCase{"unknownSubcommand",
                  {"ir", "play", "x.wav"},
                  "velkctl: unknown command \"ir play\".\nRun \"velkctl --help\" for details.\n"},
        UsageCase{"missingFile",
                  {"ir", "show"},
                  "velkctl: no FILE given: name a WAV or AIFF impulse-response file.\n"
                  "Run \"velkctl ir show --help\" for details.\n"},
        UsageCase{"twoFiles",
                  {"ir", "show", "a.wav", "b.wav"},
                  "velkctl: unexpected argument \"b.wav\".\nRun \"velkctl ir show --help\" for details.\n"},
        UsageCase{"badChannel",
                  {"ir", "show", "a.wav", "--channel", "middle"},
                  "velkctl: the channel must be \"left\" or \"right\", not \"middle\".\n"
                  "Run \"velkctl ir show --help\" for details.\n"},
        UsageCase{"unknownOption",
                  {"ir", "show", "a.wav", "--gain", "-6"},
                  "velkctl: unknown option \"--gain\".\nRun \"velkctl ir show --help\" for details.\n"},
        UsageCase{"channelWithoutValue",
                  {"ir", "show", "a.wav", "--channel"},
                  "velkctl: the option \"--channel\" needs a value.\nRun \"velkctl ir show --help\" for "
                  "details.\n"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
