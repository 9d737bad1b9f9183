#include "eLibrary/AudioConverter.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <vector>

#include "eLibrary/AudioFileBuilder.h"

namespace {

using testaudio::Bytes;
using testaudio::floatSamples;

constexpr uint16_t kAiff = 0;  // stands for AIFF's big-endian integers in place of a WAVE format tag

template <typename T>
int32_t convert(uint16_t formatTag, uint16_t bits, const Bytes& bytes, T* out) {
    T* buffers[] = {out};
    return formatTag == kAiff
               ? eLibrary::convertAifToPcmBuffers<T>(bits, bytes.data(), 1, 0, 1, buffers, 1, 0, 1)
               : eLibrary::convertWavToPcmBuffers<T>(formatTag, bits, bytes.data(), 1, 0, 1, buffers, 1, 0,
                                                     1);
}

// One sample's container bytes in file order and what the 16- and 32-bit destinations receive;
// a float destination receives the 32-bit value scaled by 2^-31, or a float sample's own bits.
const struct {
    const char* label;
    uint16_t formatTag;
    uint16_t bits;
    Bytes bytes;
    int16_t expected16;
    uint32_t expected32;
} kConversions[] = {
    {"unsigned8", 1, 8, {0x9A}, 0x1A00, 0x1A000000},
    {"unsigned8Lowest", 1, 8, {0x00}, -32768, 0x80000000},
    {"twelveMasksLowNibble", 1, 12, {0x97, 0xBC}, int16_t(0xBC90), 0xBC900000},
    {"sixteenLittleEndian", 1, 16, {0x9A, 0xBC}, int16_t(0xBC9A), 0xBC9A0000},
    {"twentyMasksLowNibble", 1, 20, {0x97, 0xBC, 0xDE}, int16_t(0xDEBC), 0xDEBC9000},
    {"twentyFourTruncatesNotRounds", 1, 24, {0x9A, 0xBC, 0x7E}, 0x7EBC, 0x7EBC9A00},
    {"twentyEightMasksLowNibble", 1, 28, {0x97, 0xBC, 0xDE, 0xF0}, int16_t(0xF0DE), 0xF0DEBC90},
    {"thirtyTwoTruncatesDown", 1, 32, {0x01, 0x00, 0xFF, 0xFF}, -1, 0xFFFF0001},
    // Floats are scaled, clamped and rounded half away from zero; NaN is silence.
    {"floatFullScaleClamps", 3, 32, floatSamples({1.0f}), 32767, 0x7FFFFFFF},
    {"floatMinusFullScale", 3, 32, floatSamples({-1.0f}), -32768, 0x80000000},
    {"floatUnderRangeClamps", 3, 32, floatSamples({-3.0f}), -32768, 0x80000000},
    {"floatHalfStepRoundsUp", 3, 32, floatSamples({0x1p-16f}), 1, 32768},
    {"floatMinusHalfStepRoundsDown", 3, 32, floatSamples({-0x1p-16f}), -1, 0xFFFF8000},
    {"floatBelowHalfStepRoundsToZero", 3, 32, floatSamples({0x1.fffffep-17f}), 0, 32768},
    {"floatNanIsSilence", 3, 32, floatSamples({std::numeric_limits<float>::quiet_NaN()}), 0, 0},
    // Every AIFF size is signed, 8 bits included.
    {"aiffSigned8", kAiff, 8, {0x80}, -32768, 0x80000000},
    {"aiffTwelveMasksLowNibble", kAiff, 12, {0x9A, 0xB7}, int16_t(0x9AB0), 0x9AB00000},
    {"aiffSixteenBigEndian", kAiff, 16, {0x9A, 0xBC}, int16_t(0x9ABC), 0x9ABC0000},
    {"aiffTwentyMasksLowNibble", kAiff, 20, {0x9A, 0xBC, 0xD7}, int16_t(0x9ABC), 0x9ABCD000},
    {"aiffTwentyFour", kAiff, 24, {0x12, 0x34, 0x56}, 0x1234, 0x12345600},
    {"aiffTwentyEightMasksLowNibble", kAiff, 28, {0x9A, 0xBC, 0xDE, 0xF7}, int16_t(0x9ABC), 0x9ABCDEF0},
    {"aiffThirtyTwo", kAiff, 32, {0x12, 0x34, 0x56, 0x7F}, 0x1234, 0x1234567F}};

TEST(AudioConverter, deliversEverySampleFormatToEveryDestinationType) {
    for (const auto& c : kConversions) {
        SCOPED_TRACE(c.label);
        int16_t out16 = 0;
        int32_t out32 = 0;
        float outFloat = 0;
        const auto into = [&c](auto* out) { return convert(c.formatTag, c.bits, c.bytes, out); };
        ASSERT_EQ(into(&out16) + into(&out32) + into(&outFloat), 3);
        EXPECT_EQ(out16, c.expected16);
        EXPECT_EQ(static_cast<uint32_t>(out32), c.expected32);
        const float expectedFloat =
            c.formatTag == 3
                ? std::bit_cast<float>(eLibrary::decodeU32(c.bytes.data(), eLibrary::ByteOrder::LittleEndian))
                : static_cast<float>(static_cast<int32_t>(c.expected32) * 0x1p-31);
        EXPECT_EQ(std::bit_cast<uint32_t>(outFloat), std::bit_cast<uint32_t>(expectedFloat));
    }
}

TEST(AudioConverter, refusesUnsupportedFormatsWithoutWriting) {
    int16_t out = 0x55;
    const std::pair<uint16_t, uint16_t> formats[] = {{1, 10}, {3, 16}, {0xFFFE, 16}, {kAiff, 33}, {kAiff, 0}};
    for (auto [formatTag, bits] : formats)
        EXPECT_EQ(convert(formatTag, bits, Bytes(8, 0x11), &out), 0) << formatTag << " " << bits;
    EXPECT_EQ(out, 0x55);
}

TEST(AudioConverter, honoursOffsetsCapacityAndTheChannelsBothSidesHave) {
    const Bytes stereo = testaudio::aiffSamples(16, {10, -10, 20, -20, 30, -30, 40, -40});
    const Bytes mono = testaudio::aiffSamples(16, {5, 6});
    int16_t left[4] = {-1, -1, -1, -1}, right[4] = {-1, -1, -1, -1};
    int16_t* buffers[] = {left, right};
    // Three frames from source frame 1 into one channel at frame 2, with room for two.
    EXPECT_EQ(eLibrary::convertAifToPcmBuffers<int16_t>(16, stereo.data(), 2, 1, 3, buffers, 1, 2, 2), 2);
    // No channel in common: the frames count, nothing is written.
    EXPECT_EQ(eLibrary::convertAifToPcmBuffers<int16_t>(16, stereo.data(), 2, 0, 2, buffers, 0, 0, 2), 2);
    EXPECT_EQ(eLibrary::convertAifToPcmBuffers<int16_t>(16, mono.data(), 1, 0, 2, buffers, 2, 0, 2), 2);
    EXPECT_EQ(std::vector<int16_t>(left, left + 4), (std::vector<int16_t>{5, 6, 20, 30}));
    EXPECT_EQ(std::vector<int16_t>(right, right + 4), (std::vector<int16_t>{-1, -1, -1, -1}));
}

}  // namespace
