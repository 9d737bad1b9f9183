#include "eLibrary/AiffFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;
constexpr auto BE = ByteOrder::BigEndian;

const Bytes kFour = aiffSamples(16, kFourStereoFrames);
const std::vector<int16_t> kLeft = {1, 2, 3, 4};

Bytes comm(uint32_t frames = 4, const Format& format = {}) {
    return chunk("COMM", commData(format, frames), BE);
}
Bytes ssnd(const Bytes& samples = kFour, uint32_t offset = 0) {
    return chunk("SSND", ssndData(samples, offset), BE);
}

class AiffFiles : public testing::TestWithParam<ReaderCase> {};

TEST_P(AiffFiles, areJudgedAndReadByTheirChunks) {
    expectJudgedAndRead<eLibrary::AiffFormatReader>(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AiffFiles,
    testing::ValuesIn(std::vector<ReaderCase>{
        {"plain", aiffFile({}, kFour), "VRCSF", 4, kLeft},
        {"soundOffsetSkipsBytes", formAiff(comm() + ssnd(kFour, 4)), "VRCSF", 4, kLeft},
        {"commAfterSsndAndOddChunk", formAiff(ssnd() + chunk("NAME", {'i', 'r', '1'}, BE) + comm()), "VRCSF",
         4, kLeft},
        {"formLargerThanFile", chunk("FORM", id("AIFF") + comm() + ssnd(), BE, 4000), "VRCSF", 4, kLeft},
        {"ssndOneByteLonger", formAiff(comm() + ssnd(kFour + Bytes{0})), "-RCSF", 4, kLeft},
        // The frame count is COMM's; reads stop at the frames the sound chunk holds.
        {"commFramesDisagreeWithSsnd", formAiff(comm(9) + ssnd()), "-RCSF", 9, kLeft},
        {"longerCommChunk", formAiff(chunk("COMM", commData({}, 4) + id("NONE") + Bytes{0, 0}, BE) + ssnd()),
         "-RCSF", 4, kLeft},
        {"rate48000", aiffFile({.sampleRate = 48000}, kFour), "--CSF", 4, kLeft},
        {"threeChannels", aiffFile({.channels = 3}, aiffSamples(16, {1, 2, 3})), "-R-SF", 1, {1}},
        {"zeroChannels", aiffFile({.channels = 0}, kFour), "-R-SF", 0, {}},
        {"eightBitsSigned",
         aiffFile({.channels = 1, .bits = 8}, aiffSamples(8, {-128, 127})),
         "-RC-F",
         2,
         {-32768, 32512}},
        // In 32-bit arithmetic these sizes would wrap around to the declared size.
        {"soundOffsetWrapsAround",
         formAiff(comm() + chunk("SSND", u32(0xFFFFFFF8, BE) + u32(0, BE) + kFour, BE, 16)),
         "-RCSF",
         4,
         {}},
        {"frameBytesWrapAround", formAiff(comm(0x40000000) + ssnd({})), "-RCSF", 0x40000000, {}},
        {"emptyFileRefused", {}, "-----", 0, {}},
        {"wavFileRefused", chunk("RIFF", id("WAVE"), ByteOrder::LittleEndian), "-----", 0, {}},
        {"aifcFormRefused", chunk("FORM", id("AIFC") + comm() + ssnd(), BE), "-RCS-", 4, kLeft},
        {"noCommRefused", formAiff(ssnd()), "-----", 0, {}},
        {"commTruncatedByEndOfFile",
         formAiff(id("COMM") + u32(18, BE) + Bytes{0, 2, 0, 0, 0, 4, 0, 16}),
         "--CS-",
         4,
         {}}}),
    testing::PrintToStringParamName());

struct RateCase {
    const char* label;
    Bytes extended;
    double decoded;
    int32_t sampleRate;
    int32_t bitRate;
    bool valid;

    friend void PrintTo(const RateCase& c, std::ostream* os) { *os << c.label; }
};

class AiffSampleRate : public testing::TestWithParam<RateCase> {};

TEST_P(AiffSampleRate, decodesTheExtendedNumberAndSaturates) {
    const RateCase& c = GetParam();
    MemoryInputStream stream(
        formAiff(chunk("COMM", u16(2, BE) + u32(4, BE) + u16(16, BE) + c.extended, BE) + ssnd()));
    eLibrary::AiffFormatReader reader(stream);
    EXPECT_EQ(std::bit_cast<uint64_t>(reader.commonChunk().sampleRate), std::bit_cast<uint64_t>(c.decoded));
    EXPECT_EQ(reader.getSampleRate(), c.sampleRate);
    EXPECT_EQ(reader.getBitRate(), c.bitRate);
    EXPECT_EQ(reader.validSampeRate(), c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, AiffSampleRate,
    testing::ValuesIn(std::vector<RateCase>{
        {"rate44100", {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 44100.0, 44100, 1411200, true},
        {"rate48000", {0x40, 0x0E, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, 48000.0, 48000, 1536000, false},
        {"zeroBytesDecodeAsTwo", Bytes(10, 0), 2.0, 2, 64, false},
        {"lowMantissaBitsDropped",
         {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0x07, 0xFF},
         44100.0,
         44100,
         1411200,
         true},
        {"hugeRateSaturates", {0x43, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0x1p1023, INT32_MAX, INT32_MAX, false},
        {"negativeRateSaturates",
         {0xC3, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0},
         -0x1p1023,
         INT32_MIN,
         INT32_MIN,
         false},
        {"notANumberIsRefusedWithoutUndefinedConversion",
         {0x43, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0},
         std::numeric_limits<double>::quiet_NaN(),
         0,
         0,
         false}}),
    testing::PrintToStringParamName());

}  // namespace
