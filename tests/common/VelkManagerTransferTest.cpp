#include "VelkManagerFixture.h"

#include "common/SysexCodec.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using namespace velktest;

class CoefficientStream : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        connect(0x32);
    }

    std::vector<SPacket> packets() {
        std::vector<SPacket> decoded;
        for (const Bytes& message : amp.received()) {
            SPacket packet;
            EXPECT_TRUE(decodePacket(message, packet)) << hex(message);
            decoded.push_back(packet);
        }
        return decoded;
    }

    // The stream as the amplifier reassembles it: every payload in order, padding dropped.
    Bytes reassembled() {
        Bytes stream;
        for (const SPacket& packet : packets())
            stream.insert(stream.end(), packet.payload.begin(), packet.payload.end());
        stream.resize(std::min(stream.size(), sizeof(FIRCOE)));
        return stream;
    }

    FIRCOE playBuffer(int amp) {
        FIRCOE play;
        manager->getPlayBuffer(amp, play);
        return play;
    }
};

TEST_F(CoefficientStream, bypassForAmpIIIsTenPacketsWithTheirChecksums) {
    manager->sendBypassData(1);
    const auto sent = amp.received();
    ASSERT_EQ(sent.size(), 10u);
    const uint8_t checksums[] = {0x6F, 0x44, 0x43, 0x42, 0x41, 0x40, 0x3F, 0x3E, 0x3D, 0x3C};
    for (size_t i = 0; i < sent.size(); ++i) {
        const Bytes& message = sent[i];
        SCOPED_TRACE("packet " + std::to_string(i));
        ASSERT_EQ(message.size(), i < 9 ? 532u : 172u);
        EXPECT_EQ(message[4], i < 9 ? 0x04 : 0x01);
        EXPECT_EQ(message[5], i < 9 ? 0x0C : 0x24);
        EXPECT_EQ(message[message.size() - 2], checksums[i]);
        EXPECT_EQ(message.back(), 0xF7);
        EXPECT_EQ(message[16], 0x00);
        EXPECT_EQ(message[17], 0x01) << "amp field of Amp II";
    }
    EXPECT_EQ(events.count(eVelkEvent_BypassSent), 1u);
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRPacketAccepted, 10));
}

TEST_F(CoefficientStream, firstPacketStartsWithTheNameGainAndUnitImpulse) {
    manager->sendBypassData(0);
    const SPacket first = packets().at(0);
    EXPECT_EQ(first.number, 0);
    EXPECT_EQ(first.amp, 0);
    Bytes expected = {'B', 'y', 'p', 'a', 's', 's'};
    expected.resize(64, 0);
    expected.insert(expected.end(), {0xFF, 0x3F, 0xFF, 0x7F});
    EXPECT_EQ(Bytes(first.payload.begin(), first.payload.begin() + 68), expected);
}

TEST_F(CoefficientStream, lastPacketCarries130BytesPaddedToNineteenGroups) {
    manager->sendBypassData(0);
    const SPacket last = packets().at(9);
    EXPECT_EQ(last.number, 9);
    EXPECT_EQ(last.payload.size(), 133u);
}

TEST_F(CoefficientStream, userRecordArrivesWholeAndIsAnnounced) {
    FIRCOE record = recordWithPattern("Greenback 4x12", 4115, 11);
    manager->sendFIRCOE(1, record);
    EXPECT_EQ(reassembled(), recordBytes(record));
    EXPECT_EQ(recordBytes(playBuffer(1)), recordBytes(record));
    const auto raised = events.events();
    EXPECT_EQ(std::count(raised.begin(), raised.end(), event(eVelkEvent_FIRCOESent, 1)), 1);
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRPacketAccepted, 10));
}

TEST_F(CoefficientStream, packetsAreNumberedInOrderAndWaitForTheirAcknowledgement) {
    amp.setSilent();
    FIRCOE record = recordWithPattern("Paced", 100, 2);
    auto streaming = std::async(std::launch::async, [&] { manager->sendFIRCOE(0, record); });
    for (uint8_t packet = 0; packet < 10; ++packet) {
        ASSERT_TRUE(amp.waitForReceived(packet + 1u));
        ASSERT_TRUE(clock.awaitWaiters(1));
        EXPECT_EQ(amp.receivedCount(), packet + 1u) << "the next packet waits for this one's reply";
        EXPECT_EQ(packets().back().number, packet);
        amp.send(parameterChange(0x04, 0x42, packet, 0));
    }
    streaming.get();
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRCOESent));
}

TEST_F(CoefficientStream, rejectedPacketDoesNotStopTheStream) {
    amp.setResponder([this](const Bytes& message) {
        SPacket packet;
        decodePacket(message, packet);
        return std::vector<Bytes>{parameterChange(0x04, 0x42, 0, packet.number == 4 ? 1 : 0)};
    });
    FIRCOE record = recordWithPattern("Partly", 100, 5);
    manager->sendFIRCOE(0, record);
    EXPECT_EQ(amp.receivedCount(), 10u);
    EXPECT_EQ(events.count(eVelkEvent_FIRCOESent), 1u);
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRPacketAccepted, 9));
    EXPECT_EQ(events.count(eVelkEvent_FIRPacketRejected), 1u);
}

TEST_F(CoefficientStream, missingAcknowledgementTimesOutWithTheMirrorAlreadyReplaced) {
    amp.setSilent();
    FIRCOE record = recordWithPattern("Lost", 100, 6);
    auto streaming =
        std::async(std::launch::async, [&] { return errorCodeOf([&] { manager->sendFIRCOE(0, record); }); });
    ASSERT_TRUE(clock.awaitWaiters(1));
    clock.advance(5000);
    EXPECT_EQ(streaming.get(), 1004);
    EXPECT_EQ(amp.awaitReceived(1).size(), 1u);
    EXPECT_EQ(events.count(eVelkEvent_FIRCOESent), 0u);
    EXPECT_EQ(recordBytes(playBuffer(0)), recordBytes(record));
}

TEST_F(CoefficientStream, failedPacketSendThrowsSendError) {
    amp.unplug();
    EXPECT_EQ(errorCodeOf([&] { manager->sendBypassData(0); }), 1001);
    EXPECT_EQ(events.count(eVelkEvent_BypassSent), 0u);
}

TEST_F(CoefficientStream, unknownAmpStreamsNothing) {
    const FIRCOE before0 = playBuffer(0);
    const FIRCOE before1 = playBuffer(1);
    FIRCOE record = recordWithPattern("Nowhere", 1, 1);
    manager->sendFIRCOE(2, record);
    manager->sendHeartBeatRequest();
    EXPECT_EQ(amp.awaitReceived(1), std::vector<Bytes>{parameterChange(0x70, 0x01, 0, 0)});
    EXPECT_TRUE(events.events().empty());
    EXPECT_EQ(recordBytes(playBuffer(0)), recordBytes(before0));
    EXPECT_EQ(recordBytes(playBuffer(1)), recordBytes(before1));
    EXPECT_EQ(manager->sendPlayBuffer(-1), 0);
}

TEST_F(CoefficientStream, bypassForAnUnknownAmpIsStillAnnounced) {
    manager->sendBypassData(2);
    manager->sendHeartBeatRequest();
    EXPECT_EQ(amp.awaitReceived(1), std::vector<Bytes>{parameterChange(0x70, 0x01, 0, 0)});
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_BypassSent, 2)});
}

}  // namespace
