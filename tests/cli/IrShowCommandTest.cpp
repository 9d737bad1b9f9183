#include "cli/IrShowCommand.h"

#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "cli/Json.h"
#include "eLibrary/AudioFileBuilder.h"

namespace velk::cli {
namespace {

using namespace testaudio;

class IrShow : public test::CliTest {
protected:
    // 100 stereo 24-bit frames: left counts up from 0x010000, right down from -0x010000.
    std::string stereoFile(const std::string& name) {
        std::vector<int32_t> values;
        for (int i = 0; i < 100; ++i)
            values.insert(values.end(), {(i + 1) << 8, -((i + 1) << 8)});
        return dir.write(name, wavFile({.bits = 24}, wavSamples(24, values)));
    }

    // The coefficients the file's channel gives: the top 16 bits of its 100 samples, then zeros.
    static std::string expectedCoefficients(int sign) {
        std::string list;
        for (int i = 0; i < 2048; ++i) {
            if (i > 0)
                list += ',';
            list += std::to_string(i < 100 ? sign * (i + 1) : 0);
        }
        return list;
    }

    TempDir dir;
};

TEST_F(IrShow, printsTheRecordOfTheChosenChannelAsJson) {
    const std::string path = stereoFile("Cab 4x12.wav");
    EXPECT_EQ(run({"ir", "show", path, "--json"}), eExit_Done);
    EXPECT_EQ(out.str(),
              "{\"name\":\"Cab 4x12\",\"channels\":2,\"sampleRate\":44100,\"sampleSize\":24,\"frames\":100,"
              "\"channel\":0,\"coefficients\":[" +
                  expectedCoefficients(1) + "]}\n");
    EXPECT_EQ(err.str(), "");
    // A shared option before the command stays an option even with a "--" among the command's own.
    EXPECT_EQ(run({"--json", "ir", "show", "--channel", "right", "--", path}), eExit_Done);
    EXPECT_NE(out.str().find("\"channel\":1,\"coefficients\":[" + expectedCoefficients(-1) + "]"),
              std::string::npos);

    const std::string mono = dir.write("mono.aiff", aiffFile({.channels = 1}, aiffSamples(16, {5, 6})));
    EXPECT_EQ(run({"ir", "show", mono, "--channel=right", "--json"}), eExit_Done);
    EXPECT_NE(out.str().find("\"channels\":1,"), std::string::npos);
    EXPECT_NE(out.str().find("\"channel\":0,\"coefficients\":[5,6,0,"), std::string::npos)
        << "its only channel";
}

TEST_F(IrShow, printsTheRecordAsText) {
    EXPECT_EQ(run({"ir", "show", stereoFile("Cab.wav")}), eExit_Done);
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

TEST_F(IrShow, namesTheExtensibleHeaderOfAFileItRefuses) {
    const std::string path = dir.write("wide.wav", wavFile({.formatTag = 0xFFFE}, wavSamples(16, {1, 2})));
    EXPECT_EQ(run({"ir", "show", path}), eExit_FileError);
    EXPECT_NE(err.str().find("\nhint: the file has a WAVE extensible header"), std::string::npos)
        << err.str();
}

TEST(IrNameOfFile, namesTheRecordAsThePanelDoes) {
    const std::pair<std::string, std::string> names[] = {
        {"/home/x/IR/Greenback 4x12.wav", "Greenback 4x12"},
        {"a.b.aiff", "a.b"},                                          // only the last extension goes
        {"Gr\xC3\xABn \xE2\x82\xAC\xF0\x9F\x8E\xB8.wav", "Gr?n ??"},  // one ? per non-ASCII character
        {"/m\xC3\xBCsic/ir.wav", "ir"},                               // directories do not matter
        {std::string(70, 'x') + ".wav", std::string(63, 'x')},        // cut to 63 bytes
        {"/x/.wav", ".wav"}};                                         // a leading dot is no extension
    for (const auto& [path, name] : names)
        EXPECT_EQ(irNameOfFile(path), name) << path;
}

TEST(JsonString, escapesWhatJsonCannotHoldPlainly) {
    EXPECT_EQ(jsonString("Cab \"A\"\\B"), "\"Cab \\\"A\\\"\\\\B\"");
    EXPECT_EQ(jsonString(std::string("a\nb\x01", 4)), "\"a\\u000ab\\u0001\"");
    EXPECT_EQ(jsonString("\xC3\xA9"), "\"\\u00c3\\u00a9\"");
}

}  // namespace
}  // namespace velk::cli
