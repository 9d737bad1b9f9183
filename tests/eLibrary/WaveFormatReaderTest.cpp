#include "eLibrary/WaveFormat.h"

#include <gtest/gtest.h>

#include "eLibrary/MemoryInputStream.h"
#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;
using eLibrary::WaveFormatReader;
constexpr auto LE = ByteOrder::LittleEndian;

const Bytes kFourStereoFrames = wavSamples(16, {1, -1, 2, -2, 3, -3, 4, -4});

Bytes fmtChunk(const WavFormat& format) {
    return chunk("fmt ", fmtData(format), LE);
}
Bytes dataChunk(const Bytes& samples) {
    return chunk("data", samples, LE);
}

class WaveValidity : public testing::TestWithParam<ValidityCase> {};

TEST_P(WaveValidity, judgesTheFile) {
    MemoryInputStream stream(GetParam().file);
    WaveFormatReader reader(stream);
    EXPECT_EQ(verdictsOf(reader), GetParam().expected);
}

constexpr Verdicts kValid{true, true, true, true, true};

// A 40-byte extensible fmt chunk whose sub-format GUID begins with `subFormat`.
Bytes extensibleWave(uint16_t bits, uint16_t subFormat, uint8_t guidByte15 = 0x71) {
    Bytes fmt = fmtData({.bits = bits, .formatTag = 0xFFFE}) + u16(22, LE) + u16(bits, LE) + u32(3, LE) +
                u16(subFormat, LE) + Bytes{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                           0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, guidByte15};
    return riffWave(chunk("fmt ", fmt, LE) + dataChunk(wavSamples(bits, {1, -1, 2, -2})));
}

Bytes withFmtField(size_t offset, uint16_t value) {
    Bytes fmt = fmtData({});
    fmt[offset] = uint8_t(value);
    fmt[offset + 1] = uint8_t(value >> 8);
    return riffWave(chunk("fmt ", fmt, LE) + dataChunk(kFourStereoFrames));
}

INSTANTIATE_TEST_SUITE_P(
    Files, WaveValidity,
    testing::Values(
        ValidityCase{"canonical", wavFile({}, kFourStereoFrames), kValid},
        ValidityCase{"fmtWithExtensionAndListChunk",
                     riffWave(chunk("fmt ", fmtData({}) + u16(0, LE), LE) + chunk("LIST", id("INFO"), LE) +
                              dataChunk(kFourStereoFrames)),
                     kValid},
        ValidityCase{"oddChunkIsPadded",
                     riffWave(fmtChunk({}) + chunk("junk", {1, 2, 3}, LE) + dataChunk(kFourStereoFrames)),
                     kValid},
        ValidityCase{"dataBeforeFmt", riffWave(dataChunk(kFourStereoFrames) + fmtChunk({})), kValid},
        ValidityCase{
            "rate48000", wavFile({.sampleRate = 48000}, kFourStereoFrames), {false, false, true, true, true}},
        ValidityCase{"threeChannels",
                     wavFile({.channels = 3}, wavSamples(16, {1, 2, 3})),
                     {false, true, false, true, true}},
        ValidityCase{
            "eightBits", wavFile({.bits = 8}, wavSamples(8, {1, 2})), {false, true, true, false, true}},
        ValidityCase{
            "twentyBits", wavFile({.bits = 20}, wavSamples(20, {1, 2})), {false, true, true, false, true}},
        ValidityCase{"floatSamples",
                     wavFile({.bits = 32, .formatTag = 3}, floatSamples({0.5f, -0.5f})),
                     {false, true, true, true, true}},
        ValidityCase{"extensibleWithoutSubFormat",
                     wavFile({.formatTag = 0xFFFE}, kFourStereoFrames),
                     {false, true, true, true, true}},
        ValidityCase{"extensiblePcm16", extensibleWave(16, 1), kValid},
        ValidityCase{"extensiblePcm24", extensibleWave(24, 1), kValid},
        ValidityCase{"extensibleFloat", extensibleWave(32, 3), {false, true, true, true, true}},
        ValidityCase{"extensibleForeignGuid", extensibleWave(16, 1, 0x72), {false, true, true, true, true}},
        ValidityCase{"wrongByteRate", withFmtField(8, 1234), {false, true, true, true, true}},
        ValidityCase{"wrongBlockAlign", withFmtField(12, 2), {false, true, true, true, true}},
        ValidityCase{"dataNotWholeFrames", wavFile({}, Bytes(6, 0)), {false, true, true, true, true}},
        ValidityCase{"emptyDataChunkIsIgnored",
                     riffWave(fmtChunk({}) + dataChunk({})),
                     {false, true, true, true, true}},
        ValidityCase{
            "riffLargerThanFile",
            chunkWithSize("RIFF", 1000, id("WAVE") + fmtChunk({}) + dataChunk(kFourStereoFrames), LE),
            kValid},
        ValidityCase{"trailingBytesTooShortForAChunk", wavFile({}, kFourStereoFrames) + Bytes{0, 0, 0},
                     kValid},
        ValidityCase{"emptyFile", {}, {false, false, false, false, false}},
        ValidityCase{"notRiff",
                     chunk("RIFX", id("WAVE") + fmtChunk({}) + dataChunk(kFourStereoFrames), LE),
                     {false, false, false, false, false}},
        ValidityCase{"notWave",
                     chunk("RIFF", id("AVI ") + fmtChunk({}) + dataChunk(kFourStereoFrames), LE),
                     {false, true, true, true, false}},
        ValidityCase{
            "noFmtChunk", riffWave(dataChunk(kFourStereoFrames)), {false, false, false, false, false}},
        ValidityCase{"fmtCutByEndOfFile",
                     riffWave(id("fmt ") + u32(16, LE) + Bytes{1, 0, 2, 0}),
                     {false, false, true, false, false}},
        ValidityCase{"textFile",
                     Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'},
                     {false, false, false, false, false}},
        ValidityCase{
            "riffSizeZeroReadsOnAsTopLevelChunks",
            chunkWithSize("RIFF", 0, {}, LE) + id("WAVE") + fmtChunk({}) + dataChunk(kFourStereoFrames),
            {false, false, false, false, false}},
        ValidityCase{
            "riffSizeWrapsAround",
            chunkWithSize("RIFF", 0xFFFFFFFF, id("WAVE") + fmtChunk({}) + dataChunk(kFourStereoFrames), LE),
            {false, false, false, false, false}}),
    validityCaseName);

TEST(WaveFormatReader, canonicalFileAnswersItsFormat) {
    MemoryInputStream stream(wavFile({}, kFourStereoFrames));
    WaveFormatReader reader(stream);
    EXPECT_EQ(reader.getChannels(), 2);
    EXPECT_EQ(reader.getSampleRate(), 44100);
    EXPECT_EQ(reader.getSampleSize(), 16);
    EXPECT_EQ(reader.getSampleFrames(), 4);
    EXPECT_EQ(reader.getBitRate(), 1411200);
    EXPECT_EQ(reader.tellPcm(), 0);
    EXPECT_EQ(stream.tell(), 44u) << "construction leaves the stream at the first frame";
}

TEST(WaveFormatReader, readsTheSameFramesWhateverTheChunkLayout) {
    const Bytes layouts[] = {
        wavFile({}, kFourStereoFrames),
        riffWave(dataChunk(kFourStereoFrames) + fmtChunk({})),
        riffWave(chunk("fmt ", fmtData({}) + u16(0, LE), LE) + chunk("LIST", {'a', 'b', 'c'}, LE) +
                 dataChunk(kFourStereoFrames)),
        chunkWithSize("RIFF", 5000, id("WAVE") + fmtChunk({}) + dataChunk(kFourStereoFrames), LE),
    };
    for (const Bytes& file : layouts) {
        MemoryInputStream stream(file);
        WaveFormatReader reader(stream);
        ASSERT_TRUE(reader.seekPcm(0));
        const auto channels = readChannels<int16_t>(reader, 2, 10);
        EXPECT_EQ(channels[0], (std::vector<int16_t>{1, 2, 3, 4}));
        EXPECT_EQ(channels[1], (std::vector<int16_t>{-1, -2, -3, -4}));
    }
}

TEST(WaveFormatReader, laterChunkOfTheSameIdReplacesTheRecord) {
    MemoryInputStream stream(
        riffWave(fmtChunk({.sampleRate = 48000}) + fmtChunk({}) + dataChunk(kFourStereoFrames)));
    WaveFormatReader reader(stream);
    EXPECT_TRUE(reader.valid());
}

TEST(WaveFormatReader, shortFmtChunkIsReadAsSixteenBytesAndTheWalkGoesOn) {
    const Bytes fmt = fmtData({});
    const Bytes fmt14(fmt.begin(), fmt.begin() + 14);
    MemoryInputStream stream(riffWave(chunk("fmt ", fmt14, LE) + dataChunk(kFourStereoFrames)));
    WaveFormatReader reader(stream);
    EXPECT_EQ(reader.fmtChunk().bitsPerSample, 0x6164)
        << "the bits field runs into the next chunk's ID, \"da\"";
    EXPECT_EQ(reader.dataChunk().chunkSize, kFourStereoFrames.size());
}

TEST(WaveFormatReader, riffSizeZeroRecordsNothing) {
    MemoryInputStream stream(chunkWithSize("RIFF", 0, {}, LE) + id("WAVE") + fmtChunk({}) +
                             dataChunk(kFourStereoFrames));
    WaveFormatReader reader(stream);
    EXPECT_EQ(reader.riffChunk().chunkID, 0u);
    EXPECT_EQ(reader.fmtChunk().chunkID, 0u);
    EXPECT_EQ(reader.dataChunk().chunkID, 0u);
}

TEST(WaveFormatReader, readsUnvalidatedFormatsByTheConversionTable) {
    MemoryInputStream eight(wavFile({.channels = 1, .bits = 8}, wavSamples(8, {-128, 0, 127})));
    WaveFormatReader eightReader(eight);
    EXPECT_EQ(readChannels<int16_t>(eightReader, 1, 3)[0], (std::vector<int16_t>{-32768, 0, 32512}));

    MemoryInputStream twenty(wavFile({.channels = 1, .bits = 20}, wavSamples(20, {0x12345, -1})));
    WaveFormatReader twentyReader(twenty);
    EXPECT_EQ(readChannels<int32_t>(twentyReader, 1, 2)[0], (std::vector<int32_t>{0x12345000, -4096}));

    MemoryInputStream real(
        wavFile({.channels = 1, .bits = 32, .formatTag = 3}, floatSamples({1.0f, -1.0f, 0.5f, -0.25f})));
    WaveFormatReader realReader(real);
    EXPECT_EQ(readChannels<int16_t>(realReader, 1, 4)[0],
              (std::vector<int16_t>{32767, -32768, 16384, -8192}));
}

TEST(WaveFormatReader, blockBoundariesDoNotChangeTheSamples) {
    // 24-bit stereo: 170 frames a block, so 1000 frames cross five block boundaries.
    const std::vector<int32_t> values = noise(2000, 24, 7);
    MemoryInputStream stream(wavFile({.bits = 24}, wavSamples(24, values)));
    WaveFormatReader reader(stream);
    const auto whole = readChannels<int32_t>(reader, 2, 1000);
    const auto expected = deinterleave(values, 2);
    for (int c = 0; c < 2; ++c) {
        ASSERT_EQ(whole[c].size(), 1000u);
        for (size_t i = 0; i < 1000; ++i)
            ASSERT_EQ(whole[c][i], expected[c][i] * 256) << "channel " << c << " frame " << i;
    }
    ASSERT_TRUE(reader.seekPcm(0));
    std::vector<int32_t> pieces;
    for (int done = 0; done < 1000; done += 7) {
        const auto piece = readChannels<int32_t>(reader, 1, std::min(7, 1000 - done));
        pieces.insert(pieces.end(), piece[0].begin(), piece[0].end());
    }
    EXPECT_EQ(pieces, whole[0]);
}

TEST(WaveFormatReader, readsStopAtTheEndOfTheData) {
    MemoryInputStream stream(wavFile({.channels = 1}, wavSamples(16, noise(2048, 16, 3))));
    WaveFormatReader reader(stream);
    int32_t delivered = -1;
    readChannels<int16_t>(reader, 1, 5000, &delivered);
    EXPECT_EQ(delivered, 2048);
    EXPECT_EQ(reader.tellPcm(), 2048);
    readChannels<int16_t>(reader, 1, 10, &delivered);
    EXPECT_EQ(delivered, 0);
}

TEST(WaveFormatReader, seekClampsToTheData) {
    MemoryInputStream stream(wavFile({}, kFourStereoFrames));
    WaveFormatReader reader(stream);
    EXPECT_TRUE(reader.seekPcm(-5));
    EXPECT_EQ(reader.tellPcm(), 0);
    EXPECT_EQ(stream.tell(), 44u);
    EXPECT_TRUE(reader.seekPcm(2));
    EXPECT_EQ(stream.tell(), 52u);
    EXPECT_TRUE(reader.seekPcm(INT32_MAX));
    EXPECT_EQ(reader.tellPcm(), 4);
    EXPECT_EQ(stream.tell(), 60u);
}

TEST(WaveFormatReader, emptyReadRequestsDoNotMoveTheStream) {
    MemoryInputStream stream(wavFile({}, kFourStereoFrames));
    WaveFormatReader reader(stream);
    int32_t delivered = -1;
    for (int frames : {0, -3}) {
        readChannels<int16_t>(reader, 2, frames < 0 ? 0 : frames, &delivered);
        EXPECT_EQ(delivered, 0);
    }
    int16_t sample = 0;
    int16_t* buffers[] = {&sample};
    EXPECT_EQ(reader.readPcm16s(buffers, 1, -3), 0);
    EXPECT_EQ(reader.readPcm16s(nullptr, 1, 1), 0);
    EXPECT_EQ(reader.readPcm16s(buffers, 0, 1), 0);
    EXPECT_EQ(reader.tellPcm(), 0);
}

TEST(WaveFormatReader, fewerDestinationChannelsTakeTheFirstOnes) {
    MemoryInputStream stereo(wavFile({}, kFourStereoFrames));
    WaveFormatReader stereoReader(stereo);
    EXPECT_EQ(readChannels<int16_t>(stereoReader, 1, 4)[0], (std::vector<int16_t>{1, 2, 3, 4}));

    MemoryInputStream mono(wavFile({.channels = 1}, wavSamples(16, {9, 8})));
    WaveFormatReader monoReader(mono);
    int16_t left[2] = {}, right[2] = {7, 7};
    int16_t* buffers[] = {left, right};
    EXPECT_EQ(monoReader.readPcm16s(buffers, 2, 2), 2);
    EXPECT_EQ(left[1], 8);
    EXPECT_EQ(right[0], 7);
    EXPECT_EQ(right[1], 7);
}

TEST(WaveFormatReader, dataCutShortDeliversNothing) {
    Bytes file = wavFile({.channels = 1}, wavSamples(16, noise(300, 16, 5)));
    file.resize(file.size() - 200);
    MemoryInputStream stream(file);
    WaveFormatReader reader(stream);
    EXPECT_TRUE(reader.valid()) << "the records are complete; only the samples are missing";
    int32_t delivered = -1;
    readChannels<int16_t>(reader, 1, 300, &delivered);
    EXPECT_EQ(delivered, 0);
}

TEST(WaveFormatReader, absurdDataSizeNeitherOverflowsNorReads) {
    MemoryInputStream stream(
        riffWave(fmtChunk({}) + chunkWithSize("data", 0xFFFFFFFC, kFourStereoFrames, LE)));
    WaveFormatReader reader(stream);
    EXPECT_EQ(reader.getSampleFrames(), 0x3FFFFFFF) << "a frame count, never negative";
    int32_t delivered = -1;
    readChannels<int16_t>(reader, 2, 100, &delivered);
    EXPECT_EQ(delivered, 0);
}

TEST(WaveFormatReader, frameLargerThanTheStagingBufferIsRefused) {
    MemoryInputStream stream(wavFile({.channels = 600}, Bytes(2400, 0)));
    WaveFormatReader reader(stream);
    int32_t delivered = -1;
    readChannels<int16_t>(reader, 2, 2, &delivered);
    EXPECT_EQ(delivered, 0);
}

}  // namespace
