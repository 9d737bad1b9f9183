#include "eLibrary/AiffFormat.h"

#include <gtest/gtest.h>

#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;
constexpr auto BE = ByteOrder::BigEndian;

const Bytes kFour = aiffSamples(16, kFourStereoFrames);

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
        {"plain", aiffFile({}, kFour), "VRCSF", 4, kFourLeft},
        {"soundOffsetSkipsBytes", formAiff(comm() + ssnd(kFour, 4)), "VRCSF", 4, kFourLeft},
        {"commAfterSsndAndOddChunk", formAiff(ssnd() + chunk("NAME", {'i', 'r', '1'}, BE) + comm()), "VRCSF",
         4, kFourLeft},
        {"formLargerThanFile", chunk("FORM", id("AIFF") + comm() + ssnd(), BE, 4000), "VRCSF", 4, kFourLeft},
        {"ssndOneByteLonger", formAiff(comm() + ssnd(kFour + Bytes{0})), "-RCSF", 4, kFourLeft},
        // The frame count is COMM's; reads stop at the frames the sound chunk holds.
        {"commFramesDisagreeWithSsnd", formAiff(comm(9) + ssnd()), "-RCSF", 9, kFourLeft},
        {"longerCommChunk", formAiff(chunk("COMM", commData({}, 4) + id("NONE") + Bytes{0, 0}, BE) + ssnd()),
         "-RCSF", 4, kFourLeft},
        {"rate48000", aiffFile({.sampleRate = 48000}, kFour), "--CSF", 4, kFourLeft},
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
        {"aifcFormRefused", chunk("FORM", id("AIFC") + comm() + ssnd(), BE), "-RCS-", 4, kFourLeft},
        {"noCommRefused", formAiff(ssnd()), "-----", 0, {}},
        {"commCutByEndOfFile",
         formAiff(id("COMM") + u32(18, BE) + Bytes{0, 2, 0, 0, 0, 4, 0, 16}),
         "--CS-",
         4,
         {}}}),
    testing::PrintToStringParamName());

// The 80-bit rate as five 16-bit words, and what the reader makes of it.
struct RateCase {
    const char* label;
    std::vector<int32_t> words;
    int32_t sampleRate;
    int32_t bitRate;
    bool valid;

    friend void PrintTo(const RateCase& c, std::ostream* os) { *os << c.label; }
};

class AiffSampleRate : public testing::TestWithParam<RateCase> {};

TEST_P(AiffSampleRate, decodesTheExtendedNumberAndSaturates) {
    const RateCase& c = GetParam();
    const Bytes comm = u16(2, BE) + u32(4, BE) + u16(16, BE) + integers(16, c.words, BE);
    MemoryInputStream stream(formAiff(chunk("COMM", comm, BE) + ssnd()));
    eLibrary::AiffFormatReader reader(stream);
    EXPECT_EQ(reader.getSampleRate(), c.sampleRate);
    EXPECT_EQ(reader.getBitRate(), c.bitRate);
    EXPECT_EQ(reader.validSampeRate(), c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, AiffSampleRate,
    testing::ValuesIn(std::vector<RateCase>{
        {"lowMantissaBitsDropped", {0x400E, 0xAC44, 0, 0, 0x07FF}, 44100, 1411200, true},
        {"zeroBytesDecodeAsTwo", {0, 0, 0, 0, 0}, 2, 64, false},
        {"hugeRateSaturates", {0x43FE, 0x8000, 0, 0, 0}, INT32_MAX, INT32_MAX, false},
        {"negativeRateSaturates", {0xC3FE, 0x8000, 0, 0, 0}, INT32_MIN, INT32_MIN, false},
        {"notANumberIsRefused", {0x43FF, 0xC000, 0, 0, 0}, 0, 0, false}}),
    testing::PrintToStringParamName());

}  // namespace
