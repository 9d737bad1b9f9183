#include "eLibrary/InputFileStream.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "eLibrary/AudioFileBuilder.h"

namespace {

using eLibrary::InputFileStream;
using eLibrary::InputStream;

TEST(InputFileStream, seeksFromEachOriginAndRefusesTheRest) {
    testaudio::TempDir dir;
    const std::string path = dir.write("ten.bin", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    InputFileStream stream(path.c_str());
    EXPECT_TRUE(stream.seek(3, InputStream::SeekBegin));
    EXPECT_TRUE(stream.seek(2, InputStream::SeekCurrent));
    EXPECT_EQ(stream.tell(), 5u);
    EXPECT_FALSE(stream.seek(-20, InputStream::SeekCurrent));
    EXPECT_EQ(stream.tell(), 5u) << "a refused seek does not move";
    uint8_t byte = 0;
    EXPECT_TRUE(stream.seek(50, InputStream::SeekBegin));
    EXPECT_EQ(stream.readBuffer(&byte, 1), 0u);
    EXPECT_EQ(stream.tell(), 50u);
    // The size is a snapshot taken at opening; the end is the file's own.
    dir.write("ten.bin", testaudio::Bytes(100, 0));
    EXPECT_EQ(stream.size(), 10u);
    EXPECT_TRUE(stream.seek(-1, InputStream::SeekEnd));
    EXPECT_EQ(stream.tell(), 99u);
}

TEST(InputFileStream, readsTheRightBytesAcrossBufferRefillsAndSeeks) {
    testaudio::TempDir dir;
    testaudio::Bytes pattern(100000);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<uint8_t>(i * 7 + i / 256);
    InputFileStream stream(dir.write("big.bin", pattern).c_str());
    EXPECT_EQ(stream.size(), 100000u);
    // Forward and backward, inside one buffer fill, across fills, and past the end.
    const std::pair<int32_t, uint32_t> steps[] = {{0, 10},     {32760, 20}, {5, 3},    {40000, 70000},
                                                  {99990, 50}, {65536, 1},  {32767, 1}};
    for (auto [position, length] : steps) {
        ASSERT_TRUE(stream.seek(position, InputStream::SeekBegin));
        testaudio::Bytes bytes(length);
        const uint32_t expected = std::min<uint32_t>(length, 100000 - position);
        ASSERT_EQ(stream.readBuffer(bytes.data(), length), expected) << position;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + expected, pattern.begin() + position))
            << position;
        EXPECT_EQ(stream.tell(), static_cast<uint32_t>(position) + expected);
    }
}

}  // namespace
