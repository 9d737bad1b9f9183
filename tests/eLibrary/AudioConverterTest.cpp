#include "eLibrary/AudioConverter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "eLibrary/AudioFileBuilder.h"

namespace {

using testaudio::Bytes;

// One sample's container bytes in file order and what each destination type must receive.
struct IntegerCase {
    const char* label;
    uint16_t bits;
    Bytes bytes;
    int16_t expected16;
    uint32_t expected32;
    float expectedFloat;

    friend void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.label; }
};

template <typename T>
T convertOneWav(const IntegerCase& c) {
    T out{};
    T* buffers[] = {&out};
    EXPECT_EQ(eLibrary::convertWavToPcmBuffers<T>(1, c.bits, c.bytes.data(), 1, 0, 1, buffers, 1, 0, 1), 1);
    return out;
}

template <typename T>
T convertOneAiff(const IntegerCase& c) {
    T out{};
    T* buffers[] = {&out};
    EXPECT_EQ(eLibrary::convertAifToPcmBuffers<T>(c.bits, c.bytes.data(), 1, 0, 1, buffers, 1, 0, 1), 1);
    return out;
}

std::string caseName(const testing::TestParamInfo<IntegerCase>& info) {
    return info.param.label;
}

class WavIntegerConversion : public testing::TestWithParam<IntegerCase> {};

TEST_P(WavIntegerConversion, deliversTheTopBitsOfEachContainer) {
    const IntegerCase& c = GetParam();
    EXPECT_EQ(convertOneWav<int16_t>(c), c.expected16);
    EXPECT_EQ(static_cast<uint32_t>(convertOneWav<int32_t>(c)), c.expected32);
    EXPECT_EQ(convertOneWav<float>(c), c.expectedFloat);
}

// Little-endian containers; 8-bit samples are unsigned with 128 as silence.
INSTANTIATE_TEST_SUITE_P(
    Bits, WavIntegerConversion,
    testing::Values(
        IntegerCase{"unsigned8", 8, {0x9A}, 0x1A00, 0x1A000000, 26 / 128.0f},
        IntegerCase{"unsigned8Silence", 8, {0x80}, 0, 0, 0.0f},
        IntegerCase{"unsigned8Lowest", 8, {0x00}, -32768, 0x80000000, -1.0f},
        IntegerCase{"twelveMasksLowNibble",
                    12,
                    {0x97, 0xBC},
                    int16_t(0xBC90),
                    0xBC900000,
                    int16_t(0xBC90) / 32768.0f},
        IntegerCase{"sixteen", 16, {0x9A, 0xBC}, int16_t(0xBC9A), 0xBC9A0000, int16_t(0xBC9A) / 32768.0f},
        IntegerCase{"twentyMasksLowNibble",
                    20,
                    {0x97, 0xBC, 0xDE},
                    int16_t(0xDEBC),
                    0xDEBC9000,
                    float(int32_t(0xDEBC9000) * 0x1p-31)},
        IntegerCase{"twentyFour", 24, {0x9A, 0xBC, 0x7E}, 0x7EBC, 0x7EBC9A00, float(0x7EBC9A00 * 0x1p-31)},
        IntegerCase{"twentyEightMasksLowNibble",
                    28,
                    {0x97, 0xBC, 0xDE, 0xF0},
                    int16_t(0xF0DE),
                    0xF0DEBC90,
                    float(int32_t(0xF0DEBC90) * 0x1p-31)},
        IntegerCase{"thirtyTwo",
                    32,
                    {0x9A, 0xBC, 0xDE, 0xF0},
                    int16_t(0xF0DE),
                    0xF0DEBC9A,
                    float(int32_t(0xF0DEBC9A) * 0x1p-31)},
        IntegerCase{"minusOneTruncatesDown", 32, {0xFF, 0xFF, 0xFF, 0xFF}, -1, 0xFFFFFFFF, float(-0x1p-31)},
        IntegerCase{
            "minus65535TruncatesDown", 32, {0x01, 0x00, 0xFF, 0xFF}, -1, 0xFFFF0001, float(-65535 * 0x1p-31)},
        IntegerCase{"upperHalfWithoutRounding",
                    32,
                    {0x78, 0x56, 0x34, 0x12},
                    0x1234,
                    0x12345678,
                    float(0x12345678 * 0x1p-31)}),
    caseName);

class AiffIntegerConversion : public testing::TestWithParam<IntegerCase> {};

TEST_P(AiffIntegerConversion, deliversTheTopBitsOfEachContainer) {
    const IntegerCase& c = GetParam();
    EXPECT_EQ(convertOneAiff<int16_t>(c), c.expected16);
    EXPECT_EQ(static_cast<uint32_t>(convertOneAiff<int32_t>(c)), c.expected32);
    EXPECT_EQ(convertOneAiff<float>(c), c.expectedFloat);
}

// Big-endian containers; every size is signed, 8 bits included.
INSTANTIATE_TEST_SUITE_P(
    Bits, AiffIntegerConversion,
    testing::Values(
        IntegerCase{"signed8Lowest", 8, {0x80}, -32768, 0x80000000, -1.0f},
        IntegerCase{"signed8Highest", 8, {0x7F}, 32512, 0x7F000000, 0.9921875f},
        IntegerCase{"twelveMasksLowNibble",
                    12,
                    {0x9A, 0xB7},
                    int16_t(0x9AB0),
                    0x9AB00000,
                    int16_t(0x9AB0) / 32768.0f},
        IntegerCase{"sixteen", 16, {0x9A, 0xBC}, int16_t(0x9ABC), 0x9ABC0000, int16_t(0x9ABC) / 32768.0f},
        IntegerCase{"twentyMasksLowNibble",
                    20,
                    {0x9A, 0xBC, 0xD7},
                    int16_t(0x9ABC),
                    0x9ABCD000,
                    float(int32_t(0x9ABCD000) * 0x1p-31)},
        IntegerCase{"twentyFour", 24, {0x12, 0x34, 0x56}, 0x1234, 0x12345600, float(0x12345600 * 0x1p-31)},
        IntegerCase{"twentyEightMasksLowNibble",
                    28,
                    {0x9A, 0xBC, 0xDE, 0xF7},
                    int16_t(0x9ABC),
                    0x9ABCDEF0,
                    float(int32_t(0x9ABCDEF0) * 0x1p-31)},
        IntegerCase{"thirtyTwo", 32, {0xFF, 0xFF, 0x00, 0x01}, -1, 0xFFFF0001, float(-65535 * 0x1p-31)}),
    caseName);

struct FloatCase {
    const char* label;
    float sample;
    int16_t expected16;
    int32_t expected32;

    friend void PrintTo(const FloatCase& c, std::ostream* os) { *os << c.label; }
};

class WavFloatConversion : public testing::TestWithParam<FloatCase> {};

TEST_P(WavFloatConversion, scalesClampsAndRoundsHalfAwayFromZero) {
    const FloatCase& c = GetParam();
    const Bytes bytes = testaudio::floatSamples({c.sample});
    int16_t out16 = 0;
    int32_t out32 = 0;
    float outFloat = 0;
    int16_t* buffers16[] = {&out16};
    int32_t* buffers32[] = {&out32};
    float* buffersFloat[] = {&outFloat};
    ASSERT_EQ(eLibrary::convertWavToPcmBuffers<int16_t>(3, 32, bytes.data(), 1, 0, 1, buffers16, 1, 0, 1), 1);
    ASSERT_EQ(eLibrary::convertWavToPcmBuffers<int32_t>(3, 32, bytes.data(), 1, 0, 1, buffers32, 1, 0, 1), 1);
    ASSERT_EQ(eLibrary::convertWavToPcmBuffers<float>(3, 32, bytes.data(), 1, 0, 1, buffersFloat, 1, 0, 1),
              1);
    EXPECT_EQ(out16, c.expected16);
    EXPECT_EQ(out32, c.expected32);
    EXPECT_EQ(std::memcmp(&outFloat, &c.sample, sizeof outFloat), 0) << "floats are copied bit for bit";
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WavFloatConversion,
    testing::Values(FloatCase{"fullScale", 1.0f, 32767, 2147483647},
                    FloatCase{"minusFullScale", -1.0f, -32768, INT32_MIN},
                    FloatCase{"half", 0.5f, 16384, 1073741824},
                    FloatCase{"minusQuarter", -0.25f, -8192, -536870912},
                    FloatCase{"overRangeClamps", 2.0f, 32767, 2147483647},
                    FloatCase{"underRangeClamps", -3.0f, -32768, INT32_MIN},
                    FloatCase{"halfStepRoundsUp", 0x1p-16f, 1, 32768},
                    FloatCase{"minusHalfStepRoundsDown", -0x1p-16f, -1, -32768},
                    FloatCase{"justBelowHalfStepRoundsToZero", 0x1.fffffep-17f, 0, 32768},
                    FloatCase{"nanIsSilence", std::numeric_limits<float>::quiet_NaN(), 0, 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(AudioConverter, unsupportedFormatsWriteNothingAndReturnZero) {
    const Bytes bytes(8, 0x11);
    int16_t out = 0x55;
    int16_t* buffers[] = {&out};
    EXPECT_EQ(eLibrary::convertWavToPcmBuffers<int16_t>(1, 10, bytes.data(), 1, 0, 1, buffers, 1, 0, 1), 0);
    EXPECT_EQ(eLibrary::convertWavToPcmBuffers<int16_t>(3, 16, bytes.data(), 1, 0, 1, buffers, 1, 0, 1), 0);
    EXPECT_EQ(eLibrary::convertWavToPcmBuffers<int16_t>(0xFFFE, 16, bytes.data(), 1, 0, 1, buffers, 1, 0, 1),
              0);
    EXPECT_EQ(eLibrary::convertAifToPcmBuffers<int16_t>(33, bytes.data(), 1, 0, 1, buffers, 1, 0, 1), 0);
    EXPECT_EQ(eLibrary::convertAifToPcmBuffers<int16_t>(0, bytes.data(), 1, 0, 1, buffers, 1, 0, 1), 0);
    EXPECT_EQ(out, 0x55);
}

TEST(AudioConverter, convertsTheSmallerChannelCountAndLeavesOtherBuffersAlone) {
    const Bytes stereo = testaudio::wavSamples(16, {1, -1, 2, -2});
    int16_t left[2] = {}, right[2] = {7, 7};
    int16_t* buffers[] = {left, right};
    EXPECT_EQ(eLibrary::convertWavToPcmBuffers<int16_t>(1, 16, stereo.data(), 2, 0, 2, buffers, 1, 0, 2), 2);
    EXPECT_EQ(left[0], 1);
    EXPECT_EQ(left[1], 2);
    EXPECT_EQ(right[0], 7) << "a destination buffer beyond the count is not touched";

    const Bytes mono = testaudio::wavSamples(16, {5, 6});
    EXPECT_EQ(eLibrary::convertWavToPcmBuffers<int16_t>(1, 16, mono.data(), 1, 0, 2, buffers, 2, 0, 2), 2);
    EXPECT_EQ(left[1], 6);
    EXPECT_EQ(right[1], 7) << "a destination buffer beyond the source channels is not touched";
}

TEST(AudioConverter, honoursOffsetsAndCapacity) {
    const Bytes mono = testaudio::aiffSamples(16, {10, 20, 30, 40});
    int16_t out[4] = {-1, -1, -1, -1};
    int16_t* buffers[] = {out};
    EXPECT_EQ(eLibrary::convertAifToPcmBuffers<int16_t>(16, mono.data(), 1, 1, 3, buffers, 1, 2, 2), 2);
    EXPECT_EQ(out[0], -1);
    EXPECT_EQ(out[1], -1);
    EXPECT_EQ(out[2], 20);
    EXPECT_EQ(out[3], 30);
}

TEST(AudioConverter, noCommonChannelReturnsTheFramesWithoutWriting) {
    const Bytes mono = testaudio::wavSamples(16, {10, 20});
    int16_t out = 0x55;
    int16_t* buffers[] = {&out};
    EXPECT_EQ(eLibrary::convertWavToPcmBuffers<int16_t>(1, 16, mono.data(), 1, 0, 2, buffers, 0, 0, 2), 2);
    EXPECT_EQ(out, 0x55);
}

}  // namespace
