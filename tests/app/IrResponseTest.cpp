// The magnitude response drawn for an impulse response.
#include "app/speaker/IrResponse.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using velk::browse::magnitudeResponseDB;

TEST(IrResponse, aFullScaleImpulseIsFlatAtZeroDecibelsOnAnAxisSpacedEvenlyInRatio) {
    const std::vector<double> frequencies = velk::browse::logFrequencies(20, 20000, 4);
    ASSERT_EQ(frequencies.size(), 4u);
    for (size_t i = 0; i < frequencies.size(); ++i)
        EXPECT_NEAR(frequencies[i], 20 * std::pow(10.0, static_cast<double>(i)), 1e-6);
    std::vector<int16_t> impulse(2048, 0);
    impulse[0] = 32767;
    for (double level : magnitudeResponseDB(impulse, velk::browse::logFrequencies(20, 20000, 64)))
        EXPECT_NEAR(level, 0.0, 0.01);
}

TEST(IrResponse, aTwoTapAverageFallsOffTowardsNyquistAndSilenceReadsAsTheFloor) {
    std::vector<int16_t> average(2048, 0);
    average[0] = average[1] = 16384;
    const std::vector<double> frequencies{20.0, 20000.0};
    const std::vector<double> levels = magnitudeResponseDB(average, frequencies);
    EXPECT_NEAR(levels[0], 0.0, 0.01);
    // |cos(pi f / fs)| around 20 kHz, averaged over the band
    EXPECT_NEAR(levels[1], 20 * std::log10(std::cos(M_PI * 20000.0 / 44100.0)), 0.5);
    EXPECT_EQ(magnitudeResponseDB(std::vector<int16_t>(2048, 0), frequencies).front(),
              velk::browse::kFloorDB);
}

}  // namespace
