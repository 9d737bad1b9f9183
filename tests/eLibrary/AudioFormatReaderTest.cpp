// What both readers, and the decorator that opens their files, do whatever the format.
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
    MemoryInputStream m_Stream{Format::file({}, kFourStereoFrames)};
    Reader m_Reader{m_Stream};
};

using Formats = testing::Types<Wave, Aiff>;
TYPED_TEST_SUITE(AudioFormatReader, Formats);

// 24-bit stereo: 170 frames a staging block, so 1000 frames cross five block boundaries.
TYPED_TEST(AudioFormatReader, readsFromTheFirstFrameAcrossStagingBlocks) {
    const std::vector<int32_t> values = noise(2000, 24, 7);
    MemoryInputStream stream(TypeParam::file({.bits = 24}, values));
    typename TestFixture::Reader reader(stream);
    EXPECT_EQ((std::vector<int32_t>{reader.getChannels(), reader.getSampleRate(), reader.getSampleSize(),
                                    reader.getSampleFrames(), reader.getBitRate(), reader.tellPcm()}),
              (std::vector<int32_t>{2, 44100, 24, 1000, 2116800, 0}));
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
    auto& reader = this->m_Reader;
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
}

TYPED_TEST(AudioFormatReader, emptyReadRequestsDeliverNothingAndDoNotMove) {
    int16_t sample = 0x55;
    int16_t* buffers[] = {&sample};
    const std::tuple<int16_t**, int, int> requests[] = {
        {buffers, 1, 0}, {buffers, 1, -3}, {nullptr, 1, 1}, {buffers, 0, 1}};
    for (auto [target, channels, frames] : requests)
        EXPECT_EQ(this->m_Reader.readPcm16s(target, channels, frames), 0);
    EXPECT_EQ(this->m_Reader.tellPcm(), 0);
    EXPECT_EQ(sample, 0x55);
}

TYPED_TEST(AudioFormatReader, readsTheChannelsBothSidesHave) {
    EXPECT_EQ(readChannels<int16_t>(this->m_Reader, 1, 4)[0], (std::vector<int16_t>{1, 2, 3, 4}));
    MemoryInputStream mono(TypeParam::file({.channels = 1}, {9, 8}));
    typename TestFixture::Reader monoReader(mono);
    int16_t left[2] = {}, right[2] = {7, 7};
    int16_t* buffers[] = {left, right};
    EXPECT_EQ(monoReader.readPcm16s(buffers, 2, 2), 2);
    EXPECT_EQ(left[1], 8);
    EXPECT_EQ(right[0] + right[1], 14) << "a buffer beyond the file's channels is not touched";
}

TYPED_TEST(AudioFormatReader, refusesFramesLargerThanTheStagingBuffer) {
    MemoryInputStream stream(TypeParam::file({.channels = 600}, std::vector<int32_t>(1200)));
    typename TestFixture::Reader reader(stream);
    EXPECT_EQ(readChannels<int16_t>(reader, 2, 2)[0].size(), 0u);
}

TYPED_TEST(AudioFormatReader, everyTruncationIsReadSafelyAndDeliversNothing) {
    const Bytes file = TypeParam::file({.bits = 24}, noise(64, 24, 9));
    for (size_t length = 0; length <= file.size(); ++length) {
        MemoryInputStream stream(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)));
        typename TestFixture::Reader reader(stream);
        reader.seekPcm(0);
        EXPECT_EQ(readChannels<int32_t>(reader, 2, 64)[0].size(), length == file.size() ? 32u : 0u) << length;
    }
}

// Containers nest eight deep at most: without a limit the walk would recurse once per header and
// run out of stack.
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

TYPED_TEST(AudioFormatReader, decoratorAnswersForItsFileAndZeroWithoutOne) {
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
    ASSERT_TRUE(opened.seekPcm(1));
    EXPECT_EQ(readChannels<int16_t>(opened, 1, 1)[0], (std::vector<int16_t>{-200}));
    EXPECT_EQ(readChannels<int32_t>(opened, 1, 1)[0], (std::vector<int32_t>{300 << 16}));
    ASSERT_TRUE(opened.seekPcm(0));
    EXPECT_EQ(readChannels<float>(opened, 1, 1)[0], (std::vector<float>{100 / 32768.0f}));
    EXPECT_EQ(readChannels<int16_t>(missing, 1, 1)[0].size() +
                  readChannels<int32_t>(missing, 1, 1)[0].size() +
                  readChannels<float>(missing, 1, 1)[0].size(),
              0u);
}

}  // namespace
