#include "eLibrary/AiffFormat.h"

#include <gtest/gtest.h>

#include "eLibrary/MemoryInputStream.h"
#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;
using eLibrary::AiffFormatReader;
constexpr auto BE = ByteOrder::BigEndian;

const Bytes kFourStereoFrames = aiffSamples(16, {1, -1, 2, -2, 3, -3, 4, -4});

Bytes commChunk(const AiffFormat& format, uint32_t frames) {
    return chunk("COMM", commData(format, frames), BE);
}
Bytes ssndChunk(const Bytes& samples, uint32_t offset = 0) {
    return chunk("SSND", ssndData(samples, offset), BE);
}
// The offset is declared but no offset bytes are written.
Bytes ssndWithSize(uint32_t size, uint32_t offset, const Bytes& samples) {
    return chunkWithSize("SSND", size, u32(offset, BE) + u32(0, BE) + samples, BE);
}

constexpr Verdicts kValid{true, true, true, true, true};

class AiffValidity : public testing::TestWithParam<ValidityCase> {};

TEST_P(AiffValidity, judgesTheFile) {
    MemoryInputStream stream(GetParam().file);
    AiffFormatReader reader(stream);
    EXPECT_EQ(verdictsOf(reader), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AiffValidity,
    testing::Values(
        ValidityCase{"plain", aiffFile({}, kFourStereoFrames), kValid},
        ValidityCase{"soundOffsetFour", formAiff(commChunk({}, 4) + ssndChunk(kFourStereoFrames, 4)), kValid},
        ValidityCase{"commAfterSsnd", formAiff(ssndChunk(kFourStereoFrames) + commChunk({}, 4)), kValid},
        ValidityCase{
            "otherChunksSkipped",
            formAiff(chunk("NAME", {'i', 'r', '1'}, BE) + commChunk({}, 4) + ssndChunk(kFourStereoFrames)),
            kValid},
        ValidityCase{
            "formLargerThanFile",
            chunkWithSize("FORM", 4000, id("AIFF") + commChunk({}, 4) + ssndChunk(kFourStereoFrames), BE),
            kValid},
        ValidityCase{"ssndOneByteLonger",
                     formAiff(commChunk({}, 4) + ssndChunk(kFourStereoFrames + Bytes{0})),
                     {false, true, true, true, true}},
        ValidityCase{"framesDisagreeWithSsnd",
                     formAiff(commChunk({}, 5) + ssndChunk(kFourStereoFrames)),
                     {false, true, true, true, true}},
        ValidityCase{"aifcForm",
                     chunk("FORM", id("AIFC") + commChunk({}, 4) + ssndChunk(kFourStereoFrames), BE),
                     {false, true, true, true, false}},
        ValidityCase{"longerCommChunk",
                     formAiff(chunk("COMM", commData({}, 4) + id("NONE") + Bytes{0, 0}, BE) +
                              ssndChunk(kFourStereoFrames)),
                     {false, true, true, true, true}},
        ValidityCase{"rate48000",
                     aiffFile({.sampleRate = 48000}, kFourStereoFrames),
                     {false, false, true, true, true}},
        ValidityCase{"threeChannels",
                     aiffFile({.channels = 3}, aiffSamples(16, {1, 2, 3})),
                     {false, true, false, true, true}},
        ValidityCase{
            "eightBits", aiffFile({.bits = 8}, aiffSamples(8, {1, 2})), {false, true, true, false, true}},
        ValidityCase{"emptyFile", {}, {false, false, false, false, false}},
        ValidityCase{"noComm", formAiff(ssndChunk(kFourStereoFrames)), {false, false, false, false, false}},
        ValidityCase{"commCutByEndOfFile",
                     formAiff(id("COMM") + u32(18, BE) + Bytes{0, 2, 0, 0, 0, 4, 0, 16}),
                     {false, false, true, true, false}},
        ValidityCase{"wavFile",
                     chunk("RIFF", id("WAVE"), ByteOrder::LittleEndian),
                     {false, false, false, false, false}},
        // In 32-bit arithmetic these sizes would wrap around to the declared size.
        ValidityCase{"offsetWrapsAround",
                     formAiff(commChunk({}, 4) + ssndWithSize(16, 0xFFFFFFF8, kFourStereoFrames)),
                     {false, true, true, true, true}},
        ValidityCase{"frameBytesWrapAround",
                     formAiff(commChunk({}, 0x40000000) + ssndChunk({})),
                     {false, true, true, true, true}}),
    validityCaseName);

TEST(AiffFormatReader, plainFileAnswersItsFormat) {
    const Bytes file = aiffFile({}, kFourStereoFrames);
    MemoryInputStream stream(file);
    AiffFormatReader reader(stream);
    EXPECT_EQ(reader.getChannels(), 2);
    EXPECT_EQ(reader.getSampleRate(), 44100);
    EXPECT_EQ(reader.getSampleSize(), 16);
    EXPECT_EQ(reader.getSampleFrames(), 4);
    EXPECT_EQ(reader.getBitRate(), 1411200);
    EXPECT_EQ(reader.tellPcm(), 0);
    EXPECT_EQ(stream.tell(), reader.soundChunk().position + 8);
}

TEST(AiffFormatReader, readsTheSameFramesWhateverTheLayout) {
    const Bytes layouts[] = {
        aiffFile({}, kFourStereoFrames),
        formAiff(commChunk({}, 4) + ssndChunk(kFourStereoFrames, 4)),
        formAiff(ssndChunk(kFourStereoFrames) + commChunk({}, 4)),
        chunkWithSize("FORM", 4000, id("AIFF") + commChunk({}, 4) + ssndChunk(kFourStereoFrames), BE),
    };
    for (const Bytes& file : layouts) {
        MemoryInputStream stream(file);
        AiffFormatReader reader(stream);
        ASSERT_TRUE(reader.seekPcm(0));
        const auto channels = readChannels<int16_t>(reader, 2, 10);
        EXPECT_EQ(channels[0], (std::vector<int16_t>{1, 2, 3, 4}));
        EXPECT_EQ(channels[1], (std::vector<int16_t>{-1, -2, -3, -4}));
    }
}

struct RateCase {
    const char* label;
    Bytes extended;
    double decoded;
    int32_t sampleRate;
    bool valid;

    friend void PrintTo(const RateCase& c, std::ostream* os) { *os << c.label; }
};

class AiffSampleRate : public testing::TestWithParam<RateCase> {};

TEST_P(AiffSampleRate, decodesTheExtendedNumber) {
    const RateCase& c = GetParam();
    const Bytes comm = u16(2, BE) + u32(4, BE) + u16(16, BE) + c.extended;
    MemoryInputStream stream(formAiff(chunk("COMM", comm, BE) + ssndChunk(kFourStereoFrames)));
    AiffFormatReader reader(stream);
    EXPECT_EQ(reader.commonChunk().sampleRate, c.decoded);
    EXPECT_EQ(reader.getSampleRate(), c.sampleRate);
    EXPECT_EQ(reader.validSampeRate(), c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, AiffSampleRate,
    testing::Values(
        RateCase{"rate44100", {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 44100.0, 44100, true},
        RateCase{"rate48000", {0x40, 0x0E, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, 48000.0, 48000, false},
        RateCase{"zeroBytesDecodeAsTwo", Bytes(10, 0), 2.0, 2, false},
        RateCase{
            "lowMantissaBitsDropped", {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0x07, 0xFF}, 44100.0, 44100, true},
        RateCase{"hugeRateSaturates", {0x43, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0x1p1023, INT32_MAX, false},
        RateCase{
            "negativeRateSaturates", {0xC3, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0}, -0x1p1023, INT32_MIN, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(AiffFormatReader, notANumberRateIsRefusedWithoutUndefinedConversion) {
    const Bytes comm = u16(2, BE) + u32(4, BE) + u16(16, BE) + Bytes{0x43, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    MemoryInputStream stream(formAiff(chunk("COMM", comm, BE) + ssndChunk(kFourStereoFrames)));
    AiffFormatReader reader(stream);
    EXPECT_FALSE(reader.validSampeRate());
    EXPECT_EQ(reader.getSampleRate(), 0);
    EXPECT_EQ(reader.getBitRate(), 0);
}

TEST(AiffFormatReader, eightBitSamplesAreSigned) {
    MemoryInputStream stream(aiffFile({.channels = 1, .bits = 8}, Bytes{0x80, 0x7F}));
    AiffFormatReader reader(stream);
    EXPECT_EQ(readChannels<int16_t>(reader, 1, 2)[0], (std::vector<int16_t>{-32768, 32512}));
    ASSERT_TRUE(reader.seekPcm(0));
    EXPECT_EQ(readChannels<float>(reader, 1, 2)[0], (std::vector<float>{-1.0f, 0.9921875f}));
}

TEST(AiffFormatReader, soundOffsetSkipsBytesBeforeTheFirstFrame) {
    MemoryInputStream stream(
        formAiff(commChunk({.channels = 1}, 2) + ssndChunk(aiffSamples(16, {300, -300}), 4)));
    AiffFormatReader reader(stream);
    EXPECT_EQ(stream.tell(), reader.soundChunk().position + 12);
    EXPECT_EQ(readChannels<int16_t>(reader, 1, 4)[0], (std::vector<int16_t>{300, -300}));
}

TEST(AiffFormatReader, sampleFramesComeFromCommAsStored) {
    MemoryInputStream stream(formAiff(commChunk({}, 9) + ssndChunk(kFourStereoFrames)));
    AiffFormatReader reader(stream);
    EXPECT_EQ(reader.getSampleFrames(), 9);
    int32_t delivered = -1;
    readChannels<int16_t>(reader, 2, 9, &delivered);
    EXPECT_EQ(delivered, 4) << "reads stop at the frames the sound chunk holds";
}

TEST(AiffFormatReader, twentyFourBitStereoAcrossBlocks) {
    const std::vector<int32_t> values = noise(1200, 24, 11);
    MemoryInputStream stream(aiffFile({.bits = 24}, aiffSamples(24, values)));
    AiffFormatReader reader(stream);
    ASSERT_TRUE(reader.valid());
    const auto channels = readChannels<int32_t>(reader, 2, 600);
    const auto expected = deinterleave(values, 2);
    for (int c = 0; c < 2; ++c) {
        ASSERT_EQ(channels[c].size(), 600u);
        for (size_t i = 0; i < 600; ++i)
            ASSERT_EQ(channels[c][i], expected[c][i] * 256) << "channel " << c << " frame " << i;
    }
}

}  // namespace
