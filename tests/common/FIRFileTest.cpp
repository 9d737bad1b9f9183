#include "common/FIRFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/GenericException.h"
#include "eLibrary/AudioFileBuilder.h"

namespace {

using namespace testaudio;
constexpr auto LE = ByteOrder::LittleEndian;
constexpr auto BE = ByteOrder::BigEndian;
constexpr int kCount = CFIRFile::kCoefficientCount;

// The error code `action` throws, or 0 when it throws nothing.
template <typename Action>
int thrownCode(Action action) {
    try {
        action();
    } catch (const mstd::CGenericException& e) {
        EXPECT_EQ(e.getOSErrorCode(), 0);
        EXPECT_EQ(e.getErrFileName(), "");
        return e.getErrorCode();
    }
    return 0;
}

std::vector<int16_t> readCoefficients(const std::string& path, int channel) {
    CFIRFile file;
    file.open(path.c_str());
    std::vector<int16_t> coefficients(kCount, 0x5555);
    file.read(coefficients.data(), channel);
    return coefficients;
}

struct AudioTypeCase {
    const char* path;
    int type;
};

TEST(FIRFileAudioType, choosesByExtensionRegardlessOfCase) {
    const AudioTypeCase cases[] = {
        {"ir.wav", 1},  {"IR.WAV", 1},  {"/a/b/c.Wav", 1}, {"ir.aif", 2},     {"ir.AIFF", 2},
        {"ir.Aiff", 2}, {"ir.wave", 0}, {"ir", 0},         {"dir.wav/ir", 0}, {"ir.aiff.txt", 0},
        {"ir.", 0},     {".wav", 1},    {"ir.wav ", 0},    {"ir.aifc", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFIRFile::getAudioType(c.path), c.type) << c.path;
}

struct OpenCase {
    const char* label;
    const char* name;
    Bytes bytes;
    int code;

    friend void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.label; }
};

class FIRFileOpen : public testing::TestWithParam<OpenCase> {};

TEST_P(FIRFileOpen, refusesWithTheCodeOfTheFirstReason) {
    const OpenCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.write(c.name, c.bytes);
    CFIRFile file;
    EXPECT_EQ(thrownCode([&] { file.open(path.c_str()); }), c.code);
    EXPECT_EQ(file.getChannels(), c.code == 0 ? 2 : -1);
}

const Bytes kStereo16 = wavSamples(16, {1, 2, 3, 4});

INSTANTIATE_TEST_SUITE_P(
    Files, FIRFileOpen,
    testing::Values(
        OpenCase{"validWave", "ir.wav", wavFile({}, kStereo16), 0},
        OpenCase{"validAiff", "ir.aiff", aiffFile({}, aiffSamples(16, {1, 2, 3, 4})), 0},
        OpenCase{"waveExtensionIsNotSupported", "ir.wave", wavFile({}, kStereo16), 1005},
        OpenCase{"noExtension", "ir", wavFile({}, kStereo16), 1005},
        OpenCase{"rateIsBlamedBeforeChannelsAndSize", "ir.wav",
                 wavFile({.channels = 3, .sampleRate = 48000, .bits = 8}, wavSamples(8, {1, 2, 3})), 1007},
        OpenCase{"rate48000Stereo24", "ir.wav", wavFile({.sampleRate = 48000, .bits = 24}, Bytes(6, 0)),
                 1007},
        OpenCase{"channelsBeforeSize", "ir.wav",
                 wavFile({.channels = 3, .bits = 8}, wavSamples(8, {1, 2, 3})), 1006},
        OpenCase{"threeChannels", "ir.wav", wavFile({.channels = 3}, wavSamples(16, {1, 2, 3})), 1006},
        OpenCase{"eightBitMono", "ir.wav", wavFile({.channels = 1, .bits = 8}, wavSamples(8, {1, 2})), 1008},
        OpenCase{"aiffRate48000", "ir.aif", aiffFile({.sampleRate = 48000}, aiffSamples(16, {1, 2})), 1007},
        OpenCase{"aiffTwelveBits", "ir.aif", aiffFile({.channels = 1, .bits = 12}, aiffSamples(12, {1})),
                 1008},
        OpenCase{"extensibleWithoutSubFormat", "ir.wav", wavFile({.formatTag = 0xFFFE}, kStereo16),
                 1005},
        OpenCase{"noDataChunk", "ir.wav", riffWave(chunk("fmt ", fmtData({}), LE)), 1005},
        // Files without a container or format chunk are not blamed on their sample rate.
        OpenCase{"emptyFile", "ir.wav", Bytes{}, 1005},
        OpenCase{"textFile", "ir.wav", Bytes{'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o', '\n'}, 1005},
        OpenCase{"noFmtChunk", "ir.wav", riffWave(chunk("data", kStereo16, LE)), 1005},
        OpenCase{"fmtCutShort", "ir.wav", riffWave(id("fmt ") + u32(16, LE) + Bytes{1, 0, 2, 0, 0x44, 0xAC}),
                 1005},
        OpenCase{"aiffWithoutComm", "ir.aif", formAiff(chunk("SSND", ssndData(kStereo16), BE)), 1005},
        OpenCase{"wavBytesNamedAiff", "ir.aif", wavFile({}, kStereo16), 1005},
        OpenCase{"aifcForm", "ir.aif", chunk("FORM", id("AIFC") + chunk("COMM", commData({}, 1), BE), BE),
                 1005}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FIRFileOpen, missingFileCannotBeOpened) {
    TempDir dir;
    CFIRFile file;
    EXPECT_EQ(thrownCode([&] { file.open(dir.path("none.wav").c_str()); }), 1005);
}

TEST(FIRFileRead, shortFileIsZeroFilled) {
    TempDir dir;
    const std::vector<int32_t> values = noise(100, 16, 1);
    const auto coefficients =
        readCoefficients(dir.write("ir.wav", wavFile({.channels = 1}, wavSamples(16, values))), 0);
    EXPECT_TRUE(std::equal(values.begin(), values.end(), coefficients.begin()));
    EXPECT_TRUE(
        std::all_of(coefficients.begin() + 100, coefficients.end(), [](int16_t c) { return c == 0; }));
}

TEST(FIRFileRead, readsOnlyTheFirst2048Frames) {
    TempDir dir;
    const std::vector<int32_t> values = noise(3000, 16, 2);
    const auto coefficients =
        readCoefficients(dir.write("ir.wav", wavFile({.channels = 1}, wavSamples(16, values))), 0);
    EXPECT_TRUE(std::equal(coefficients.begin(), coefficients.end(), values.begin()));
}

TEST(FIRFileRead, thirtyTwoBitSamplesKeepTheirUpperHalfTruncatedDown) {
    TempDir dir;
    const auto coefficients = readCoefficients(
        dir.write("ir.wav",
                  wavFile({.channels = 1, .bits = 32}, wavSamples(32, {0x12345678, -1, -65535, -65536}))),
        0);
    EXPECT_EQ(coefficients[0], 0x1234);
    EXPECT_EQ(coefficients[1], -1);
    EXPECT_EQ(coefficients[2], -1);
    EXPECT_EQ(coefficients[3], -1);
    EXPECT_EQ(coefficients[4], 0);
}

TEST(FIRFileRead, twentyFourBitSamplesKeepTheirTopSixteenBits) {
    TempDir dir;
    const auto coefficients = readCoefficients(
        dir.write("ir.aiff",
                  aiffFile({.channels = 1, .bits = 24}, aiffSamples(24, {0x123456, -1, -0x800000}))),
        0);
    EXPECT_EQ(coefficients[0], 0x1234);
    EXPECT_EQ(coefficients[1], -1);
    EXPECT_EQ(coefficients[2], -32768);
}

TEST(FIRFileRead, picksTheRequestedChannel) {
    TempDir dir;
    const std::string path = dir.write("ir.wav", wavFile({}, wavSamples(16, {10, -10, 20, -20})));
    const auto left = readCoefficients(path, 0);
    const auto right = readCoefficients(path, 1);
    EXPECT_EQ(std::vector<int16_t>(left.begin(), left.begin() + 3), (std::vector<int16_t>{10, 20, 0}));
    EXPECT_EQ(std::vector<int16_t>(right.begin(), right.begin() + 3), (std::vector<int16_t>{-10, -20, 0}));
}

TEST(FIRFileRead, rightChannelOfAMonoFileIsSilence) {
    TempDir dir;
    const auto coefficients =
        readCoefficients(dir.write("ir.wav", wavFile({.channels = 1}, wavSamples(16, {10, 20, 30}))), 1);
    EXPECT_TRUE(std::all_of(coefficients.begin(), coefficients.end(), [](int16_t c) { return c == 0; }));
}

TEST(FIRFileRead, readingAgainStartsFromTheFirstFrame) {
    TempDir dir;
    CFIRFile file;
    file.open(dir.write("ir.wav", wavFile({.channels = 1}, wavSamples(16, {7, 8, 9}))).c_str());
    std::vector<int16_t> first(kCount), second(kCount);
    file.read(first.data(), 0);
    file.read(second.data(), 0);
    EXPECT_EQ(first, second);
    EXPECT_EQ(second[0], 7);
}

TEST(FIRFileRead, refusesBadChannelsAndMissingFiles) {
    TempDir dir;
    const std::string valid = dir.write("ir.wav", wavFile({}, kStereo16));
    const std::string invalid = dir.write("bad.wav", wavFile({.sampleRate = 22050}, kStereo16));
    std::vector<int16_t> coefficients(kCount);
    CFIRFile file;
    EXPECT_EQ(thrownCode([&] { file.read(coefficients.data(), 0); }), 1009) << "nothing open";
    file.open(valid.c_str());
    for (int channel : {2, -1, 100})
        EXPECT_EQ(thrownCode([&] { file.read(coefficients.data(), channel); }), 1009) << channel;
    file.close();
    EXPECT_EQ(file.getChannels(), -1);
    EXPECT_EQ(thrownCode([&] { file.read(coefficients.data(), 0); }), 1009) << "closed";
    EXPECT_EQ(thrownCode([&] { file.open(invalid.c_str()); }), 1007);
    EXPECT_EQ(thrownCode([&] { file.read(coefficients.data(), 0); }), 1009) << "invalid file";
}

TEST(FIRFileRead, dataCutShortIsAReadErrorNotSilence) {
    TempDir dir;
    Bytes bytes = wavFile({.channels = 1}, wavSamples(16, noise(1000, 16, 3)));
    bytes.resize(bytes.size() - 100);
    const std::string path = dir.write("ir.wav", bytes);
    CFIRFile file;
    file.open(path.c_str());
    std::vector<int16_t> coefficients(kCount);
    EXPECT_EQ(thrownCode([&] { file.read(coefficients.data(), 0); }), 1009);
}

TEST(FIRFileRead, fileWithoutFramesGivesSilence) {
    TempDir dir;
    const std::string path =
        dir.write("ir.aif", formAiff(chunk("COMM", commData({}, 0), BE) + chunk("SSND", ssndData({}), BE)));
    const auto coefficients = readCoefficients(path, 0);
    EXPECT_TRUE(std::all_of(coefficients.begin(), coefficients.end(), [](int16_t c) { return c == 0; }));
}

TEST(FIRFileName, writesAtMost63BytesAndNamesEmptySourcesUntitled) {
    struct Case {
        std::string source;
        std::string expected;
    };
    const Case cases[] = {
        {"", "Untitled"},
        {"Greenback 4x12", "Greenback 4x12"},
        {std::string(70, 'a'), std::string(63, 'a')},
        {std::string(63, 'b'), std::string(63, 'b')},
        {std::string(62, 'c') + "\xC3\xA9", std::string(62, 'c') + "\xC3"},
    };
    for (const auto& c : cases) {
        char name[CFIRFile::kNameSize];
        std::fill(std::begin(name), std::end(name), '\x55');
        CFIRFile::makeFirName(name, c.source.c_str());
        EXPECT_EQ(std::string(name), c.expected) << c.source;
        EXPECT_EQ(name[CFIRFile::kNameSize - 1], '\0');
        if (!c.source.empty()) {
            EXPECT_TRUE(std::all_of(name + c.expected.size(), name + 64, [](char ch) { return ch == 0; }));
        }
    }
}

}  // namespace
