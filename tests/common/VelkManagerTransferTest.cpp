#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace velktest;

using CoefficientStream = ConnectedManagerTest<0x32>;

std::vector<SPacket> packets(const std::vector<Bytes>& messages) {
    std::vector<SPacket> decoded(messages.size());
    for (size_t i = 0; i < messages.size(); ++i)
        EXPECT_TRUE(decodePacket(messages[i], decoded[i])) << testing::PrintToString(messages[i]);
    return decoded;
}

TEST_F(CoefficientStream, bypassIsTenNumberedPacketsWithTheirChecksums) {
    manager->sendBypassData(1);
    const auto sent = amp.received();
    const auto decoded = packets(sent);
    ASSERT_EQ(sent.size(), 10u);
    const uint8_t checksums[] = {0x6F, 0x44, 0x43, 0x42, 0x41, 0x40, 0x3F, 0x3E, 0x3D, 0x3C};
    for (size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE("packet " + std::to_string(i));
        ASSERT_EQ(sent[i].size(), i < 9 ? 532u : 172u);
        EXPECT_EQ(sent[i][4], i < 9 ? 0x04 : 0x01);
        EXPECT_EQ(sent[i][5], i < 9 ? 0x0C : 0x24);
        EXPECT_EQ(sent[i][sent[i].size() - 2], checksums[i]);
        EXPECT_EQ(decoded[i].number, i);
        EXPECT_EQ(decoded[i].amp, 1);
    }
    EXPECT_EQ(decoded[9].payload.size(), 133u) << "130 bytes padded to nineteen groups";
    Bytes head = {'B', 'y', 'p', 'a', 's', 's'};
    head.resize(64, 0);
    head.insert(head.end(), {0xFF, 0x3F, 0xFF, 0x7F});
    EXPECT_EQ(Bytes(decoded[0].payload.begin(), decoded[0].payload.begin() + 68), head);
    EXPECT_EQ(events.count(eVelkEvent_BypassSent), 1u);
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRPacketAccepted, 10));
}

TEST_F(CoefficientStream, userRecordArrivesWholeAndIsAnnounced) {
    FIRCOE record = recordWithPattern("Greenback 4x12", 4115, 11);
    manager->sendFIRCOE(1, record);
    Bytes stream;
    for (const SPacket& packet : packets(amp.received()))
        stream.insert(stream.end(), packet.payload.begin(), packet.payload.end());
    stream.resize(std::min(stream.size(), sizeof(FIRCOE)));
    EXPECT_EQ(stream, recordBytes(record));
    EXPECT_EQ(recordBytes(playBuffer(1)), recordBytes(record));
    EXPECT_EQ(events.count(eVelkEvent_FIRCOESent), 1u);
}

TEST_F(CoefficientStream, eachPacketWaitsForItsAcknowledgementAndARejectionDoesNotStopTheStream) {
    amp.setSilent();
    FIRCOE record = recordWithPattern("Paced", 100, 2);
    Background streaming([&] { manager->sendFIRCOE(0, record); });
    for (uint8_t packet = 0; packet < 10; ++packet) {
        ASSERT_EQ(amp.received(packet + 1u).size(), packet + 1u);
        ASSERT_TRUE(clock.awaitWaiters(1));
        EXPECT_EQ(amp.received().size(), packet + 1u) << "the next packet waits for this one's reply";
        EXPECT_EQ(packets(amp.received()).back().number, packet);
        amp.send(parameterChange(0x04, 0x42, packet, packet == 4 ? 1 : 0));
    }
    ASSERT_TRUE(streaming.finished());
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRPacketAccepted, 9));
    EXPECT_EQ(events.count(eVelkEvent_FIRPacketRejected), 1u);
    EXPECT_EQ(events.count(eVelkEvent_FIRCOESent), 1u);
}

TEST_F(CoefficientStream, unknownAmpStreamsNothingAndChangesNoPlayBuffer) {
    const FIRCOE before[] = {playBuffer(0), playBuffer(1)};
    FIRCOE record = recordWithPattern("Nowhere", 1, 1);
    manager->sendFIRCOE(2, record);
    manager->sendBypassData(2);
    EXPECT_EQ(manager->sendPlayBuffer(-1), 0);
    manager->sendHeartBeatRequest();
    EXPECT_EQ(amp.received(1), std::vector<Bytes>{parameterChange(0x70, 0x01, 0, 0)});
    for (int ampIndex = 0; ampIndex < 2; ++ampIndex)
        EXPECT_EQ(recordBytes(playBuffer(ampIndex)), recordBytes(before[ampIndex]));
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_BypassSent, 2}})) << "still announced";
}

}  // namespace
