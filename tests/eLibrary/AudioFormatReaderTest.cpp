// What both readers, and the decorator that opens their files, must do whatever the format.
#include "eLibrary/AudioFormat.h"

#include <gtest/gtest.h>

#include <tuple>

#include "eLibrary/AudioFormatFileDecorator.h"
#include "eLibrary/ReaderTestSupport.h"

namespace {

using namespace testaudio;

template <typename Format>
class AudioFormatReader : public testing::Test {
protected:
    using Reader = typename Format::Reader;
};

using Formats = testing::Types<Wave, Aiff>;
TYPED_TEST_SUITE(AudioFormatReader, Formats);

// 24-bit stereo: 170 frames a staging block, so 1000 frames cross five block boundaries.
TYPED_TEST(AudioFormatReader, readsFromTheFirstFrameAcrossStagingBlocks) {
    const std::vector<int32_t> values = noise(2000, 24, 7);
    MemoryInputStream stream(TypeParam::file({.bits = 24}, values));
    typename TestFixture::Reader reader(stream);
    EXPECT_EQ(reader.getChannels(), 2);
    EXPECT_EQ(reader.getSampleRate(), 44100);
    EXPECT_EQ(reader.getSampleSize(), 24);
    EXPECT_EQ(reader.getSampleFrames(), 1000);
    EXPECT_EQ(reader.getBitRate(), 2116800);
    EXPECT_EQ(reader.tellPcm(), 0);
    std::vector<int32_t> scaled;
    for (int32_t value : values)
        scaled.push_back(value * 256);
    const auto whole = readChannels<int32_t>(reader, 2, 1000);
    ASSERT_EQ(whole, deinterleave(scaled, 2));

    ASSERT_TRUE(reader.seekPcm(0));
    std::vector<int32_t> pieces;
    for (int done = 0; done < 1000; done += 7) {
        const auto piece = readChannels<int32_t>(reader, 1, std::min(7, 1000 - done));
        pieces.insert(pieces.end(), piece[0].begin(), piece[0].end());
    }
    EXPECT_EQ(pieces, whole[0]);
}

TYPED_TEST(AudioFormatReader, seeksAndReadsClampToTheData) {
    MemoryInputStream stream(TypeParam::file({}, kFourStereoFrames));
    typename TestFixture::Reader reader(stream);
    int32_t delivered = -1;
    EXPECT_TRUE(reader.seekPcm(2));
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 1)[1], (std::vector<int16_t>{-3}));
    EXPECT_TRUE(reader.seekPcm(-5));
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 1)[0], (std::vector<int16_t>{1}));
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 10, &delivered)[0], (std::vector<int16_t>{2, 3, 4}));
    EXPECT_EQ(reader.tellPcm(), 4);
    readChannels<int16_t>(reader, 2, 10, &delivered);
    EXPECT_EQ(delivered, 0);
    // A frame number times the frame size overflows 32 bits.
    EXPECT_TRUE(reader.seekPcm(INT32_MAX));
    EXPECT_EQ(reader.tellPcm(), 4);
}

TYPED_TEST(AudioFormatReader, emptyReadRequestsDeliverNothingAndDoNotMove) {
    MemoryInputStream stream(TypeParam::file({}, kFourStereoFrames));
    typename TestFixture::Reader reader(stream);
    int16_t sample = 0x55;
    int16_t* buffers[] = {&sample};
    const std::tuple<int16_t**, int, int> requests[] = {
        {buffers, 1, 0}, {buffers, 1, -3}, {nullptr, 1, 1}, {buffers, 0, 1}};
    for (auto [target, channels, frames] : requests)
        EXPECT_EQ(reader.readPcm16s(target, channels, frames), 0);
    EXPECT_EQ(reader.tellPcm(), 0);
    EXPECT_EQ(sample, 0x55);
}

TYPED_TEST(AudioFormatReader, readsTheChannelsBothSidesHave) {
    MemoryInputStream stereo(TypeParam::file({}, kFourStereoFrames));
    typename TestFixture::Reader stereoReader(stereo);
    EXPECT_EQ(readChannels<int16_t>(stereoReader, 1, 4)[0], (std::vector<int16_t>{1, 2, 3, 4}));

    MemoryInputStream mono(TypeParam::file({.channels = 1}, {9, 8}));
    typename TestFixture::Reader monoReader(mono);
    int16_t left[2] = {}, right[2] = {7, 7};
    int16_t* buffers[] = {left, right};
    EXPECT_EQ(monoReader.readPcm16s(buffers, 2, 2), 2);
    EXPECT_EQ(left[1], 8);
    EXPECT_EQ(right[0], 7);
    EXPECT_EQ(right[1], 7);
}

TYPED_TEST(AudioFormatReader, refusesFramesLargerThanTheStagingBuffer) {
    MemoryInputStream stream(TypeParam::file({.channels = 600}, std::vector<int32_t>(1200)));
    typename TestFixture::Reader reader(stream);
    int32_t delivered = -1;
    readChannels<int16_t>(reader, 2, 2, &delivered);
    EXPECT_EQ(delivered, 0);
}

TYPED_TEST(AudioFormatReader, everyTruncationIsReadSafelyAndDeliversNothing) {
    const Bytes file = TypeParam::file({.bits = 24}, noise(64, 24, 9));
    for (size_t length = 0; length <= file.size(); ++length) {
        MemoryInputStream stream(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)));
        typename TestFixture::Reader reader(stream);
        int32_t delivered = -1;
        reader.seekPcm(0);
        readChannels<int32_t>(reader, 2, 64, &delivered);
        EXPECT_EQ(delivered, length == file.size() ? 32 : 0) << length;
    }
}

// Containers nest eight deep at most; without a limit the walk would recurse once per header
// and run out of stack.
TYPED_TEST(AudioFormatReader, guardsTheNestingDepth) {
    const Bytes file = TypeParam::file({}, kFourStereoFrames);
    Bytes nested(file.begin() + 12, file.end());
    for (int depth = 1; depth <= 9; ++depth) {
        nested = TypeParam::container(nested);
        MemoryInputStream stream(nested);
        typename TestFixture::Reader reader(stream);
        EXPECT_EQ(reader.valid(), depth <= 8) << depth;
    }
    Bytes header = TypeParam::container({});
    std::fill(header.begin() + 4, header.begin() + 8, 0x7F);  // claims almost 2 GiB
    Bytes deep;
    for (int i = 0; i < 200000; ++i)
        deep.insert(deep.end(), header.begin(), header.end());
    MemoryInputStream stream(deep);
    typename TestFixture::Reader reader(stream);
    EXPECT_FALSE(reader.valid());
}

TYPED_TEST(AudioFormatReader, decoratorAnswersForItsFileOrZeroWithoutOne) {
    TempDir dir;
    const Bytes file = TypeParam::file({.channels = 1}, {100, -200, 300});
    MemoryInputStream stream(file);
    typename TestFixture::Reader bare(stream);
    eLibrary::AudioFormatReaderFileDecorator<typename TestFixture::Reader> opened(
        dir.write("ir", file).c_str());
    eLibrary::AudioFormatReaderFileDecorator<typename TestFixture::Reader> missing(dir.path("none").c_str());
    const auto answers = [](eLibrary::AudioFormatReader& r) {
        const bool seeks = r.seekPcm(1);
        return std::vector<int64_t>{
            r.fail(),       r.valid(),       r.validSampeRate(),  r.validChannels(), r.validSampleSize(),
            r.hasFormat(),  r.getChannels(), r.getSampleFrames(), r.getSampleRate(), r.getSampleSize(),
            r.getBitRate(), seeks,           r.tellPcm()};
    };
    EXPECT_EQ(answers(opened), answers(bare));
    EXPECT_EQ(answers(missing), (std::vector<int64_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(readChannels<int16_t>(opened, 1, 4), (std::vector<std::vector<int16_t>>{{-200, 300}}));
    ASSERT_TRUE(opened.seekPcm(0));
    EXPECT_EQ(readChannels<int32_t>(opened, 1, 1), (std::vector<std::vector<int32_t>>{{100 << 16}}));
    EXPECT_EQ(readChannels<float>(opened, 1, 1), (std::vector<std::vector<float>>{{-200 / 32768.0f}}));
    int16_t sample = 0x55;
    int32_t wide = 0x55;
    float real = 0.5f;
    int16_t* shorts[] = {&sample};
    int32_t* ints[] = {&wide};
    float* floats[] = {&real};
    EXPECT_EQ(
        missing.readPcm16s(shorts, 1, 1) + missing.readPcm32s(ints, 1, 1) + missing.readPcm32f(floats, 1, 1),
        0);
    EXPECT_EQ(sample, 0x55);
}

}  // namespace
