#include "cli/IrConvertCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <QJsonArray>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "cli/CliTestSupport.h"
#include "common/ErrorCodes.h"
#include "eLibrary/AudioFileBuilder.h"

namespace velk::cli {
namespace {

using testaudio::TempDir;
using testing::HasSubstr;

struct InputFile {
    const char* name;
    int format;  // libsndfile's major format | subtype
    int sampleRate;
    int channels;
    int loaderError;  // what the loader says of the file itself, 0 when it takes it
};

std::vector<std::string> filesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    return names;
}

class IrConvert : public test::CliTest {
protected:
    // A 1 kHz sine of `amplitude`, the right channel inverted, written by libsndfile, which writes
    // the kinds of file the loader refuses as they come from a shop.
    std::string input(const InputFile& file, double seconds = 0.1, double amplitude = 0.5) {
        std::vector<double> samples;
        for (int i = 0; i < static_cast<int>(file.sampleRate * seconds); ++i) {
            const double value = amplitude * std::sin(2 * std::numbers::pi * 1000 * i / file.sampleRate);
            for (int c = 0; c < file.channels; ++c)
                samples.push_back(c == 0 ? value : -value);
        }
        SF_INFO info{0, file.sampleRate, file.channels, file.format, 0,
                     0};  // frames, ..., sections, seekable
        SNDFILE* out = sf_open(dir.path(file.name).c_str(), SFM_WRITE, &info);
        EXPECT_NE(out, nullptr) << sf_strerror(nullptr);
        sf_writef_double(out, samples.data(), static_cast<sf_count_t>(samples.size()) / file.channels);
        sf_close(out);
        return dir.path(file.name);
    }

    QJsonObject showJson(const std::string& path) {
        EXPECT_EQ(run({"ir", "show", path, "--json"}), eExit_Done) << err.str();
        return test::jsonObject(out.str());
    }

    TempDir dir;
};

TEST_F(IrConvert, turnsFilesTheLoaderRefusesIntoOnesItLoads) {
    const InputFile inputs[] = {
        {"stereo 48k.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 2, mstd::eErr_FIRFileSampleRate},
        {"float 96k.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 96000, 2, mstd::eErr_FIRFileSampleRate},
        {"extensible.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, 44100, 2, mstd::eErr_FIRFileOpen},
        {"mono 16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, 0},
        {"stereo.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 2, mstd::eErr_FIRFileOpen}};
    for (const InputFile& file : inputs) {
        SCOPED_TRACE(file.name);
        const std::string path = input(file);
        EXPECT_EQ(run({"ir", "show", path, "--json"}), file.loaderError ? eExit_FileError : eExit_Done);
        if (file.loaderError) {
            EXPECT_EQ(test::jsonObject(out.str())["error"].toInt(), file.loaderError);
        }

        ASSERT_EQ(run({"ir", "convert", path, "--json"}), eExit_Done) << err.str();
        const QJsonObject report = test::jsonObject(out.str());
        const std::string output = report["output"].toString().toStdString();
        EXPECT_EQ(output, dir.path(std::filesystem::path(file.name).stem().string() + " 44k1.wav"));
        EXPECT_EQ(report["from"]["sampleRate"].toInt(), file.sampleRate);
        const QJsonObject shown = showJson(output);
        EXPECT_EQ(shown["sampleRate"].toInt(), 44100);
        EXPECT_EQ(shown["sampleSize"].toInt(), 24);
        EXPECT_EQ(shown["channels"].toInt(), file.channels);
        EXPECT_EQ(shown["frames"].toInt(), 4410);
        // The same sine at 44.1 kHz, in frequency, level and phase, to the 16 bits shown.
        for (int frame : {100, 1000, 2047})
            EXPECT_NEAR(shown["coefficients"].toArray()[frame].toInt(),
                        0.5 * 32768 * std::sin(2 * std::numbers::pi * frame * 1000 / 44100.0), 4)
                << "frame " << frame;
    }
}

TEST_F(IrConvert, appliesItsOptions) {
    const std::string path = input({"in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 96000, 2, 0}, 0.5, 0.25);
    ASSERT_EQ(run({"ir", "convert", path, dir.path("o.wav"), "--channel", "right", "--bits", "16", "--trim",
                   "--normalize", "-6"}),
              eExit_Done)
        << err.str();
    EXPECT_THAT(out.str(), HasSubstr("To:   44100 Hz, 16-bit, 1 channel, 2048 frames, peak -6.00 dBFS\n"));
    const QJsonObject shown = showJson(dir.path("o.wav"));
    EXPECT_EQ(shown["sampleSize"].toInt(), 16);
    EXPECT_EQ(shown["frames"].toInt(), 2048);
    EXPECT_LT(shown["coefficients"].toArray()[5].toInt(), 0) << "the right channel, inverted";
}

TEST_F(IrConvert, neverOverwritesWithoutForce) {
    const std::string path = input({"in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 1, 0});
    const std::string existing = dir.write("in 44k1.wav", {'k', 'e', 'e', 'p'});
    EXPECT_EQ(run({"ir", "convert", path}), eExit_FileError);
    EXPECT_EQ(err.str(), "velkctl: \"" + existing +
                             "\" already exists.\nGive another name, or add --force to replace it.\n");
    EXPECT_EQ(std::filesystem::file_size(existing), 4u);
    EXPECT_THAT(filesIn(dir.path("")), testing::UnorderedElementsAre("in.wav", "in 44k1.wav"));

    EXPECT_EQ(run({"ir", "convert", path, "--force"}), eExit_Done);
    EXPECT_EQ(showJson(existing)["frames"].toInt(), 4410);
}

TEST_F(IrConvert, leavesNoFileWhenItFails) {
    const std::tuple<std::string, std::vector<std::string>, std::string> failures[] = {
        {"not audio", {"--json"}, "Convert_Err_Unreadable"},
        {"silent", {"--normalize", "-1", "--json"}, "Convert_Err_Silent"},
        {"silent", {"--channel", "right", "--json"}, "Convert_Err_MissingChannel"}};
    dir.write("not audio.wav", {'R', 'I', 'F', 'F'});
    input({"silent.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 1, 0}, 0.1, 0);
    for (const auto& [name, options, key] : failures) {
        std::vector<std::string> line = {"ir", "convert", dir.path(name + ".wav")};
        line.insert(line.end(), options.begin(), options.end());
        EXPECT_EQ(run(line), eExit_FileError) << key;
        EXPECT_EQ(out.str(), "{\"error\":null,\"key\":\"" + key + "\"}\n");
        EXPECT_THAT(filesIn(dir.path("")), testing::UnorderedElementsAre("not audio.wav", "silent.wav"));
    }
}

}  // namespace
}  // namespace velk::cli
