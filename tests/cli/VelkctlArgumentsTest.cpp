// Wrong command lines: each is refused with a message naming the mistake, exit 1 (or 2 for a file
// that cannot be used), before any MIDI service is opened.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliTestSupport.h"
#include "cli/CommandDispatcher.h"
#include "eLibrary/AudioFileBuilder.h"

namespace {

using namespace velk::cli;

// Fails the test when a command reaches for MIDI.
Environment offlineEnvironment() {
    Environment environment;
    environment.openService = [](midi::ServiceChoice) {
        ADD_FAILURE() << "a MIDI service was opened";
        return midi::ServiceSelection{nullptr, "offline"};
    };
    environment.makeDevicePorts = [](midi::ServiceChoice) -> std::unique_ptr<velk::sim::DevicePorts> {
        ADD_FAILURE() << "simulator ports were made";
        return nullptr;
    };
    environment.makeStopRequest = []() -> std::unique_ptr<StopRequest> {
        ADD_FAILURE() << "the simulator was started";
        return nullptr;
    };
    return environment;
}

std::string badAmp(const std::string& text) {
    return "velkctl: AMP must be 1 (Amp I) or 2 (Amp II), not \"" + text + "\".";
}

std::string badGain(const std::string& text) {
    return "velkctl: the gain must be a step of the gain knob: -30 to -10 dB in 1 dB steps or -10 to 0 dB in "
           "0.5 dB "
           "steps (e.g. -12, -9.5, 0), not \"" +
           text + "\".";
}

std::string badFault(const std::string& text) {
    return "velkctl: unknown fault \"" + text +
           "\": use silent, reject-packet=0..9, fail-flash-write[=COUNT], "
           "corrupt-dumps=COUNT, no-reply=heartbeat|version|dump|flash-write|init|packet or delay=MS.";
}

struct ArgumentsCase {
    const char* label;
    std::vector<std::string> arguments;
    int exitStatus;
    std::string message;  // the first line on stderr

    friend void PrintTo(const ArgumentsCase& c, std::ostream* os) { *os << c.label; }
};

class VelkctlArguments : public CliTest, public testing::WithParamInterface<ArgumentsCase> {
protected:
    static void SetUpTestSuite() {
        CliTest::SetUpTestSuite();
        files = std::make_unique<testaudio::TempDir>();
        files->write("48k.wav", testaudio::wavFile({.channels = 1, .sampleRate = 48000},
                                                   testaudio::wavSamples(16, {1, 2})));
        files->write("ok.wav", testaudio::wavFile({.channels = 1}, testaudio::wavSamples(16, {1, 2})));
    }
    static void TearDownTestSuite() { files.reset(); }

    // "@NAME" stands for a file of the suite's directory.
    static std::vector<std::string> withFiles(std::vector<std::string> arguments) {
        for (std::string& argument : arguments) {
            if (argument.starts_with('@'))
                argument = files->path(argument.substr(1));
        }
        return arguments;
    }

    static inline std::unique_ptr<testaudio::TempDir> files;
};

TEST_P(VelkctlArguments, refusesWithAClearMessageAndTouchesNoDevice) {
    std::ostringstream out, err;
    const int status = makeVelkctl(offlineEnvironment()).run(withFiles(GetParam().arguments), out, err);
    EXPECT_EQ(status, GetParam().exitStatus);
    EXPECT_EQ(err.str().substr(0, err.str().find('\n')), GetParam().message) << err.str();
    EXPECT_NE(err.str().find('\n'), err.str().size() - 1) << "no second line saying what to do next";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, VelkctlArguments,
    testing::Values(
        ArgumentsCase{"unknownCommand", {"tune"}, 1, "velkctl: unknown command \"tune\"."},
        ArgumentsCase{"unknownIrCommand", {"ir", "erase", "1"}, 1, "velkctl: unknown command \"ir erase\"."},
        ArgumentsCase{"ampZero", {"set", "0", "booster", "green"}, 1, badAmp("0")},
        ArgumentsCase{"ampThree", {"ir", "bypass", "3", "on"}, 1, badAmp("3")},
        ArgumentsCase{"ampNamed", {"ir", "gain", "II", "-6"}, 1, badAmp("II")},
        ArgumentsCase{"missingAmp", {"ir", "install"}, 1, "velkctl: missing AMP."},
        ArgumentsCase{"missingFile", {"ir", "install", "2"}, 1, "velkctl: missing FILE."},
        ArgumentsCase{"missingValue", {"set", "1", "booster"}, 1, "velkctl: missing VALUE."},
        ArgumentsCase{"extraArgument", {"info", "now"}, 1, "velkctl: unexpected argument \"now\"."},
        ArgumentsCase{"gainAboveTheKnob", {"ir", "gain", "1", "0.5"}, 1, badGain("0.5")},
        ArgumentsCase{
            "gainBelowTheKnob", {"ir", "preview", "1", "@ok.wav", "--gain", "-40"}, 1, badGain("-40")},
        ArgumentsCase{
            "gainBetweenSteps", {"ir", "install", "1", "@ok.wav", "--gain=-12.5"}, 1, badGain("-12.5")},
        ArgumentsCase{"gainCheckedBeforeTheFile",
                      {"ir", "install", "1", "@missing.wav", "--gain", "3"},
                      1,
                      badGain("3")},
        ArgumentsCase{
            "unknownSetting",
            {"set", "1", "volume", "11"},
            1,
            "velkctl: unknown setting \"volume\": use booster, reverb, noise-gate, fx-loop, send-connection "
            "or return-connection."},
        ArgumentsCase{"badBooster",
                      {"set", "2", "booster", "purple"},
                      1,
                      "velkctl: the booster must be white, green or amber, not \"purple\"."},
        ArgumentsCase{"badReverb",
                      {"set", "1", "reverb", "cave"},
                      1,
                      "velkctl: the reverb must be spring, plate, room or hall, not \"cave\"."},
        ArgumentsCase{"noiseGateOffTheKnob",
                      {"set", "1", "noise-gate", "4"},
                      1,
                      "velkctl: the noise gate must be 0, 1, 2 or 3, not \"4\"."},
        ArgumentsCase{"fxLoopNotOnOff",
                      {"set", "1", "fx-loop", "yes"},
                      1,
                      "velkctl: the value must be \"on\" or \"off\", not \"yes\"."},
        ArgumentsCase{"rowTooHigh",
                      {"set", "send-connection", "128"},
                      1,
                      "velkctl: the connection must be a row number from 0 to 127, not \"128\"."},
        ArgumentsCase{"emptyName",
                      {"ir", "install", "1", "@ok.wav", "--name", ""},
                      1,
                      "velkctl: the IR name must not be empty."},
        ArgumentsCase{"emptyRename", {"ir", "rename", "1", ""}, 1, "velkctl: the IR name must not be empty."},
        ArgumentsCase{
            "resetWithoutYes",
            {"ir", "reset"},
            1,
            "velkctl: this erases every stored impulse response of the amplifier; add --yes to go ahead."},
        ArgumentsCase{"unknownService",
                      {"info", "--midi", "coremidi"},
                      1,
                      "velkctl: the MIDI service must be \"auto\", \"alsa\" or \"jack\", not \"coremidi\"."},
        ArgumentsCase{"virtualIsNoServiceOfVelkctl",
                      {"simulate", "--midi", "virtual"},
                      1,
                      "velkctl: the MIDI service must be \"auto\", \"alsa\" or \"jack\", not \"virtual\"."},
        ArgumentsCase{
            "timeoutNotANumber",
            {"dump", "--timeout", "soon"},
            1,
            "velkctl: the timeout must be a whole number of milliseconds from 0 to 86400000, not \"soon\"."},
        ArgumentsCase{
            "emptyMatch", {"dump", "--match="}, 1, "velkctl: the text given to --match must not be empty."},
        ArgumentsCase{"optionOfAnotherCommand",
                      {"ir", "gain", "1", "-6", "--name", "x"},
                      1,
                      "velkctl: unknown option \"--name\"."},
        ArgumentsCase{"unknownModel",
                      {"simulate", "--model", "triple"},
                      1,
                      "velkctl: the model must be \"single\" or \"dual\", not \"triple\"."},
        ArgumentsCase{"unknownFault", {"simulate", "--fault", "explode"}, 1, badFault("explode")},
        ArgumentsCase{"packetBeyondTheStream",
                      {"simulate", "--fault", "reject-packet=10"},
                      1,
                      badFault("reject-packet=10")},
        ArgumentsCase{"firmwareBeyond14Bits",
                      {"simulate", "--firmware", "16384"},
                      1,
                      "velkctl: the firmware version must be a whole number from 0 to 16383, not \"16384\"."},
        ArgumentsCase{
            "missingFileOnDisk",
            {"ir", "install", "2", "@missing.wav"},
            2,
            "error 1005 (Err_FIRFile_Open): The file could not be opened, or it is not a WAV or AIFF file."},
        ArgumentsCase{"fileOfTheWrongRate",
                      {"ir", "preview", "1", "@48k.wav"},
                      2,
                      "error 1007 (Err_FIRFile_SampleRate): The file's sample rate must be 44100 Hz."}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CliTest, fileErrorOfADeviceCommandIsAlsoPrintedAsJson) {
    testaudio::TempDir dir;
    std::ostringstream out, err;
    EXPECT_EQ(makeVelkctl(offlineEnvironment())
                  .run({"ir", "install", "1", dir.path("none.aiff"), "--json"}, out, err),
              2);
    EXPECT_EQ(out.str(), "{\"error\":1005,\"key\":\"Err_FIRFile_Open\"}\n");
}

TEST_F(CliTest, deviceCommandHelpExplainsTheDeviceOptionsAndExitStatuses) {
    std::ostringstream out, err;
    EXPECT_EQ(makeVelkctl(offlineEnvironment()).run({"ir", "install", "--help"}, out, err), 0);
    for (const char* text :
         {"--gain DB", "--name NAME", "--midi auto|alsa|jack", "--match TEXT", "--timeout MS", "--trace",
          "--json", "Exit status: 0 done; 1", "4 the amplifier reported an"})
        EXPECT_NE(out.str().find(text), std::string::npos) << text;
}

}  // namespace
