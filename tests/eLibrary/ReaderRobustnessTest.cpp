// Damaged and hostile files: whatever the bytes, a reader ends its walk and never reads out of bounds.
#include <gtest/gtest.h>

#include "eLibrary/AiffFormat.h"
#include "eLibrary/MemoryInputStream.h"
#include "eLibrary/ReaderTestSupport.h"
#include "eLibrary/WaveFormat.h"

namespace {

using namespace testaudio;

// A 24-bit stereo file of 32 frames with an odd-sized extra chunk, and a container header that
// claims almost 2 GiB.
struct Wave {
    using Reader = eLibrary::WaveFormatReader;
    static Bytes file() {
        constexpr auto LE = ByteOrder::LittleEndian;
        return riffWave(chunk("fmt ", fmtData({.bits = 24}), LE) + chunk("LIST", {1, 2, 3}, LE) +
                        chunk("data", wavSamples(24, noise(64, 24, 9)), LE));
    }
    static Bytes containerHeader() {
        return id("RIFF") + u32(0x7FFFFFFF, ByteOrder::LittleEndian) + id("WAVE");
    }
};

struct Aiff {
    using Reader = eLibrary::AiffFormatReader;
    static Bytes file() {
        constexpr auto BE = ByteOrder::BigEndian;
        return formAiff(chunk("COMM", commData({.bits = 24}, 32), BE) + chunk("ANNO", {'x'}, BE) +
                        chunk("SSND", ssndData(aiffSamples(24, noise(64, 24, 4))), BE));
    }
    static Bytes containerHeader() { return id("FORM") + u32(0x7FFFFFFF, ByteOrder::BigEndian) + id("AIFF"); }
};

template <typename Format>
class ReaderRobustness : public testing::Test {};

using Formats = testing::Types<Wave, Aiff>;
TYPED_TEST_SUITE(ReaderRobustness, Formats);

TYPED_TEST(ReaderRobustness, everyTruncationOfAFileIsReadSafely) {
    const Bytes file = TypeParam::file();
    for (size_t length = 0; length <= file.size(); ++length) {
        MemoryInputStream stream(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)));
        typename TypeParam::Reader reader(stream);
        int32_t delivered = -1;
        reader.seekPcm(0);
        readChannels<int32_t>(reader, 2, 64, &delivered);
        EXPECT_EQ(delivered, length == file.size() ? 32 : 0) << length;
    }
}

// Without a depth limit the walk would recurse once per header and run out of stack.
TYPED_TEST(ReaderRobustness, deeplyNestedContainersEndTheWalkSafely) {
    const Bytes header = TypeParam::containerHeader();
    Bytes nested;
    nested.reserve(header.size() * 200000);
    for (int i = 0; i < 200000; ++i)
        nested.insert(nested.end(), header.begin(), header.end());
    MemoryInputStream stream(nested);
    typename TypeParam::Reader reader(stream);
    EXPECT_FALSE(reader.valid());
}

}  // namespace
