#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace velktest;
using Inspector = VelkManagerInspector;

using Commands = ConnectedManagerTest<0x32>;

TEST_F(Commands, failedSendsButTheHeartBeatsThrowAndLeaveTheMirror) {
    amp.unplug();
    char name[64] = "Cab";
    EXPECT_EQ(errorCodeOf([&] { manager->sendReverbType(0, 2); }), 1001);
    EXPECT_EQ(errorCodeOf([&] { manager->sendFIRName(0, name); }), 1001);
    EXPECT_EQ(errorCodeOf([&] { manager->sendDumpRequest(0); }), 1001);
    EXPECT_EQ(errorCodeOf([&] { manager->sendBypassData(0); }), 1001);
    EXPECT_EQ(errorCodeOf([&] { manager->sendHeartBeatRequest(); }), 0)
        << "a lost heartbeat is judged by the silence limit";
    EffectData ampI{};
    manager->getEffectData(0, ampI);
    EXPECT_EQ(ampI.reverbType, 0);
    EXPECT_STREQ(playBuffer(0).name, "Bypass");
    EXPECT_TRUE(events.events().empty());
}

// ---- FIR parameters

// The mirror plays what the head now plays, so a rename that follows compares with that name.
TEST_F(Commands, changeFIRSelectsTheSlotOfTheCurrentAmpTypeOnBothSides) {
    receive(ampTypeChange(1, 2));
    manager->setPlayBuffer(1, sampleRecord("Preview", 1));
    manager->sendChangeFIR(1);
    EXPECT_EQ(amp.received(1).at(0), parameterChange(0x04, 0x00, 0x01, 0x07));
    EXPECT_EQ(Inspector::expectedID(*manager), 20);
    EXPECT_EQ(recordBytes(playBuffer(1)), recordBytes(firSlot(7)));
}

// Amp type 5 of Amp I would name Amp II's first slot, 0x7F of Amp II a byte no message may carry.
TEST_F(Commands, slotsOfUnknownAmpTypesAndBytesAbove7FAreNeverSent) {
    receive(effectDump({5, 0, 0, 0, 0, 0, 0, 0, 0x7F}));
    char name[64] = "\xC3\xA9";
    EXPECT_EQ(errorCodeOf([&] { manager->sendChangeFIR(0); }), 1010);
    EXPECT_EQ(errorCodeOf([&] { manager->sendFIRDataWriteReq(1); }), 1010);
    EXPECT_EQ(errorCodeOf([&] { manager->sendReverbType(0, 0x80); }), 1010);
    EXPECT_EQ(errorCodeOf([&] { manager->sendFIRName(0, name); }), 1010);
    EXPECT_TRUE(amp.received().empty());
}

TEST_F(Commands, firGainTravelsAsTwoSevenBitHalvesAndReachesOnlyAKnownAmpsPlayBuffer) {
    manager->sendFIRGain(0, 5181);
    EXPECT_EQ(amp.received(1).at(0), parameterChange(0x04, 0x04, 0x28, 0x3D));
    EXPECT_EQ(playBuffer(0).gain, 5181);
    manager->sendFIRGain(2, 518);
    EXPECT_EQ(amp.received(2).at(1), parameterChange(0x04, 0x06, 0x04, 0x06));
    EXPECT_EQ(playBuffer(1).gain, 16383);
}

TEST_F(Commands, nameCharactersGoOutOneByOneTenMillisecondsApartAndOnlyWhereTheyChanged) {
    char name[64] = "Cab";
    Background sending([&] { manager->sendFIRName(0, name); });
    const char expected[] = {'C', 'a', 'b', 0, 0, 0};  // "Bypass" becomes "Cab"
    for (uint8_t position = 0; position < 6; ++position) {
        ASSERT_TRUE(clock.awaitWaitsStarted(position + 1u));
        EXPECT_EQ(amp.received(position + 1u).back(),
                  parameterChange(0x04, 0x03, position, expected[position]));
        clock.advance(9);
        EXPECT_EQ(amp.received().size(), position + 1u);
        clock.advance(1);
    }
    ASSERT_TRUE(sending.finished());
    EXPECT_EQ(amp.received().size(), 6u);
    amp.clearReceived();
    name[2] = 0;
    runAdvancingClock([&] { manager->sendFIRName(0, name); });
    EXPECT_EQ(amp.received(1), std::vector<Bytes>{parameterChange(0x04, 0x03, 2, 0)})
        << "the old tail cleared";
    EXPECT_STREQ(playBuffer(0).name, "Ca");
    EXPECT_EQ(Inspector::expectedID(*manager), 22);
}

// ---- Dump requests and the reply wait

TEST_F(Commands, unansweredRequestsTimeOutAfterExactlyFiveSecondsWithOneMessageSent) {
    amp.setSilent();
    FIRCOE record = sampleRecord("Lost", 100);
    const std::function<void()> operations[] = {
        [&] { manager->sendFIRDataWriteReq(0); }, [&] { manager->sendDumpRequest(0); },
        [&] { manager->sendFIRCOE(0, record); }, [&] { manager->sendInitFIRDataReq(); },
        [&] { manager->sendMainVerReq(); }};
    for (size_t i = 0; i < std::size(operations); ++i) {
        SCOPED_TRACE("operation " + std::to_string(i));
        amp.clearReceived();
        int32_t code = 0;
        Background waiting([&] { code = errorCodeOf(operations[i]); });
        ASSERT_TRUE(clock.awaitWaiters(1));
        clock.advance(4999);
        EXPECT_FALSE(waiting.finished(20ms));
        clock.advance(1);
        ASSERT_TRUE(waiting.finished());
        EXPECT_EQ(code, 1004);
        EXPECT_EQ(amp.received(1).size(), 1u);
    }
    EXPECT_TRUE(events.events().empty());
    EXPECT_EQ(recordBytes(playBuffer(0)), recordBytes(record)) << "the mirror changes before the stream";
}

// A packet acknowledgement repeated by the transport must not end the next packet's wait.
TEST_F(Commands, onlyAReplyToTheCurrentExpectationEndsTheWait) {
    const Bytes acknowledgement = parameterChange(0x04, 0x42, 0, 0);
    Inspector::expectReply(*manager, 24);
    receive(acknowledgement);
    EXPECT_TRUE(manager->checkReceiveMessage());
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
    EXPECT_EQ(Inspector::expectedID(*manager), -1);
    // Repeated after its wait ended, then late for a wait that timed out.
    for (int stale = 0; stale < 2; ++stale) {
        receive(acknowledgement);
        Inspector::expectReply(*manager, 24);
        bool answered = true;
        runAdvancingClock([&] { answered = manager->checkReceiveMessage(); });
        EXPECT_FALSE(answered) << stale;
    }
}

// ---- Coefficient streams, followed whole to the simulated head by sim/EditorConnectionTest

TEST_F(Commands, unknownAmpStreamsNothingAndChangesNoPlayBuffer) {
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

// ---- Framing

TEST_F(Commands, packetReachingOutsideTheTransferRangeGoesOutEmpty) {
    manager->sendBypassData(0);
    amp.clearReceived();
    FIRCOE outside{};
    const uint8_t* begin = Inspector::sendBegin(*manager);
    EXPECT_EQ(manager->mi_sendPacket(0, reinterpret_cast<const uint8_t*>(&outside), 448, 0), 0);
    manager->mi_sendPacket(0, begin + 4032, 131, 0);
    manager->mi_sendPacket(9, begin + 4032, 130, 0);
    const auto sent = amp.received(3);
    const Bytes empty = {0xF0, 0x43, 0x7D, 0x00, 0x00, 0x0C, 0x58, 0x48, 0x44, 0x32,
                         0x46, 0x49, 0x52, 0x43, 0x00, 0x00, 0x00, 0x00, 0x46, 0xF7};
    EXPECT_EQ(sent.at(0), empty);
    EXPECT_EQ(sent.at(1), empty) << "one byte past the end";
    EXPECT_EQ(sent.at(2).size(), 172u);
}

}  // namespace
