#include "common/FIRFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/VelkTestSupport.h"
#include "eLibrary/AudioFileBuilder.h"

namespace {

using namespace testaudio;
using velktest::errorCodeOf;
constexpr auto LE = ByteOrder::LittleEndian;
constexpr auto BE = ByteOrder::BigEndian;
constexpr int kCount = CFIRFile::kCoefficientCount;

TEST(FIRFile, choosesTheAudioTypeByExtensionRegardlessOfCase) {
    const std::pair<const char*, int> cases[] = {
        {"ir.wav", 1}, {"IR.WAV", 1}, {".wav", 1},       {"ir.aif", 2},      {"ir.Aiff", 2}, {"ir.wave", 0},
        {"ir", 0},     {"ir.", 0},    {"dir.wav/ir", 0}, {"ir.aiff.txt", 0}, {"ir.wav ", 0}, {"ir.aifc", 0}};
    for (auto [path, type] : cases)
        EXPECT_EQ(CFIRFile::getAudioType(path), type) << path;
}

// A file, the error code opening it throws, and when it opens, the coefficients a read of the
// channel must deliver before the zero fill.
struct FileCase {
    const char* label;
    const char* name;
    Bytes bytes;
    int code;
    int channel = 0;
    std::vector<int32_t> expected = {};

    friend void PrintTo(const FileCase& c, std::ostream* os) { *os << c.label; }
};

class FIRFileLoad : public testing::TestWithParam<FileCase> {};

TEST_P(FIRFileLoad, refusesWithTheFirstReasonOrFillsTheCoefficientsFromTheFirstFrame) {
    const FileCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.write(c.name, c.bytes);
    CFIRFile file;
    ASSERT_EQ(errorCodeOf([&] { file.open(path.c_str()); }), c.code);
    if (c.code != 0) {
        EXPECT_EQ(file.getChannels(), -1);
        return;
    }
    std::vector<int16_t> expected(c.expected.begin(), c.expected.end());
    expected.resize(kCount, 0);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<int16_t> coefficients(kCount, 0x5555);
        file.read(coefficients.data(), c.channel);
        EXPECT_EQ(coefficients, expected) << "pass " << pass;
    }
}

const std::vector<int32_t> kNoise = noise(3000, 16, 2);
const Bytes kStereo16 = wavSamples(16, {10, -10, 20, -20});

INSTANTIATE_TEST_SUITE_P(
    Files, FIRFileLoad,
    testing::ValuesIn(std::vector<FileCase>{
        {"leftChannel", "ir.wav", wavFile({}, kStereo16), 0, 0, {10, 20}},
        {"rightChannel", "ir.wav", wavFile({}, kStereo16), 0, 1, {-10, -20}},
        {"rightChannelOfMonoIsSilence", "ir.wav", wav({.channels = 1}, {10, 20}), 0, 1, {}},
        {"onlyTheFirst2048Frames", "ir.wav", wav({.channels = 1}, kNoise), 0, 0,
         std::vector<int32_t>(kNoise.begin(), kNoise.begin() + kCount)},
        {"thirtyTwoBitsTruncateDown",
         "ir.wav",
         wav({.channels = 1, .bits = 32}, {0x12345678, -1, -65535, -65536}),
         0,
         0,
         {0x1234, -1, -1, -1}},
        {"twentyFourBitsKeepTheTop",
         "ir.aiff",
         aiff({.channels = 1, .bits = 24}, {0x123456, -1, -0x800000}),
         0,
         0,
         {0x1234, -1, -32768}},
        {"noFramesIsSilence", "ir.aif", aiff({}, {}), 0},
        {"unsupportedExtension", "ir.wave", wavFile({}, kStereo16), 1005},
        {"rateIsBlamedBeforeChannelsAndSize", "ir.wav",
         wav({.channels = 3, .sampleRate = 48000, .bits = 8}, {1, 2, 3}), 1007},
        {"channelsBeforeSize", "ir.wav", wav({.channels = 3, .bits = 8}, {1, 2, 3}), 1006},
        {"eightBitMono", "ir.wav", wav({.channels = 1, .bits = 8}, {1, 2}), 1008},
        {"allNarrowChecksPassYetInvalid", "ir.wav", wavFile({.formatTag = 0xFFFE}, kStereo16), 1005},
        // Files without a container or format chunk are not blamed on their sample rate.
        {"emptyFile", "ir.wav", Bytes{}, 1005},
        {"textFile", "ir.wav", Bytes{'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o', '\n'}, 1005},
        {"noFmtChunk", "ir.wav", riffWave(chunk("data", kStereo16, LE)), 1005},
        {"aiffWithoutComm", "ir.aif", formAiff(chunk("SSND", ssndData(kStereo16), BE)), 1005}}),
    testing::PrintToStringParamName());

TEST(FIRFile, refusesReadsOfBadChannelsMissingOrTruncatedFiles) {
    TempDir dir;
    std::vector<int16_t> coefficients(kCount);
    CFIRFile file;
    EXPECT_EQ(errorCodeOf([&] { file.read(coefficients.data(), 0); }), 1009) << "nothing open";
    file.open(dir.write("ir.wav", wavFile({}, kStereo16)).c_str());
    EXPECT_EQ(file.getChannels(), 2);
    for (int channel : {2, -1, 100})
        EXPECT_EQ(errorCodeOf([&] { file.read(coefficients.data(), channel); }), 1009) << channel;
    file.close();
    EXPECT_EQ(file.getChannels(), -1);
    EXPECT_EQ(errorCodeOf([&] { file.read(coefficients.data(), 0); }), 1009) << "closed";
    EXPECT_EQ(errorCodeOf([&] { file.open(dir.path("none.wav").c_str()); }), 1005);
    EXPECT_EQ(errorCodeOf([&] {
                  file.open(dir.write("bad.wav", wavFile({.sampleRate = 22050}, kStereo16)).c_str());
              }),
              1007);
    EXPECT_EQ(errorCodeOf([&] { file.read(coefficients.data(), 0); }), 1009) << "invalid file";
    // Truncated sample data is a read error, never a silent impulse response.
    Bytes truncated = wav({.channels = 1}, noise(1000, 16, 3));
    truncated.resize(truncated.size() - 100);
    file.open(dir.write("cut.wav", truncated).c_str());
    EXPECT_EQ(errorCodeOf([&] { file.read(coefficients.data(), 0); }), 1009) << "truncated";
}

TEST(FIRFile, namesWriteAtMost63BytesZeroFilledAndEmptySourcesAreUntitled) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "Untitled"},
        {"Greenback 4x12", "Greenback 4x12"},
        {std::string(70, 'a'), std::string(63, 'a')},
        {std::string(62, 'c') + "\xC3\xA9", std::string(62, 'c') + "\xC3"},
    };
    for (const auto& [source, expected] : cases) {
        char name[CFIRFile::kNameSize];
        std::fill(std::begin(name), std::end(name), '\x55');
        CFIRFile::makeFirName(name, source.c_str());
        EXPECT_EQ(std::string(name, sizeof name), expected + std::string(sizeof name - expected.size(), '\0'))
            << source;
    }
}

}  // namespace
