#include "midi/TrafficTap.h"

#include <gmock/gmock.h>
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
    // A message cut over deliveries is kept whole, real-time bytes pass unseen, another status byte
    // ends an unfinished one.
    auto entry = [](TraceDirection direction, Bytes bytes) {
        return testing::AllOf(testing::Field(&midi::TrafficEntry::direction, direction),
                              testing::Field(&midi::TrafficEntry::bytes, bytes));
    };
    EXPECT_THAT(tap.take(), testing::ElementsAre(entry(TraceDirection::In, {0xF0, 0x02, 0x03, 0xF7}),
                                                 entry(TraceDirection::In, {0xF0, 0x05, 0xF7}),
                                                 entry(TraceDirection::Out, {0xF0, 0x06, 0xF7})));
    EXPECT_TRUE(tap.take().empty());
    tap.setWatching(false);
    tap.write(TraceDirection::Out, Bytes{0xF0, 0x07, 0xF7});
    EXPECT_TRUE(tap.take().empty());
}

}  // namespace
