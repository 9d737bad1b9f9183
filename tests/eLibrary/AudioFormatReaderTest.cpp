// The WAVE and AIFF readers, and the decorator that opens their files, on files built byte by
// byte, well-formed or broken.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "eLibrary/AiffFormat.h"
#include "eLibrary/AudioFileBuilder.h"
#include "eLibrary/AudioFormatFileDecorator.h"
#include "eLibrary/MemoryInputStream.h"
#include "eLibrary/WaveFormat.h"

namespace {

using namespace testaudio;
constexpr auto LE = ByteOrder::LittleEndian;
constexpr auto BE = ByteOrder::BigEndian;

// Reads up to `frames` frames into `channels` buffers and returns what arrived, channel after channel.
template <typename T>
std::vector<std::vector<T>> readChannels(eLibrary::AudioFormatReader& reader, int channels, int frames) {
    std::vector<std::vector<T>> out(channels, std::vector<T>(frames));
    std::vector<T*> buffers;
    for (auto& channel : out)
        buffers.push_back(channel.data());
    int32_t delivered;
    if constexpr (std::is_same_v<T, int16_t>)
        delivered = reader.readPcm16s(buffers.data(), channels, frames);
    else
        delivered = reader.readPcm32s(buffers.data(), channels, frames);
    for (auto& channel : out)
        channel.resize(std::max(delivered, 0));
    return out;
}

// The file and the container of the format `Reader` reads, for what holds for both formats.
template <typename Reader>
Bytes fileOf(const Format& format, const std::vector<int32_t>& values) {
    return std::is_same_v<Reader, eLibrary::WaveFormatReader> ? wav(format, values) : aiff(format, values);
}
template <typename Reader>
Bytes containerOf(const Bytes& chunks) {
    return std::is_same_v<Reader, eLibrary::WaveFormatReader> ? riffWave(chunks) : formAiff(chunks);
}

const std::vector<int32_t> kFourStereoFrames = {1, -1, 2, -2, 3, -3, 4, -4};
const std::vector<int16_t> kFourLeft = {1, 2, 3, 4};

template <typename Reader>
class AudioFormatReader : public testing::Test {};

using Formats = testing::Types<eLibrary::WaveFormatReader, eLibrary::AiffFormatReader>;
TYPED_TEST_SUITE(AudioFormatReader, Formats);

// 24-bit stereo: 170 frames a staging block, so 1000 frames cross five block boundaries.
TYPED_TEST(AudioFormatReader, readsFromTheFirstFrameAcrossStagingBlocks) {
    const std::vector<int32_t> values = noise(2000, 24, 7);
    MemoryInputStream stream(fileOf<TypeParam>({.bits = 24}, values));
    TypeParam reader(stream);
    EXPECT_EQ((std::vector<int32_t>{reader.getChannels(), reader.getSampleRate(), reader.getSampleSize(),
                                    reader.getSampleFrames(), reader.getBitRate(), reader.tellPcm()}),
              (std::vector<int32_t>{2, 44100, 24, 1000, 2116800, 0}));
    std::vector<std::vector<int32_t>> expected(2);
    for (size_t i = 0; i < values.size(); ++i)
        expected[i % 2].push_back(values[i] * 256);
    const auto whole = readChannels<int32_t>(reader, 2, 1000);
    ASSERT_EQ(whole, expected);

    ASSERT_TRUE(reader.seekPcm(0));
    std::vector<int32_t> pieces;
    for (int done = 0; done < 1000; done += 7) {
        const auto piece = readChannels<int32_t>(reader, 1, std::min(7, 1000 - done));
        pieces.insert(pieces.end(), piece[0].begin(), piece[0].end());
    }
    EXPECT_EQ(pieces, whole[0]);
}

TYPED_TEST(AudioFormatReader, seeksAndReadsClampToTheDataAndEmptyReadsDoNothing) {
    MemoryInputStream stream(fileOf<TypeParam>({}, kFourStereoFrames));
    TypeParam reader(stream);
    EXPECT_TRUE(reader.seekPcm(2));
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 1)[1], (std::vector<int16_t>{-3}));
    EXPECT_TRUE(reader.seekPcm(-5));
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 1)[0], (std::vector<int16_t>{1}));
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 10)[0], (std::vector<int16_t>{2, 3, 4}));
    EXPECT_EQ(reader.tellPcm(), 4);
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 10)[0], (std::vector<int16_t>{}));
    // The frame number times the frame size overflows 32 bits.
    EXPECT_TRUE(reader.seekPcm(INT32_MAX));
    EXPECT_EQ(reader.tellPcm(), 4);
    // Empty requests deliver nothing, write nothing and do not move.
    ASSERT_TRUE(reader.seekPcm(1));
    int16_t sample = 0x55;
    int16_t* buffers[] = {&sample};
    const std::tuple<int16_t**, int, int> requests[] = {
        {buffers, 1, 0}, {buffers, 1, -3}, {nullptr, 1, 1}, {buffers, 0, 1}};
    for (auto [target, channels, frames] : requests)
        EXPECT_EQ(reader.readPcm16s(target, channels, frames), 0);
    EXPECT_EQ(reader.tellPcm(), 1);
    EXPECT_EQ(sample, 0x55);
}

TYPED_TEST(AudioFormatReader, everyTruncationIsReadSafelyAndDeliversNothing) {
    const Bytes file = fileOf<TypeParam>({.bits = 24}, noise(64, 24, 9));
    for (size_t length = 0; length <= file.size(); ++length) {
        MemoryInputStream stream(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)));
        TypeParam reader(stream);
        reader.seekPcm(0);
        EXPECT_EQ(readChannels<int32_t>(reader, 2, 64)[0].size(), length == file.size() ? 32u : 0u) << length;
    }
}

// Containers nest eight deep at most: without a limit the walk would recurse once per header and
// run out of stack.
TYPED_TEST(AudioFormatReader, guardsTheNestingDepth) {
    const Bytes file = fileOf<TypeParam>({}, kFourStereoFrames);
    Bytes nested(file.begin() + 12, file.end());
    for (int depth = 1; depth <= 9; ++depth) {
        nested = containerOf<TypeParam>(nested);
        MemoryInputStream stream(nested);
        TypeParam reader(stream);
        EXPECT_EQ(reader.valid(), depth <= 8) << depth;
    }
    Bytes header = containerOf<TypeParam>({});
    std::fill(header.begin() + 4, header.begin() + 8, 0x7F);  // claims almost 2 GiB
    Bytes deep;
    for (int i = 0; i < 200000; ++i)
        deep.insert(deep.end(), header.begin(), header.end());
    MemoryInputStream stream(deep);
    TypeParam reader(stream);
    EXPECT_FALSE(reader.valid());
}

TYPED_TEST(AudioFormatReader, decoratorAnswersForItsFileAndZeroWithoutOne) {
    using Decorator = eLibrary::AudioFormatReaderFileDecorator<TypeParam>;
    TempDir dir;
    const Bytes file = fileOf<TypeParam>({.channels = 1}, {100, -200, 300});
    MemoryInputStream stream(file);
    TypeParam bare(stream);
    Decorator opened(dir.write("ir", file).c_str());
    Decorator missing(dir.path("none").c_str());
    // Every query, a seek to the second frame, and a read of each width from there.
    const auto answers = [](eLibrary::AudioFormatReader& r) {
        std::vector<int64_t> out{
            r.fail(),       r.valid(),       r.validSampeRate(),  r.validChannels(), r.validSampleSize(),
            r.hasFormat(),  r.getChannels(), r.getSampleFrames(), r.getSampleRate(), r.getSampleSize(),
            r.getBitRate(), r.seekPcm(1),    r.tellPcm()};
        const auto narrow = readChannels<int16_t>(r, 1, 1)[0];
        out.insert(out.end(), narrow.begin(), narrow.end());
        const auto wide = readChannels<int32_t>(r, 1, 1)[0];
        out.insert(out.end(), wide.begin(), wide.end());
        return out;
    };
    EXPECT_EQ(answers(opened), answers(bare));
    EXPECT_EQ(answers(missing), (std::vector<int64_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// One file and what its reader must make of it. The verdicts are a letter each when true: Valid,
// sample Rate, Channels, sample Size, Format chunk present ("VRCSF"), '-' when false. `left` is
// the first channel a read of ten stereo 16-bit frames delivers.
struct ReaderCase {
    const char* label;
    Bytes file;
    const char* verdicts;
    int32_t frames;
    std::vector<int16_t> left;
};

template <typename Reader>
void expectJudgedAndRead(const std::vector<ReaderCase>& cases) {
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.label);
        MemoryInputStream stream(c.file);
        Reader reader(stream);
        const bool verdicts[] = {reader.valid(), reader.validSampeRate(), reader.validChannels(),
                                 reader.validSampleSize(), reader.hasFormat()};
        std::string letters = "VRCSF";
        for (size_t i = 0; i < letters.size(); ++i)
            letters[i] = verdicts[i] ? letters[i] : '-';
        EXPECT_EQ(letters, c.verdicts);
        EXPECT_EQ(reader.getSampleFrames(), c.frames);
        reader.seekPcm(0);
        EXPECT_EQ(readChannels<int16_t>(reader, 2, 10)[0], c.left);
    }
}

const Bytes kWavFour = wavSamples(16, kFourStereoFrames);

Bytes fmt(const Format& format = {}) {
    return chunk("fmt ", fmtData(format), LE);
}
Bytes data(const Bytes& samples = kWavFour, int64_t declaredSize = -1) {
    return chunk("data", samples, LE, declaredSize);
}

// An extensible fmt chunk of 40 bytes: 16 valid bits, two channels, the PCM sub-format GUID.
const Bytes kPcmGuid = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
const Bytes kExtensibleFmt =
    fmtData({.formatTag = 0xFFFE}) + u16(22, LE) + u16(16, LE) + u32(3, LE) + kPcmGuid;

// A file whose fmt chunk has its bytes from `offset` replaced and is cut to `size` bytes.
Bytes fmtPatched(size_t offset, const Bytes& bytes, size_t size = 16) {
    Bytes out = fmtData({});
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<ptrdiff_t>(offset));
    out.resize(size);
    return riffWave(chunk("fmt ", out, LE) + data());
}

const std::vector<ReaderCase> kWaveFiles = {
    {"canonical", wavFile({}, kWavFour), "VRCSF", 4, kFourLeft},
    {"longerFmtAndPaddedOddChunk",
     riffWave(chunk("fmt ", fmtData({}) + u16(0, LE), LE) + chunk("LIST", {'a', 'b', 'c'}, LE) + data()),
     "VRCSF", 4, kFourLeft},
    {"dataBeforeFmt", riffWave(data() + fmt()), "VRCSF", 4, kFourLeft},
    {"laterFmtReplacesTheFirst", riffWave(fmt({.sampleRate = 48000}) + fmt() + data()), "VRCSF", 4,
     kFourLeft},
    {"riffLargerThanFile", chunk("RIFF", id("WAVE") + fmt() + data(), LE, 1000), "VRCSF", 4, kFourLeft},
    {"trailingBytesTooShortForAChunk", wavFile({}, kWavFour) + Bytes{0, 0, 0}, "VRCSF", 4, kFourLeft},
    {"extensiblePcmRefused", riffWave(chunk("fmt ", kExtensibleFmt, LE) + data()), "-RCSF", 4, {}},
    {"float", wavFile({.bits = 32, .formatTag = 3}, floatSamples({-0.25f, 0.5f})), "-RCSF", 1, {-8192}},
    {"rate48000", wavFile({.sampleRate = 48000}, kWavFour), "--CSF", 4, kFourLeft},
    {"threeChannels", wavFile({.channels = 3}, wavSamples(16, {1, 2, 3})), "-R-SF", 1, {1}},
    {"zeroChannels", wavFile({.channels = 0}, kWavFour), "-R-SF", 0, {}},
    {"unsigned8", wav({.channels = 1, .bits = 8}, {-128, 0, 127}), "-RC-F", 3, {-32768, 0, 32512}},
    {"frameLargerThanStaging", wav({.channels = 600}, std::vector<int32_t>(1200)), "-R-SF", 2, {}},
    {"twentyBits", wav({.channels = 1, .bits = 20}, {0x12345, -1}), "-RC-F", 2, {0x1234, -1}},
    {"wrongByteRate", fmtPatched(8, u32(1234, LE)), "-RCSF", 4, kFourLeft},
    {"wrongBlockAlign", fmtPatched(12, u16(2, LE)), "-RCSF", 8, {}},
    {"dataNotWholeFrames", wavFile({}, Bytes(6, 0)), "-RCSF", 1, {0}},
    {"emptyDataChunkIsIgnored", riffWave(fmt() + data({})), "-RCSF", 0, {}},
    // The fields are read as sixteen bytes, running into the next chunk's ID; the walk goes on.
    {"shortFmtChunk", fmtPatched(0, {}, 14), "-RC-F", 4, {}},
    {"absurdDataSizeSaturates", riffWave(fmt() + data(kWavFour, 0xFFFFFFFC)), "VRCSF", 0x3FFFFFFF, {}},
    {"emptyFileRefused", {}, "-----", 0, {}},
    {"textFileRefused", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}, "-----", 0, {}},
    {"notRiffRefused", chunk("RIFX", id("WAVE") + fmt() + data(), LE), "-----", 0, {}},
    {"notWaveRefused", chunk("RIFF", id("AVI ") + fmt() + data(), LE), "-RCS-", 4, kFourLeft},
    {"noFmtChunkRefused", riffWave(data()), "-----", 0, {}},
    {"fmtTruncatedByEndOfFile", riffWave(id("fmt ") + u32(16, LE) + Bytes{1, 0, 2, 0}), "--C--", 0, {}},
    {"riffSizeZeroRecordsNothing", chunk("RIFF", {}, LE) + id("WAVE") + fmt() + data(), "-----", 0, {}},
    {"riffSizeWrapsAround", chunk("RIFF", id("WAVE") + fmt() + data(), LE, 0xFFFFFFFF), "-----", 0, {}}};

TEST(WaveFiles, areJudgedAndReadByTheirChunks) {
    expectJudgedAndRead<eLibrary::WaveFormatReader>(kWaveFiles);
}

const Bytes kAiffFour = aiffSamples(16, kFourStereoFrames);

Bytes comm(uint32_t frames = 4, const Format& format = {}) {
    return chunk("COMM", commData(format, frames), BE);
}
Bytes ssnd(const Bytes& samples = kAiffFour, uint32_t offset = 0) {
    return chunk("SSND", ssndData(samples, offset), BE);
}

const std::vector<ReaderCase> kAiffFiles = {
    {"plain", aiffFile({}, kAiffFour), "VRCSF", 4, kFourLeft},
    {"soundOffsetSkipsBytes", formAiff(comm() + ssnd(kAiffFour, 4)), "VRCSF", 4, kFourLeft},
    {"commAfterSsndAndOddChunk", formAiff(ssnd() + chunk("NAME", {'i', 'r', '1'}, BE) + comm()), "VRCSF", 4,
     kFourLeft},
    {"formLargerThanFile", chunk("FORM", id("AIFF") + comm() + ssnd(), BE, 4000), "VRCSF", 4, kFourLeft},
    {"ssndOneByteLonger", formAiff(comm() + ssnd(kAiffFour + Bytes{0})), "-RCSF", 4, kFourLeft},
    // The frame count is COMM's; reads stop at the frames the sound chunk holds.
    {"commFramesDisagreeWithSsnd", formAiff(comm(9) + ssnd()), "-RCSF", 9, kFourLeft},
    {"longerCommChunk", formAiff(chunk("COMM", commData({}, 4) + id("NONE") + Bytes{0, 0}, BE) + ssnd()),
     "-RCSF", 4, kFourLeft},
    {"rate48000", aiffFile({.sampleRate = 48000}, kAiffFour), "--CSF", 4, kFourLeft},
    {"threeChannels", aiffFile({.channels = 3}, aiffSamples(16, {1, 2, 3})), "-R-SF", 1, {1}},
    {"zeroChannels", aiffFile({.channels = 0}, kAiffFour), "-R-SF", 0, {}},
    {"frameLargerThanStaging", aiff({.channels = 600}, std::vector<int32_t>(1200)), "-R-SF", 2, {}},
    {"eightBitsSigned", aiff({.channels = 1, .bits = 8}, {-128, 127}), "-RC-F", 2, {-32768, 32512}},
    // In 32-bit arithmetic these sizes would wrap around to the declared size.
    {"soundOffsetWrapsAround",
     formAiff(comm() + chunk("SSND", u32(0xFFFFFFF8, BE) + u32(0, BE) + kAiffFour, BE, 16)),
     "-RCSF",
     4,
     {}},
    {"frameBytesWrapAround", formAiff(comm(0x40000000) + ssnd({})), "-RCSF", 0x40000000, {}},
    {"emptyFileRefused", {}, "-----", 0, {}},
    {"wavFileRefused", chunk("RIFF", id("WAVE"), LE), "-----", 0, {}},
    {"aifcFormRefused", chunk("FORM", id("AIFC") + comm() + ssnd(), BE), "-RCS-", 4, kFourLeft},
    {"noCommRefused", formAiff(ssnd()), "-----", 0, {}},
    {"commCut", formAiff(id("COMM") + u32(18, BE) + Bytes{0, 2, 0, 0, 0, 4, 0, 16}), "--CS-", 4, {}}};

TEST(AiffFiles, areJudgedAndReadByTheirChunks) {
    expectJudgedAndRead<eLibrary::AiffFormatReader>(kAiffFiles);
}

// Each setter derives the format tag (3 for 32 bits), block align and byte rate afresh.
TEST(WaveFmtChunk, settersDeriveFormatTagBlockAlignAndByteRate) {
    eLibrary::WaveFmtChunk fmt{};
    const auto derived = [&fmt] {
        return std::tuple<int, int, int>(fmt.formatTag, fmt.blockAlign, fmt.avgBytesPerSec);
    };
    ASSERT_TRUE(fmt.set(2, 44100, 24));
    EXPECT_EQ(derived(), std::tuple(1, 6, 264600));
    ASSERT_TRUE(fmt.setBitsPerSample(32));
    EXPECT_EQ(derived(), std::tuple(3, 8, 352800));
    ASSERT_TRUE(fmt.setChannels(1));
    EXPECT_EQ(derived(), std::tuple(3, 4, 176400));
    ASSERT_TRUE(fmt.setSamplesPerSec(48000));
    EXPECT_EQ(derived(), std::tuple(3, 4, 192000));
}

// The 80-bit rate, given as five 16-bit words, is decoded and saturates.
TEST(AiffSampleRate, decodesTheExtendedNumberAndSaturates) {
    const struct {
        std::vector<int32_t> words;
        int32_t sampleRate;
        int32_t bitRate;
        bool valid;
    } cases[] = {
        {{0x400E, 0xAC44, 0, 0, 0x07FF}, 44100, 1411200, true},  // the low mantissa bits are dropped
        {{0, 0, 0, 0, 0}, 2, 64, false},                         // zero bytes decode as two
        {{0x43FE, 0x8000, 0, 0, 0}, INT32_MAX, INT32_MAX, false},
        {{0xC3FE, 0x8000, 0, 0, 0}, INT32_MIN, INT32_MIN, false},
        {{0x43FF, 0xC000, 0, 0, 0}, 0, 0, false},  // not a number
    };
    for (const auto& c : cases) {
        const Bytes commBytes = u16(2, BE) + u32(4, BE) + u16(16, BE) + integers(16, c.words, BE);
        MemoryInputStream stream(formAiff(chunk("COMM", commBytes, BE) + ssnd()));
        eLibrary::AiffFormatReader reader(stream);
        EXPECT_EQ(reader.getSampleRate(), c.sampleRate) << c.words[0];
        EXPECT_EQ(reader.getBitRate(), c.bitRate) << c.words[0];
        EXPECT_EQ(reader.validSampeRate(), c.valid) << c.words[0];
    }
}

}  // namespace
