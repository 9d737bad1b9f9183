#include "cli/CommandDispatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "cli/CliTestSupport.h"
#include "eLibrary/AudioFileBuilder.h"

namespace velk::cli {
namespace {

using testing::HasSubstr;

// velkctl without MIDI: a command that reaches for it throws, which fails the test.
class Velkctl : public test::CliTest {
protected:
    int run(const std::vector<std::string>& arguments) { return CliTest::run(arguments, Environment{}); }
};

TEST_F(Velkctl, versionPrintsTheNumberOfTheRelease) {
    EXPECT_EQ(run({"--version"}), eExit_Done);
    EXPECT_EQ(out.str(), "velkctl " VELK_VERSION "\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(Velkctl, helpShowsEveryCommandOrOneCommandsOptions) {
    EXPECT_EQ(run({"--help"}), eExit_Done);
    EXPECT_THAT(out.str(), HasSubstr("velkctl ir show FILE [--channel left|right] [--json]\n"
                                     "      Show what the amplifier would receive"));
    EXPECT_THAT(out.str(), HasSubstr("velkctl list [--midi auto|alsa|jack] [--json]\n"));
    EXPECT_EQ(run({"ir", "show", "--help"}), eExit_Done);
    for (const char* option : {"FILE", "--channel left|right", "--json", "--help", "Exit status"})
        EXPECT_THAT(out.str(), HasSubstr(option));
    EXPECT_EQ(run({"-h", "ir", "install"}), eExit_Done);
    for (const char* text :
         {"--gain DB", "--name NAME", "--midi auto|alsa|jack", "--match TEXT", "--timeout MS", "--trace",
          "Exit status: 0 done; 1", "4 the amplifier reported an"})
        EXPECT_THAT(out.str(), HasSubstr(text));
    EXPECT_EQ(err.str(), "");
    for (const std::vector<std::string>& nothing : {std::vector<std::string>{}, {"--json"}}) {
        EXPECT_EQ(run(nothing), eExit_Usage);
        EXPECT_EQ(out.str(), "");
        EXPECT_THAT(err.str(), testing::StartsWith("Usage: velkctl [OPTIONS] COMMAND"));
    }
}

// Each refusal prints two lines, the mistake and what to do next, before any MIDI is opened: for a
// wrong command line, the help to read.
TEST_F(Velkctl, refusesWrongCommandLinesWithAClearMessage) {
    const std::string badAmp = R"(AMP must be 1 (Amp I) or 2 (Amp II), not ")";
    const std::string badGain =
        "the gain must be a step of the gain knob: -30 to -10 dB in 1 dB steps or -10 to 0 "
        "dB in 0.5 dB steps (e.g. -12, -9.5, 0), not \"";
    const std::string badService = R"(the MIDI service must be "auto", "alsa" or "jack", not ")";
    const std::string badFault =
        R"(": use silent, reject-packet=0..9, fail-flash-write[=COUNT], corrupt-dumps=COUNT, )"
        "no-reply=heartbeat|version|dump|flash-write|init|packet or delay=MS.";
    testaudio::TempDir dir;
    const auto samples = testaudio::wavSamples(16, {1, 2});
    const std::string ok = dir.write("ok.wav", testaudio::wavFile({.channels = 1}, samples));
    const std::string slow =
        dir.write("48k.wav", testaudio::wavFile({.channels = 1, .sampleRate = 48000}, samples));
    const std::string mp3 = dir.write("ir.mp3", testaudio::wavFile({.channels = 1}, samples));
    const std::string missing = dir.path("missing.wav");
    const std::pair<std::vector<std::string>, std::string> usageErrors[] = {
        {{"tune"}, R"(unknown command "tune".)"},
        {{"ir", "erase", "1"}, R"(unknown command "ir erase".)"},
        {{"--frob", "dump"}, R"(unknown option "--frob".)"},
        {{"ir", "show", "a.wav", "--channel"}, R"(the option "--channel" needs a value.)"},
        {{"set", "0", "booster", "green"}, badAmp + "0\"."},
        {{"ir", "install"}, "missing AMP."},
        {{"ir", "install", "2"}, "missing FILE."},
        {{"set", "1", "booster"}, "missing VALUE."},
        {{"info", "now"}, R"(unexpected argument "now".)"},
        {{"list", "ports"}, R"(unexpected argument "ports".)"},
        {{"ir", "gain", "1", "0.5"}, badGain + "0.5\"."},
        {{"ir", "preview", "1", ok, "--gain", "-40"}, badGain + "-40\"."},
        {{"ir", "install", "1", missing, "--gain", "3"}, badGain + "3\"."},  // before the file is read
        {{"set", "1", "volume", "11"},
         R"(unknown setting "volume": use booster, reverb, noise-gate, fx-loop, send-connection or return-connection.)"},
        {{"set", "2", "booster", "Amber"}, R"(the booster must be white, green or amber, not "Amber".)"},
        {{"set", "1", "reverb", "cave"}, R"(the reverb must be spring, plate, room or hall, not "cave".)"},
        {{"set", "1", "noise-gate", "4"}, R"(the noise gate must be 0, 1, 2 or 3, not "4".)"},
        {{"set", "1", "fx-loop", "yes"}, R"(the value must be "on" or "off", not "yes".)"},
        {{"set", "send-connection", "128"},
         R"(the connection must be a row number from 0 to 127, not "128".)"},
        {{"ir", "install", "1", ok, "--name", ""}, "the IR name must not be empty."},
        {{"ir", "rename", "1", ""}, "the IR name must not be empty."},
        {{"ir", "reset"},
         "this erases every stored impulse response of the amplifier; add --yes to go ahead."},
        {{"info", "--midi", "coremidi"}, badService + "coremidi\"."},
        {{"--midi", "coremidi", "list"}, badService + "coremidi\"."},
        {{"simulate", "--midi", "virtual"}, badService + "virtual\"."},
        {{"--timeout", "soon", "dump"},
         R"(the timeout must be a whole number of milliseconds from 0 to 86400000, not "soon".)"},
        {{"--timeout", "99999999999999999999", "dump"},
         R"(the timeout must be a whole number of milliseconds from 0 to 86400000, not "99999999999999999999".)"},
        {{"dump", "--match="}, "the text given to --match must not be empty."},
        {{"ir", "gain", "1", "-6", "--name", "x"}, R"(unknown option "--name".)"},
        {{"--midi", "jack", "ir", "show", ok}, R"(unknown option "--midi".)"},
        {{"ir", "show"}, "no FILE given: name a WAV or AIFF impulse-response file."},
        {{"ir", "show", "a.wav", "b.wav"}, R"(unexpected argument "b.wav".)"},
        {{"ir", "show", "a.wav", "--channel", "middle"},
         R"(the channel must be "left" or "right", not "middle".)"},
        {{"ir", "convert", "in.wav", "out.aiff"}, R"(the copy must be named .wav: "out.aiff".)"},
        {{"ir", "convert", "in.wav", "--bits", "32"}, R"(the sample size must be 16 or 24, not "32".)"},
        {{"ir", "convert", "in.wav", "--channel", "middle"},
         R"(the channels must be "left", "right" or "both", not "middle".)"},
        {{"ir", "convert", "in.wav", "--normalize", "3"},
         R"(the level must be a number of dBFS of 0 or below, not "3".)"},
        {{"ir", "convert", "in.wav", "--normalize", "loud"},
         R"(the level must be a number of dBFS of 0 or below, not "loud".)"},
        {{"ir", "convert", "a.wav", "b.wav", "c.wav"}, R"(unexpected argument "c.wav".)"},
        {{"ir", "convert", ok, dir.path(".") + "/ok.wav", "--force"},
         "the copy cannot replace the file converted: \"" + dir.path(".") + "/ok.wav\"."},
        {{"simulate", "--model", "triple"}, R"(the model must be "single" or "dual", not "triple".)"},
        {{"simulate", "--fault", "explode"}, R"(unknown fault "explode)" + badFault},
        {{"simulate", "--fault", "reject-packet=10"}, R"(unknown fault "reject-packet=10)" + badFault},
        {{"simulate", "--firmware", "16384"},
         R"(the firmware version must be a whole number from 0 to 16383, not "16384".)"}};
    const std::string cannotOpen =
        "The file could not be opened, or it is not an accepted impulse response: a .wav, .aif or .aiff file "
        "of plain integer PCM (not WAVE extensible), 44100 Hz, one or two channels, 16, 24 or 32 bits.";
    const std::string wrongRate = "The file's sample rate must be 44100 Hz.";
    const std::pair<std::vector<std::string>, std::string> fileErrors[] = {
        {{"ir", "preview", "1", slow}, "error 1007 (Err_FIRFile_SampleRate): " + wrongRate},
        {{"ir", "show", slow}, "error 1007 (Err_FIRFile_SampleRate): " + wrongRate},
        {{"ir", "install", "2", missing}, "error 1005 (Err_FIRFile_Open): " + cannotOpen},
        {{"ir", "show", mp3}, "error 1005 (Err_FIRFile_Open): " + cannotOpen}};
    const std::regex seeHelp(R"(Run "velkctl( [a-z]+)* --help" for details\.\n)");
    const auto refuses = [&](const std::vector<std::string>& arguments, int exitStatus,
                             const std::string& message) {
        EXPECT_EQ(run(arguments), exitStatus) << message;
        const std::string printed = err.str();
        EXPECT_EQ(test::firstLine(printed), message);
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2) << printed;
        if (exitStatus == eExit_Usage) {
            EXPECT_TRUE(std::regex_match(printed.substr(message.size() + 1), seeHelp)) << printed;
        }
        EXPECT_EQ(out.str(), "");
    };
    for (const auto& [arguments, message] : usageErrors)
        refuses(arguments, eExit_Usage, "velkctl: " + message);
    for (const auto& [arguments, message] : fileErrors)
        refuses(arguments, eExit_FileError, message);
    // What to do with a file that is not taken, after the last of them.
    EXPECT_EQ(
        err.str().substr(err.str().find('\n') + 1),
        "Use a WAV or AIFF file of 44100 Hz with one or two channels of 16, 24 or 32 bits; \"velkctl ir "
        "convert FILE\" makes one from most audio files.\n");
    EXPECT_EQ(run({"ir", "install", "1", missing, "--json"}), eExit_FileError);
    EXPECT_EQ(out.str(), "{\"error\":1005,\"key\":\"Err_FIRFile_Open\"}\n");
}

}  // namespace
}  // namespace velk::cli
