#include "midi/TrafficTap.h"

#include <gtest/gtest.h>

namespace {

using midi::TraceDirection;
using Bytes = std::vector<uint8_t>;

TEST(TrafficTap, keepsWholeMessagesOnlyWhileWatched) {
    midi::TrafficTap tap;
    tap.write(TraceDirection::Out, Bytes{0xF0, 0x01, 0xF7});
    tap.setWatching(true);
    tap.write(TraceDirection::In, Bytes{0xF0, 0x02});
    tap.write(TraceDirection::In, Bytes{0xF8, 0x03, 0xF7, 0xF0, 0x04, 0x90, 0xF0, 0x05, 0xF7});
    tap.write(TraceDirection::Out, Bytes{0xF0, 0x06, 0xF7});
    const std::vector<midi::TrafficEntry> kept = tap.take();
    std::vector<Bytes> keptBytes;
    for (const midi::TrafficEntry& entry : kept)
        keptBytes.push_back(entry.bytes);
    EXPECT_EQ(keptBytes,
              (std::vector<Bytes>{{0xF0, 0x02, 0x03, 0xF7}, {0xF0, 0x05, 0xF7}, {0xF0, 0x06, 0xF7}}))
        << "a message cut over deliveries is kept whole, real-time bytes pass unseen, another status "
           "byte ends an unfinished one";
    EXPECT_EQ(kept.back().direction, TraceDirection::Out);
    EXPECT_TRUE(tap.take().empty());
    tap.setWatching(false);
    tap.write(TraceDirection::Out, Bytes{0xF0, 0x07, 0xF7});
    EXPECT_TRUE(tap.take().empty());
}

}  // namespace
