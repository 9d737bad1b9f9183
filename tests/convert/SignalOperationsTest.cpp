#include "convert/SignalOperations.h"

#include <gtest/gtest.h>

namespace velk::convert {
namespace {

TEST(Quantized, roundsToTheNearestStepAndCountsWhatLiesBeyondFullScale) {
    struct Case {
        float sample;
        int bits;
        int32_t expected;
        size_t clipped;
    };
    const Case cases[] = {
        {1.0f, 24, 0x7FFFFF00, 0},  // full scale itself is the largest value, not a clip
        {-1.0f, 24, INT32_MIN, 0},       {1.5f, 24, 0x7FFFFF00, 1},    {-1.0001f, 16, INT32_MIN, 1},
        {0.6f * 0x1p-23f, 24, 0x100, 0}, {-0.4f * 0x1p-23f, 24, 0, 0}, {0.5f, 16, 0x40000000, 0},
        {-0.25f, 24, -0x20000000, 0},
    };
    for (const Case& c : cases) {
        const PcmSamples pcm = quantized(std::vector<float>{c.sample}, c.bits);
        EXPECT_EQ(pcm.samples.at(0), c.expected) << c.sample << " at " << c.bits << " bits";
        EXPECT_EQ(pcm.clipped, c.clipped) << c.sample;
    }
}

TEST(Quantized, reportsThePeakOfTheIntegers) {
    EXPECT_DOUBLE_EQ(quantized(std::vector<float>{0.25, -0.5, 0.125}, 16).peak, 0.5);
    EXPECT_DOUBLE_EQ(quantized(std::vector<float>{3.0}, 16).peak, 32767.0 / 32768);
}

}  // namespace
}  // namespace velk::convert
