#include "eLibrary/InputFileStream.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "eLibrary/AudioFileBuilder.h"

namespace {

using eLibrary::InputFileStream;
using eLibrary::InputStream;

class InputFileStreamTest : public testing::Test {
protected:
    testaudio::TempDir dir;
    std::string path = dir.write("ten.bin", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
};

TEST_F(InputFileStreamTest, missingFileFailsAndDeliversNothing) {
    InputFileStream stream(dir.path("missing.wav").c_str());
    uint8_t byte = 0x55;
    EXPECT_TRUE(stream.fail());
    EXPECT_EQ(stream.size(), 0u);
    EXPECT_EQ(stream.readBuffer(&byte, 1), 0u);
    EXPECT_FALSE(stream.seek(0, InputStream::SeekBegin));
}

TEST_F(InputFileStreamTest, readsUpToTheEndAndCountsWhatArrived) {
    InputFileStream stream(path.c_str());
    uint8_t bytes[16] = {};
    ASSERT_FALSE(stream.fail());
    EXPECT_EQ(stream.size(), 10u);
    EXPECT_EQ(stream.readBuffer(bytes, 4), 4u);
    EXPECT_EQ(stream.tell(), 4u);
    EXPECT_EQ(stream.readBuffer(bytes, 16), 6u);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[5], 9);
}

TEST_F(InputFileStreamTest, seeksFromEachOrigin) {
    InputFileStream stream(path.c_str());
    EXPECT_TRUE(stream.seek(3, InputStream::SeekBegin));
    EXPECT_EQ(stream.tell(), 3u);
    EXPECT_TRUE(stream.seek(2, InputStream::SeekCurrent));
    EXPECT_EQ(stream.tell(), 5u);
    EXPECT_TRUE(stream.seek(-1, InputStream::SeekEnd));
    EXPECT_EQ(stream.tell(), 9u);
    EXPECT_FALSE(stream.seek(-20, InputStream::SeekCurrent));
}

TEST_F(InputFileStreamTest, unknownSeekOriginFailsWithoutMoving) {
    InputFileStream stream(path.c_str());
    ASSERT_TRUE(stream.seek(6, InputStream::SeekBegin));
    for (int origin : {0, 4}) {
        EXPECT_FALSE(stream.seek(1, static_cast<InputStream::SeekOrigin>(origin))) << origin;
        EXPECT_EQ(stream.tell(), 6u) << origin;
    }
}

TEST_F(InputFileStreamTest, sizeIsTheSnapshotTakenAtOpening) {
    InputFileStream stream(path.c_str());
    dir.write("ten.bin", testaudio::Bytes(100, 0));
    EXPECT_EQ(stream.size(), 10u);
}

TEST_F(InputFileStreamTest, readsTheRightBytesAcrossBufferRefillsAndSeeks) {
    testaudio::Bytes pattern(100000);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<uint8_t>(i * 7 + i / 256);
    InputFileStream stream(dir.write("big.bin", pattern).c_str());
    struct Step {
        int32_t position;
        uint32_t length;
    };
    // Forward and backward, inside one buffer fill, across fills, and past the end.
    const Step steps[] = {{0, 10}, {32760, 20}, {5, 3}, {40000, 70000}, {99990, 50}, {65536, 1}, {32767, 1}};
    for (const Step& step : steps) {
        ASSERT_TRUE(stream.seek(step.position, InputStream::SeekBegin));
        testaudio::Bytes bytes(step.length);
        const uint32_t expected = std::min<uint32_t>(step.length, 100000 - step.position);
        ASSERT_EQ(stream.readBuffer(bytes.data(), step.length), expected) << step.position;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + expected, pattern.begin() + step.position))
            << step.position;
        EXPECT_EQ(stream.tell(), static_cast<uint32_t>(step.position) + expected);
    }
}

TEST_F(InputFileStreamTest, seekingPastTheEndSucceedsAndReadsNothing) {
    InputFileStream stream(path.c_str());
    uint8_t byte = 0;
    EXPECT_TRUE(stream.seek(50, InputStream::SeekBegin));
    EXPECT_EQ(stream.readBuffer(&byte, 1), 0u);
    EXPECT_EQ(stream.tell(), 50u);
}

}  // namespace
