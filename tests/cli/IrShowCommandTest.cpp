#include "cli/IrShowCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliTestSupport.h"
#include "cli/CommandDispatcher.h"
#include "cli/Json.h"
#include "eLibrary/AudioFileBuilder.h"

namespace {

using namespace velk::cli;
using namespace testaudio;

class IrShow : public CliTest {
protected:
    int run(const std::vector<std::string>& arguments) { return makeVelkctl().run(arguments, out, err); }

    // 100 stereo 24-bit frames: left counts up from 0x010000, right down from -0x010000.
    std::string stereoFile(const std::string& name) {
        std::vector<int32_t> values;
        for (int i = 0; i < 100; ++i) {
            values.push_back((i + 1) << 8);
            values.push_back(-((i + 1) << 8));
        }
        return dir.write(name, wavFile({.bits = 24}, wavSamples(24, values)));
    }

    // The coefficients the file's channel gives: the top 16 bits of its 100 samples, then zeros.
    static std::string expectedCoefficients(int sign) {
        std::string list;
        for (int i = 0; i < 2048; ++i)
            list += (i ? "," : "") + std::to_string(i < 100 ? sign * (i + 1) : 0);
        return list;
    }

    TempDir dir;
    std::ostringstream out, err;
};

TEST_F(IrShow, printsTheRecordAsJson) {
    const std::string path = stereoFile("Cab 4x12.wav");
    EXPECT_EQ(run({"ir", "show", path, "--json"}), eExit_Done);
    EXPECT_EQ(out.str(),
              "{\"name\":\"Cab 4x12\",\"channels\":2,\"sampleRate\":44100,\"sampleSize\":24,\"frames\":100,"
              "\"channel\":0,\"coefficients\":[" +
                  expectedCoefficients(1) + "]}\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(IrShow, readsTheRightChannelOnRequest) {
    const std::string path = stereoFile("ir.wav");
    EXPECT_EQ(run({"ir", "show", "--channel", "right", path, "--json"}), eExit_Done);
    EXPECT_NE(out.str().find("\"channel\":1,\"coefficients\":[" + expectedCoefficients(-1) + "]"),
              std::string::npos);
}

TEST_F(IrShow, monoFileAlwaysGivesItsOnlyChannel) {
    const std::string path = dir.write("mono.aiff", aiffFile({.channels = 1}, aiffSamples(16, {5, 6})));
    EXPECT_EQ(run({"ir", "show", path, "--channel=right", "--json"}), eExit_Done);
    EXPECT_NE(out.str().find("\"channels\":1,"), std::string::npos);
    EXPECT_NE(out.str().find("\"channel\":0,\"coefficients\":[5,6,0,"), std::string::npos);
}

TEST_F(IrShow, printsTheRecordAsText) {
    const std::string path = stereoFile("Cab.wav");
    EXPECT_EQ(run({"ir", "show", path}), eExit_Done);
    const std::string text = out.str();
    EXPECT_EQ(text.substr(0, text.find("    0:")),
              "IR name: Cab\nChannels: 2\nSample rate: 44100 Hz\nSample size: 24 bits\nSample frames: 100\n"
              "Channel read: left\nCoefficients (2048):\n");
    EXPECT_NE(text.find("    0:      1      2      3      4      5      6      7      8\n"),
              std::string::npos);
    EXPECT_NE(text.find(" 2040:      0      0      0      0      0      0      0      0\n"),
              std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7 + 256);
}

TEST_F(IrShow, fileErrorNamesCodeKeyAndText) {
    const std::string path = dir.write("slow.wav", wavFile({.sampleRate = 48000}, wavSamples(16, {1, 2})));
    EXPECT_EQ(run({"ir", "show", path}), eExit_FileError);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "error 1007 (Err_FIRFile_SampleRate): The file's sample rate must be 44100 Hz.\n"
              "Use a WAV or AIFF file of 44100 Hz with one or two channels of 16, 24 or 32 bits.\n");
}

TEST_F(IrShow, fileErrorWithJsonAlsoPrintsItOnStdout) {
    EXPECT_EQ(run({"ir", "show", dir.path("missing.aif"), "--json"}), eExit_FileError);
    EXPECT_EQ(out.str(), "{\"error\":1005,\"key\":\"Err_FIRFile_Open\"}\n");
    EXPECT_EQ(err.str().substr(0, 31), "error 1005 (Err_FIRFile_Open): ");
}

TEST_F(IrShow, unsupportedExtensionIsAFileError) {
    const std::string path = dir.write("ir.mp3", wavFile({}, wavSamples(16, {1, 2})));
    EXPECT_EQ(run({"ir", "show", path, "--json"}), eExit_FileError);
    EXPECT_EQ(out.str(), "{\"error\":1005,\"key\":\"Err_FIRFile_Open\"}\n");
}

struct NameCase {
    const char* label;
    std::string path;
    std::string name;

    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }
};

class IrNameOfFile : public testing::TestWithParam<NameCase> {};

TEST_P(IrNameOfFile, namesTheRecordAsThePanelDoes) {
    EXPECT_EQ(irNameOfFile(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IrNameOfFile,
    testing::Values(NameCase{"dropsDirectoriesAndExtension", "/home/x/IR/Greenback 4x12.wav",
                             "Greenback 4x12"},
                    NameCase{"dropsOnlyTheLastExtension", "a.b.aiff", "a.b"},
                    NameCase{"eachNonAsciiCharacterIsAQuestionMark",
                             "Gr\xC3\xABn \xE2\x82\xAC\xF0\x9F\x8E\xB8.wav", "Gr?n ??"},
                    NameCase{"nonAsciiDirectoriesDoNotMatter", "/m\xC3\xBCsic/ir.wav", "ir"},
                    NameCase{"cutTo63Bytes", std::string(70, 'x') + ".wav", std::string(63, 'x')},
                    NameCase{"leadingDotIsNotAnExtension", "/x/.wav", ".wav"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(JsonString, escapesWhatJsonCannotHoldPlainly) {
    EXPECT_EQ(jsonString("Cab \"A\"\\B"), "\"Cab \\\"A\\\"\\\\B\"");
    EXPECT_EQ(jsonString(std::string("a\nb\x01", 4)), "\"a\\u000ab\\u0001\"");
    EXPECT_EQ(jsonString("\xC3\xA9"), "\"\\u00c3\\u00a9\"");
}

TEST(ParseIrShowOptions, defaultsToTheLeftChannelAsText) {
    velk::cli::ParsedArguments arguments;
    arguments.positionals = {"ir.wav"};
    const IrShowOptions options = parseIrShowOptions(arguments);
    EXPECT_EQ(options.path, "ir.wav");
    EXPECT_EQ(options.channel, 0);
    EXPECT_FALSE(options.json);
}

}  // namespace
