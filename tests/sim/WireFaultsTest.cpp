#include "sim/WireFaults.h"

#include <gtest/gtest.h>

namespace velk::sim {
namespace {

using namespace std::chrono_literals;
using enum ReplyFate::Kind;
using Fates = std::vector<ReplyFate::Kind>;

// The fates of the replies to the next `count` messages of that kind.
Fates nextFates(WireFaults& faults, Request request, int count) {
    Fates fates;
    for (int i = 0; i < count; ++i) {
        faults.arrives(request);
        fates.push_back(faults.fateOfReply(request).kind);
    }
    return fates;
}

TEST(WireFaults, delaysEveryReplyUnlessKindHasItsOwnDelayAndHoldsRepliesWhileAsked) {
    WireFaults faults;
    EXPECT_EQ(faults.fateOfReply(Request::Dump).delay, 0us);
    faults.setReplyDelay(2000us);
    faults.setReplyDelay(Request::HeartBeat, 0us);
    EXPECT_EQ(faults.fateOfReply(Request::CoefficientPacket).delay, 2000us);
    EXPECT_EQ(faults.fateOfReply(Request::HeartBeat).delay, 0us);
    faults.holdReplies(Request::FlashWrite, true);
    EXPECT_EQ(nextFates(faults, Request::FlashWrite, 1), Fates{Hold});
    faults.holdReplies(Request::FlashWrite, false);
    EXPECT_EQ(nextFates(faults, Request::FlashWrite, 1), Fates{Send});
}

TEST(WireFaults, dropsChosenRangeOfRepliesOfOneKindOrAllUntilReplaced) {
    WireFaults faults;
    faults.arrives(Request::CoefficientPacket);
    faults.dropReplies(Request::CoefficientPacket, 2, 1);  // the 2nd and 3rd from now
    EXPECT_EQ(nextFates(faults, Request::CoefficientPacket, 5), (Fates{Send, Drop, Drop, Send, Send}));
    EXPECT_EQ(nextFates(faults, Request::Dump, 1), Fates{Send});

    faults.dropReplies(Request::HeartBeat);
    EXPECT_EQ(nextFates(faults, Request::HeartBeat, 100), Fates(100, Drop));
    faults.dropReplies(Request::HeartBeat, 0);
    EXPECT_EQ(nextFates(faults, Request::HeartBeat, 1), Fates{Send});
}

TEST(WireFaults, duplicatesChosenRangeOfRepliesOfOneKind) {
    WireFaults faults;
    faults.duplicateReplies(Request::FlashWrite, 2, 1);
    std::vector<int> copies;
    for (int i = 0; i < 4; ++i) {
        faults.arrives(Request::FlashWrite);
        copies.push_back(faults.fateOfReply(Request::FlashWrite).copies);
    }
    EXPECT_EQ(copies, (std::vector<int>{1, 2, 2, 1}));
    faults.arrives(Request::Dump);
    EXPECT_EQ(faults.fateOfReply(Request::Dump).copies, 1);
}

TEST(WireFaults, unplugsOnNthMessageOfKindOnly) {
    WireFaults faults;
    faults.arrives(Request::CoefficientPacket);
    faults.unplugOn(Request::CoefficientPacket, 3);
    std::vector<bool> unplugs;
    for (Request request : {Request::CoefficientPacket, Request::HeartBeat, Request::CoefficientPacket,
                            Request::CoefficientPacket, Request::CoefficientPacket})
        unplugs.push_back(faults.arrives(request));
    EXPECT_EQ(unplugs, (std::vector<bool>{false, false, false, true, false}));
    EXPECT_EQ(faults.arrivals(Request::CoefficientPacket), 5);
}

}  // namespace
}  // namespace velk::sim
