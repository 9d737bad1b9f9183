#include "eLibrary/WaveFormat.h"

#include <gtest/gtest.h>

#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;
constexpr auto LE = ByteOrder::LittleEndian;

const Bytes kFour = wavSamples(16, kFourStereoFrames);

Bytes fmtChunk(const Format& format) {
    return chunk("fmt ", fmtData(format), LE);
}
Bytes dataChunk(const Bytes& samples) {
    return chunk("data", samples, LE);
}

// A 40-byte extensible fmt chunk whose sub-format GUID begins with `subFormat`.
Bytes extensibleWave(uint16_t bits, uint16_t subFormat, uint8_t guidByte15 = 0x71) {
    const Bytes fmt = fmtData({.bits = bits, .formatTag = 0xFFFE}) + u16(22, LE) + u16(bits, LE) +
                      u32(3, LE) + u16(subFormat, LE) + Bytes{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, guidByte15};
    return riffWave(chunk("fmt ", fmt, LE) + dataChunk(wavSamples(bits, kFourStereoFrames)));
}

Bytes withFmtField(size_t offset, uint16_t value) {
    Bytes fmt = fmtData({});
    fmt[offset] = uint8_t(value);
    fmt[offset + 1] = uint8_t(value >> 8);
    return riffWave(chunk("fmt ", fmt, LE) + dataChunk(kFour));
}

Bytes shortened(Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

class WaveFiles : public testing::TestWithParam<ReaderCase> {};

TEST_P(WaveFiles, areJudgedAndReadByTheirChunks) {
    expectJudgedAndRead<eLibrary::WaveFormatReader>(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WaveFiles,
    testing::Values(
        ReaderCase{"canonical", wavFile({}, kFour), "VRCSF", 4, 4},
        ReaderCase{"extendedFmtAndPaddedOddChunk",
                   riffWave(chunk("fmt ", fmtData({}) + u16(0, LE), LE) + chunk("LIST", {'a', 'b', 'c'}, LE) +
                            dataChunk(kFour)),
                   "VRCSF", 4, 4},
        ReaderCase{"dataBeforeFmt", riffWave(dataChunk(kFour) + fmtChunk({})), "VRCSF", 4, 4},
        ReaderCase{"laterFmtReplacesTheFirst",
                   riffWave(fmtChunk({.sampleRate = 48000}) + fmtChunk({}) + dataChunk(kFour)), "VRCSF", 4,
                   4},
        ReaderCase{"riffLargerThanFile",
                   chunkWithSize("RIFF", 1000, id("WAVE") + fmtChunk({}) + dataChunk(kFour), LE), "VRCSF", 4,
                   4},
        ReaderCase{"trailingBytesTooShortForAChunk", wavFile({}, kFour) + Bytes{0, 0, 0}, "VRCSF", 4, 4},
        ReaderCase{"extensiblePcm", extensibleWave(16, 1), "VRCSF", 4, 4},
        ReaderCase{"extensibleFloatRefused", extensibleWave(32, 3), "-RCSF", 4, 4},
        ReaderCase{"extensibleForeignGuidRefused", extensibleWave(16, 1, 0x72), "-RCSF", 4, 0},
        ReaderCase{"extensibleWithoutSubFormatRefused", wavFile({.formatTag = 0xFFFE}, kFour), "-RCSF", 4, 0},
        ReaderCase{"floatSamples", wavFile({.bits = 32, .formatTag = 3}, floatSamples({0.5f, -0.5f})),
                   "-RCSF", 1, 1},
        ReaderCase{"rate48000", wavFile({.sampleRate = 48000}, kFour), "--CSF", 4, 4},
        ReaderCase{"threeChannels", wavFile({.channels = 3}, wavSamples(16, {1, 2, 3})), "-R-SF", 1, 1},
        ReaderCase{"zeroChannels", wavFile({.channels = 0}, kFour), "-R-SF", 0, 0},
        ReaderCase{"eightBits", wavFile({.bits = 8}, wavSamples(8, {1, 2})), "-RC-F", 1, 1},
        ReaderCase{"twentyBits", wavFile({.bits = 20}, wavSamples(20, {1, 2})), "-RC-F", 1, 1},
        ReaderCase{"wrongByteRate", withFmtField(8, 1234), "-RCSF", 4, 4},
        ReaderCase{"wrongBlockAlign", withFmtField(12, 2), "-RCSF", 8, 0},
        ReaderCase{"dataNotWholeFrames", wavFile({}, Bytes(6, 0)), "-RCSF", 1, 1},
        ReaderCase{"emptyDataChunkIsIgnored", riffWave(fmtChunk({}) + dataChunk({})), "-RCSF", 0, 0},
        // The fields are read as sixteen bytes, running into the next chunk's ID; the walk goes on.
        ReaderCase{"shortFmtChunk",
                   riffWave(chunk("fmt ", shortened(fmtData({}), 14), LE) +
                            dataChunk(kFour)),
                   "-RC-F", 4, 0},
        ReaderCase{"absurdDataSizeSaturates",
                   riffWave(fmtChunk({}) + chunkWithSize("data", 0xFFFFFFFC, kFour, LE)), "VRCSF", 0x3FFFFFFF,
                   0},
        ReaderCase{"emptyFileRefused", {}, "-----", 0, 0},
        ReaderCase{"textFileRefused", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}, "-----", 0, 0},
        ReaderCase{"notRiffRefused", chunk("RIFX", id("WAVE") + fmtChunk({}) + dataChunk(kFour), LE), "-----",
                   0, 0},
        ReaderCase{"notWaveRefused", chunk("RIFF", id("AVI ") + fmtChunk({}) + dataChunk(kFour), LE), "-RCS-",
                   4, 4},
        ReaderCase{"noFmtChunkRefused", riffWave(dataChunk(kFour)), "-----", 0, 0},
        ReaderCase{"fmtTruncatedByEndOfFile", riffWave(id("fmt ") + u32(16, LE) + Bytes{1, 0, 2, 0}), "--C--",
                   0, 0},
        ReaderCase{"riffSizeZeroRecordsNothing",
                   chunkWithSize("RIFF", 0, {}, LE) + id("WAVE") + fmtChunk({}) + dataChunk(kFour), "-----",
                   0, 0},
        ReaderCase{"riffSizeWrapsAround",
                   chunkWithSize("RIFF", 0xFFFFFFFF, id("WAVE") + fmtChunk({}) + dataChunk(kFour), LE),
                   "-----", 0, 0}),
    readerCaseName);

TEST(WaveFormatReader, readsUnvalidatedFormatsByTheConversionTable) {
    MemoryInputStream eight(wavFile({.channels = 1, .bits = 8}, wavSamples(8, {-128, 0, 127})));
    eLibrary::WaveFormatReader eightReader(eight);
    EXPECT_EQ(readChannels<int16_t>(eightReader, 1, 3)[0], (std::vector<int16_t>{-32768, 0, 32512}));

    MemoryInputStream twenty(wavFile({.channels = 1, .bits = 20}, wavSamples(20, {0x12345, -1})));
    eLibrary::WaveFormatReader twentyReader(twenty);
    EXPECT_EQ(readChannels<int32_t>(twentyReader, 1, 2)[0], (std::vector<int32_t>{0x12345000, -4096}));

    MemoryInputStream real(
        wavFile({.channels = 1, .bits = 32, .formatTag = 3}, floatSamples({1.0f, -0.25f})));
    eLibrary::WaveFormatReader realReader(real);
    EXPECT_EQ(readChannels<int16_t>(realReader, 1, 2)[0], (std::vector<int16_t>{32767, -8192}));
}

}  // namespace
