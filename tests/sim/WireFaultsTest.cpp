#include "sim/WireFaults.h"

#include <gtest/gtest.h>

namespace velk::sim {
namespace {

using std::chrono::microseconds;

TEST(WireFaults, sendsAtOnceWithoutFaults) {
    WireFaults faults;
    faults.arrives(Request::HeartBeat);
    const ReplyFate fate = faults.fateOfReply(Request::HeartBeat);
    EXPECT_EQ(fate.kind, ReplyFate::Send);
    EXPECT_EQ(fate.delay, microseconds(0));
}

TEST(WireFaults, delaysEveryReplyUnlessKindHasItsOwnDelay) {
    WireFaults faults;
    faults.setReplyDelay(microseconds(2000));
    faults.setReplyDelay(Request::HeartBeat, microseconds(0));
    EXPECT_EQ(faults.fateOfReply(Request::CoefficientPacket).delay, microseconds(2000));
    EXPECT_EQ(faults.fateOfReply(Request::HeartBeat).delay, microseconds(0));
}

TEST(WireFaults, dropsChosenRangeOfRepliesOfOneKind) {
    WireFaults faults;
    faults.arrives(Request::CoefficientPacket);
    faults.dropReplies(Request::CoefficientPacket, 2, 1);  // the 2nd and 3rd from now
    std::vector<ReplyFate::Kind> fates;
    for (int i = 0; i < 5; ++i) {
        faults.arrives(Request::CoefficientPacket);
        fates.push_back(faults.fateOfReply(Request::CoefficientPacket).kind);
    }
    EXPECT_EQ(fates, (std::vector<ReplyFate::Kind>{ReplyFate::Send, ReplyFate::Drop, ReplyFate::Drop,
                                                   ReplyFate::Send, ReplyFate::Send}));
    EXPECT_EQ(faults.fateOfReply(Request::Dump).kind, ReplyFate::Send);
}

TEST(WireFaults, dropsForeverUntilRuleIsReplaced) {
    WireFaults faults;
    faults.dropReplies(Request::HeartBeat);
    for (int i = 0; i < 100; ++i)
        faults.arrives(Request::HeartBeat);
    EXPECT_EQ(faults.fateOfReply(Request::HeartBeat).kind, ReplyFate::Drop);
    faults.dropReplies(Request::HeartBeat, 0);
    faults.arrives(Request::HeartBeat);
    EXPECT_EQ(faults.fateOfReply(Request::HeartBeat).kind, ReplyFate::Send);
}

TEST(WireFaults, holdsRepliesWhileAsked) {
    WireFaults faults;
    faults.holdReplies(Request::FlashWrite, true);
    EXPECT_EQ(faults.fateOfReply(Request::FlashWrite).kind, ReplyFate::Hold);
    faults.holdReplies(Request::FlashWrite, false);
    EXPECT_EQ(faults.fateOfReply(Request::FlashWrite).kind, ReplyFate::Send);
}

TEST(WireFaults, unplugsOnNthMessageOfKindOnly) {
    WireFaults faults;
    faults.arrives(Request::CoefficientPacket);
    faults.unplugOn(Request::CoefficientPacket, 3);
    EXPECT_FALSE(faults.arrives(Request::CoefficientPacket));
    EXPECT_FALSE(faults.arrives(Request::HeartBeat));
    EXPECT_FALSE(faults.arrives(Request::CoefficientPacket));
    EXPECT_TRUE(faults.arrives(Request::CoefficientPacket));
    EXPECT_FALSE(faults.arrives(Request::CoefficientPacket));
    EXPECT_EQ(faults.arrivals(Request::CoefficientPacket), 5);
}

}  // namespace
}  // namespace velk::sim
