#include "eLibrary/WaveFormat.h"

#include <gtest/gtest.h>

#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;
constexpr auto LE = ByteOrder::LittleEndian;

const Bytes kFour = wavSamples(16, kFourStereoFrames);

Bytes fmt(const Format& format = {}) {
    return chunk("fmt ", fmtData(format), LE);
}
Bytes data(const Bytes& samples = kFour, int64_t declaredSize = -1) {
    return chunk("data", samples, LE, declaredSize);
}

// A 40-byte extensible fmt chunk whose sub-format GUID names `subFormat`.
Bytes extensible(uint16_t bits, uint16_t subFormat) {
    const Bytes guidTail{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    const Bytes extension = u16(22, LE) + u16(bits, LE) + u32(3, LE) + u16(subFormat, LE) + guidTail;
    return riffWave(chunk("fmt ", fmtData({.bits = bits, .formatTag = 0xFFFE}) + extension, LE) +
                    data(wavSamples(bits, kFourStereoFrames)));
}

// A file whose fmt chunk has its bytes from `offset` replaced and is cut to `size` bytes.
Bytes fmtPatched(size_t offset, const Bytes& bytes, size_t size = 16) {
    Bytes out = fmtData({});
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<ptrdiff_t>(offset));
    out.resize(size);
    return riffWave(chunk("fmt ", out, LE) + data());
}

class WaveFiles : public testing::TestWithParam<ReaderCase> {};

TEST_P(WaveFiles, areJudgedAndReadByTheirChunks) {
    expectJudgedAndRead<eLibrary::WaveFormatReader>(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, WaveFiles,
    testing::ValuesIn(std::vector<ReaderCase>{
        {"canonical", wavFile({}, kFour), "VRCSF", 4, kFourLeft},
        {"longerFmtAndPaddedOddChunk",
         riffWave(chunk("fmt ", fmtData({}) + u16(0, LE), LE) + chunk("LIST", {'a', 'b', 'c'}, LE) + data()),
         "VRCSF", 4, kFourLeft},
        {"dataBeforeFmt", riffWave(data() + fmt()), "VRCSF", 4, kFourLeft},
        {"laterFmtReplacesTheFirst", riffWave(fmt({.sampleRate = 48000}) + fmt() + data()), "VRCSF", 4,
         kFourLeft},
        {"riffLargerThanFile", chunk("RIFF", id("WAVE") + fmt() + data(), LE, 1000), "VRCSF", 4, kFourLeft},
        {"trailingBytesTooShortForAChunk", wavFile({}, kFour) + Bytes{0, 0, 0}, "VRCSF", 4, kFourLeft},
        {"extensiblePcmRefused", extensible(16, 1), "-RCSF", 4, {}},
        {"floatSamples",
         wavFile({.channels = 1, .bits = 32, .formatTag = 3}, floatSamples({1.0f, -0.25f})),
         "-RCSF",
         2,
         {32767, -8192}},
        {"rate48000", wavFile({.sampleRate = 48000}, kFour), "--CSF", 4, kFourLeft},
        {"threeChannels", wavFile({.channels = 3}, wavSamples(16, {1, 2, 3})), "-R-SF", 1, {1}},
        {"zeroChannels", wavFile({.channels = 0}, kFour), "-R-SF", 0, {}},
        {"eightBitsUnsigned",
         wavFile({.channels = 1, .bits = 8}, wavSamples(8, {-128, 0, 127})),
         "-RC-F",
         3,
         {-32768, 0, 32512}},
        {"twentyBits",
         wavFile({.channels = 1, .bits = 20}, wavSamples(20, {0x12345, -1})),
         "-RC-F",
         2,
         {0x1234, -1}},
        {"wrongByteRate", fmtPatched(8, u32(1234, LE)), "-RCSF", 4, kFourLeft},
        {"wrongBlockAlign", fmtPatched(12, u16(2, LE)), "-RCSF", 8, {}},
        {"dataNotWholeFrames", wavFile({}, Bytes(6, 0)), "-RCSF", 1, {0}},
        {"emptyDataChunkIsIgnored", riffWave(fmt() + data({})), "-RCSF", 0, {}},
        // The fields are read as sixteen bytes, running into the next chunk's ID; the walk goes on.
        {"shortFmtChunk", fmtPatched(0, {}, 14), "-RC-F", 4, {}},
        {"absurdDataSizeSaturates", riffWave(fmt() + data(kFour, 0xFFFFFFFC)), "VRCSF", 0x3FFFFFFF, {}},
        {"emptyFileRefused", {}, "-----", 0, {}},
        {"textFileRefused", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}, "-----", 0, {}},
        {"notRiffRefused", chunk("RIFX", id("WAVE") + fmt() + data(), LE), "-----", 0, {}},
        {"notWaveRefused", chunk("RIFF", id("AVI ") + fmt() + data(), LE), "-RCS-", 4, kFourLeft},
        {"noFmtChunkRefused", riffWave(data()), "-----", 0, {}},
        {"fmtTruncatedByEndOfFile", riffWave(id("fmt ") + u32(16, LE) + Bytes{1, 0, 2, 0}), "--C--", 0, {}},
        {"riffSizeZeroRecordsNothing", chunk("RIFF", {}, LE) + id("WAVE") + fmt() + data(), "-----", 0, {}},
        {"riffSizeWrapsAround", chunk("RIFF", id("WAVE") + fmt() + data(), LE, 0xFFFFFFFF), "-----", 0, {}}}),
    testing::PrintToStringParamName());

}  // namespace
