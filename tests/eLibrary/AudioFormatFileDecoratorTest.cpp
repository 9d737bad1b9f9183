#include "eLibrary/AudioFormatFileDecorator.h"

#include <gtest/gtest.h>

#include "eLibrary/AiffFormat.h"
#include "eLibrary/AudioFileBuilder.h"
#include "eLibrary/WaveFormat.h"

namespace {

using namespace testaudio;

template <typename Reader>
class AudioFormatFileDecoratorTest : public testing::Test {};

using Readers = testing::Types<eLibrary::WaveFormatReader, eLibrary::AiffFormatReader>;
TYPED_TEST_SUITE(AudioFormatFileDecoratorTest, Readers);

TYPED_TEST(AudioFormatFileDecoratorTest, missingFileFailsAndAnswersZeroEverywhere) {
    TempDir dir;
    eLibrary::AudioFormatReaderFileDecorator<TypeParam> reader(dir.path("missing").c_str());
    int16_t sample = 0x55;
    int32_t wide = 0x55;
    float real = 0.5f;
    int16_t* shorts[] = {&sample};
    int32_t* ints[] = {&wide};
    float* floats[] = {&real};
    EXPECT_TRUE(reader.fail());
    EXPECT_FALSE(reader.valid());
    EXPECT_FALSE(reader.validSampeRate());
    EXPECT_FALSE(reader.validChannels());
    EXPECT_FALSE(reader.validSampleSize());
    EXPECT_FALSE(reader.hasFormat());
    EXPECT_FALSE(reader.seekPcm(0));
    for (int32_t value : {reader.getChannels(), reader.getSampleFrames(), reader.getSampleRate(),
                          reader.getSampleSize(), reader.getBitRate(), reader.tellPcm()})
        EXPECT_EQ(value, 0);
    EXPECT_EQ(reader.readPcm16s(shorts, 1, 1), 0);
    EXPECT_EQ(reader.readPcm32s(ints, 1, 1), 0);
    EXPECT_EQ(reader.readPcm32f(floats, 1, 1), 0);
    EXPECT_EQ(sample, 0x55);
}

TEST(AudioFormatFileDecorator, forwardsToTheReaderOfItsFile) {
    TempDir dir;
    const std::string path = dir.write("a.wav", wavFile({.channels = 1}, wavSamples(16, {100, -200, 300})));
    eLibrary::AudioFormatReaderFileDecorator<eLibrary::WaveFormatReader> reader(path.c_str());
    int16_t samples[4] = {};
    int16_t* buffers[] = {samples};
    EXPECT_FALSE(reader.fail());
    EXPECT_TRUE(reader.valid());
    EXPECT_TRUE(reader.hasFormat());
    EXPECT_EQ(reader.getSampleFrames(), 3);
    EXPECT_EQ(reader.getBitRate(), 16 * 44100);
    EXPECT_TRUE(reader.seekPcm(1));
    EXPECT_EQ(reader.readPcm16s(buffers, 1, 4), 2);
    EXPECT_EQ(samples[0], -200);
    EXPECT_EQ(samples[1], 300);
    EXPECT_EQ(reader.tellPcm(), 3);
}

}  // namespace
