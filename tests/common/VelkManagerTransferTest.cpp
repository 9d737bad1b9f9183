#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

// The whole stream is checked on the simulated head (sim/EditorConnectionTest); here its pacing.

namespace {

using namespace velktest;

using CoefficientStream = ConnectedManagerTest<0x32>;

TEST_F(CoefficientStream, eachPacketWaitsForItsAcknowledgementAndARejectionDoesNotStopTheStream) {
    amp.setSilent();
    FIRCOE record = sampleRecord("Paced", 100);
    Background streaming([&] { manager->sendFIRCOE(0, record); });
    for (uint8_t packet = 0; packet < 10; ++packet) {
        ASSERT_EQ(amp.received(packet + 1u).size(), packet + 1u);
        ASSERT_TRUE(clock.awaitWaiters(1));
        EXPECT_EQ(amp.received().size(), packet + 1u) << "the next packet waits for this one's reply";
        EXPECT_EQ(amp.received().back()[sysex::kBulkHeaderSize + 9], packet)
            << "the packet number's low half";
        amp.send(parameterChange(0x04, 0x42, packet, packet == 4 ? 1 : 0));
    }
    ASSERT_TRUE(streaming.finished());
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRPacketAccepted, 9));
    EXPECT_EQ(events.count(eVelkEvent_FIRPacketRejected), 1u);
    EXPECT_EQ(events.count(eVelkEvent_FIRCOESent), 1u);
}

TEST_F(CoefficientStream, unknownAmpStreamsNothingAndChangesNoPlayBuffer) {
    const FIRCOE before[] = {playBuffer(0), playBuffer(1)};
    FIRCOE record = sampleRecord("Nowhere", 1);
    manager->sendFIRCOE(2, record);
    manager->sendBypassData(2);
    EXPECT_EQ(manager->sendPlayBuffer(-1), 0);
    manager->sendHeartBeatRequest();
    EXPECT_EQ(amp.received(1), std::vector<Bytes>{kHeartBeatRequest});
    for (int ampIndex = 0; ampIndex < 2; ++ampIndex)
        EXPECT_EQ(recordBytes(playBuffer(ampIndex)), recordBytes(before[ampIndex]));
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_BypassSent, 2}})) << "still announced";
}

}  // namespace
