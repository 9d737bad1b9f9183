#include "eLibrary/AiffFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;
constexpr auto BE = ByteOrder::BigEndian;

const Bytes kFour = aiffSamples(16, kFourStereoFrames);

Bytes commChunk(uint32_t frames, const Format& format = {}) {
    return chunk("COMM", commData(format, frames), BE);
}
Bytes ssndChunk(const Bytes& samples, uint32_t offset = 0) {
    return chunk("SSND", ssndData(samples, offset), BE);
}

class AiffFiles : public testing::TestWithParam<ReaderCase> {};

TEST_P(AiffFiles, areJudgedAndReadByTheirChunks) {
    expectJudgedAndRead<eLibrary::AiffFormatReader>(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AiffFiles,
    testing::Values(
        ReaderCase{"plain", aiffFile({}, kFour), "VRCSF", 4, 4},
        ReaderCase{"soundOffsetSkipsBytes", formAiff(commChunk(4) + ssndChunk(kFour, 4)), "VRCSF", 4, 4},
        ReaderCase{"commAfterSsndAndOddChunk",
                   formAiff(ssndChunk(kFour) + chunk("NAME", {'i', 'r', '1'}, BE) + commChunk(4)), "VRCSF", 4,
                   4},
        ReaderCase{"formLargerThanFile",
                   chunkWithSize("FORM", 4000, id("AIFF") + commChunk(4) + ssndChunk(kFour), BE), "VRCSF", 4,
                   4},
        ReaderCase{"ssndOneByteLonger", formAiff(commChunk(4) + ssndChunk(kFour + Bytes{0})), "-RCSF", 4, 4},
        // The frame count is COMM's; reads stop at the frames the sound chunk holds.
        ReaderCase{"commFramesDisagreeWithSsnd", formAiff(commChunk(9) + ssndChunk(kFour)), "-RCSF", 9, 4},
        ReaderCase{"longerCommChunk",
                   formAiff(chunk("COMM", commData({}, 4) + id("NONE") + Bytes{0, 0}, BE) + ssndChunk(kFour)),
                   "-RCSF", 4, 4},
        ReaderCase{"rate48000", aiffFile({.sampleRate = 48000}, kFour), "--CSF", 4, 4},
        ReaderCase{"threeChannels", aiffFile({.channels = 3}, aiffSamples(16, {1, 2, 3})), "-R-SF", 1, 1},
        ReaderCase{"zeroChannels", aiffFile({.channels = 0}, kFour), "-R-SF", 0, 0},
        ReaderCase{"eightBits", aiffFile({.bits = 8}, aiffSamples(8, {1, 2})), "-RC-F", 1, 1},
        // In 32-bit arithmetic these sizes would wrap around to the declared size.
        ReaderCase{
            "soundOffsetWrapsAround",
            formAiff(commChunk(4) + chunkWithSize("SSND", 16, u32(0xFFFFFFF8, BE) + u32(0, BE) + kFour, BE)),
            "-RCSF", 4, 0},
        ReaderCase{"frameBytesWrapAround", formAiff(commChunk(0x40000000) + ssndChunk({})), "-RCSF",
                   0x40000000, 0},
        ReaderCase{"emptyFileRefused", {}, "-----", 0, 0},
        ReaderCase{"wavFileRefused", chunk("RIFF", id("WAVE"), ByteOrder::LittleEndian), "-----", 0, 0},
        ReaderCase{"aifcFormRefused", chunk("FORM", id("AIFC") + commChunk(4) + ssndChunk(kFour), BE),
                   "-RCS-", 4, 4},
        ReaderCase{"noCommRefused", formAiff(ssndChunk(kFour)), "-----", 0, 0},
        ReaderCase{"commTruncatedByEndOfFile",
                   formAiff(id("COMM") + u32(18, BE) + Bytes{0, 2, 0, 0, 0, 4, 0, 16}), "--CS-", 4, 0}),
    readerCaseName);

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
    const Bytes comm = u16(2, BE) + u32(4, BE) + u16(16, BE) + c.extended;
    MemoryInputStream stream(formAiff(chunk("COMM", comm, BE) + ssndChunk(kFour)));
    eLibrary::AiffFormatReader reader(stream);
    EXPECT_EQ(std::bit_cast<uint64_t>(reader.commonChunk().sampleRate), std::bit_cast<uint64_t>(c.decoded));
    EXPECT_EQ(reader.getSampleRate(), c.sampleRate);
    EXPECT_EQ(reader.getBitRate(), c.bitRate);
    EXPECT_EQ(reader.validSampeRate(), c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, AiffSampleRate,
    testing::Values(
        RateCase{"rate44100", {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 44100.0, 44100, 1411200, true},
        RateCase{"rate48000", {0x40, 0x0E, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, 48000.0, 48000, 1536000, false},
        RateCase{"zeroBytesDecodeAsTwo", Bytes(10, 0), 2.0, 2, 64, false},
        RateCase{"lowMantissaBitsDropped",
                 {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0x07, 0xFF},
                 44100.0,
                 44100,
                 1411200,
                 true},
        RateCase{"hugeRateSaturates",
                 {0x43, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0},
                 0x1p1023,
                 INT32_MAX,
                 INT32_MAX,
                 false},
        RateCase{"negativeRateSaturates",
                 {0xC3, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0},
                 -0x1p1023,
                 INT32_MIN,
                 INT32_MIN,
                 false},
        RateCase{"notANumberIsRefusedWithoutUndefinedConversion",
                 {0x43, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0},
                 std::numeric_limits<double>::quiet_NaN(),
                 0,
                 0,
                 false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
