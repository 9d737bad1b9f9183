#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>

namespace {

using namespace velktest;
using Inspector = VelkManagerInspector;

class Commands : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        connect(0x32);
    }

    FIRCOE playBuffer(int amp) {
        FIRCOE play;
        manager->getPlayBuffer(amp, play);
        return play;
    }

    static std::array<char, 64> nameBuffer(const char* text) {
        std::array<char, 64> buffer{};
        std::strncpy(buffer.data(), text, 63);
        return buffer;
    }
};

// ---- Effect parameters

struct EffectCase {
    const char* what;
    std::function<void(CVelkManager&)> send;
    Bytes message;
    int32_t responseID;
    size_t blockByte;
};
void PrintTo(const EffectCase& c, std::ostream* os) {
    *os << c.what;
}

class EffectParameter : public Commands, public testing::WithParamInterface<EffectCase> {
protected:
    std::array<uint8_t, 16> effectBlock() {
        EffectData ampI{}, ampII{};
        FxLoopConnection connection{};
        manager->getEffectData(0, ampI);
        manager->getEffectData(1, ampII);
        manager->getFxLoopConnection(connection);
        std::array<uint8_t, 16> block{};
        block[0] = static_cast<uint8_t>(manager->getAmpType(0));
        block[1] = ampI.boosterType, block[2] = ampI.fxLoop, block[3] = ampI.reverbType,
        block[4] = ampI.noiseGate;
        block[5] = connection.sendConnection, block[6] = connection.returnConnection;
        block[8] = static_cast<uint8_t>(manager->getAmpType(1));
        block[9] = ampII.boosterType, block[10] = ampII.fxLoop, block[11] = ampII.reverbType;
        block[12] = ampII.noiseGate;
        return block;
    }
};

TEST_P(EffectParameter, sendsItsParameterChangeAndMirrorsTheValue) {
    const auto before = effectBlock();
    GetParam().send(*manager);
    EXPECT_EQ(amp.awaitReceived(1), std::vector<Bytes>{GetParam().message});
    EXPECT_EQ(Inspector::expectedID(*manager), GetParam().responseID);
    auto expected = before;
    expected[GetParam().blockByte] = GetParam().message[9];
    EXPECT_EQ(effectBlock(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllSettings, EffectParameter,
    testing::Values(EffectCase{"booster amp II",
                               [](CVelkManager& m) { m.sendBoosterType(1, 2); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x09, 0x00, 0x02, 0xF7},
                               14,
                               9},
                    EffectCase{"booster amp I",
                               [](CVelkManager& m) { m.sendBoosterType(0, 1); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x01, 0x00, 0x01, 0xF7},
                               14,
                               1},
                    EffectCase{"fx loop amp I",
                               [](CVelkManager& m) { m.sendFxLoop(0, 1); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x02, 0x00, 0x01, 0xF7},
                               15,
                               2},
                    EffectCase{"reverb amp II",
                               [](CVelkManager& m) { m.sendReverbType(1, 3); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x0B, 0x00, 0x03, 0xF7},
                               16,
                               11},
                    EffectCase{"noise gate amp I",
                               [](CVelkManager& m) { m.sendNoiseGate(0, 3); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x04, 0x00, 0x03, 0xF7},
                               17,
                               4},
                    EffectCase{"noise gate any other amp is amp II",
                               [](CVelkManager& m) { m.sendNoiseGate(5, 2); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x0C, 0x00, 0x02, 0xF7},
                               17,
                               12},
                    EffectCase{"send connection",
                               [](CVelkManager& m) { m.sendSendConnection(3); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x05, 0x00, 0x03, 0xF7},
                               18,
                               5},
                    EffectCase{"return connection",
                               [](CVelkManager& m) { m.sendReturnConnection(2); },
                               {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x06, 0x00, 0x02, 0xF7},
                               19,
                               6}));

TEST_F(Commands, failedSendThrowsAndLeavesTheMirror) {
    amp.unplug();
    EXPECT_EQ(errorCodeOf([&] { manager->sendReverbType(0, 2); }), 1001);
    EffectData ampI{};
    manager->getEffectData(0, ampI);
    EXPECT_EQ(ampI.reverbType, 0);
}

TEST_F(Commands, failedHeartBeatRequestIsSilent) {
    amp.unplug();
    EXPECT_EQ(errorCodeOf([&] { manager->sendHeartBeatRequest(); }), 0);
}

TEST_F(Commands, heartBeatRequestIsTheSystemParameterOne) {
    amp.setSilent();
    manager->sendHeartBeatRequest();
    EXPECT_EQ(hex(amp.awaitReceived(1).at(0)), "F0 43 7D 10 58 32 70 01 00 00 F7");
    EXPECT_EQ(Inspector::expectedID(*manager), 13);
}

// ---- FIR parameters

TEST_F(Commands, changeFIRSelectsTheSlotOfTheCurrentAmpType) {
    amp.send(ampTypeChange(1, 2));
    ASSERT_TRUE(events.waitFor(eVelkEvent_AmpTypeChanged));
    manager->sendChangeFIR(1);
    EXPECT_EQ(hex(amp.awaitReceived(1).at(0)), "F0 43 7D 10 58 32 04 00 01 07 F7");
    EXPECT_EQ(Inspector::expectedID(*manager), 20);
}

TEST_F(Commands, firGainTravelsAsTwoSevenBitHalvesAndReachesThePlayBuffer) {
    manager->sendFIRGain(0, 5181);
    EXPECT_EQ(hex(amp.awaitReceived(1).at(0)), "F0 43 7D 10 58 32 04 04 28 3D F7");
    EXPECT_EQ(playBuffer(0).gain, 5181);
    manager->sendFIRGain(1, 16383);
    EXPECT_EQ(hex(amp.awaitReceived(2).at(1)), "F0 43 7D 10 58 32 04 06 7F 7F F7");
    EXPECT_EQ(playBuffer(1).gain, 16383);
}

TEST_F(Commands, firGainForAnUnknownAmpSendsAmpIIsMessageButStoresNothing) {
    const FIRCOE before = playBuffer(1);
    manager->sendFIRGain(2, 518);
    EXPECT_EQ(hex(amp.awaitReceived(1).at(0)), "F0 43 7D 10 58 32 04 06 04 06 F7");
    EXPECT_EQ(playBuffer(1).gain, before.gain);
}

TEST_F(Commands, unchangedNameSendsNothing) {
    auto name = nameBuffer("Bypass");
    manager->sendFIRName(0, name.data());
    manager->sendHeartBeatRequest();
    EXPECT_EQ(amp.awaitReceived(1), std::vector<Bytes>{parameterChange(0x70, 0x01, 0, 0)});
}

TEST_F(Commands, shorterNameClearsTheOldTail) {
    manager->setPlayBuffer(1, recordWithPattern("abc", 1, 1));
    auto name = nameBuffer("ab");
    runAdvancingClock([&] { manager->sendFIRName(1, name.data()); });
    EXPECT_EQ(amp.awaitReceived(1), std::vector<Bytes>{parameterChange(0x04, 0x05, 2, 0)});
    EXPECT_STREQ(playBuffer(1).name, "ab");
    EXPECT_EQ(Inspector::expectedID(*manager), 22);
}

TEST_F(Commands, nameCharactersGoOutOneByOneTenMillisecondsApart) {
    auto name = nameBuffer("Cab");
    auto sending = std::async(std::launch::async, [&] { manager->sendFIRName(0, name.data()); });
    const char expected[] = {'C', 'a', 'b', 0, 0, 0};  // "Bypass" becomes "Cab"
    for (uint8_t position = 0; position < 6; ++position) {
        ASSERT_TRUE(clock.awaitWaitsStarted(position + 1u));
        EXPECT_EQ(amp.awaitReceived(position + 1u).back(),
                  parameterChange(0x04, 0x03, position, expected[position]));
        clock.advance(9);
        EXPECT_EQ(amp.receivedCount(), position + 1u);
        clock.advance(1);
    }
    sending.get();
    EXPECT_EQ(amp.receivedCount(), 6u);
}

TEST_F(Commands, nameStopsAtTheFirstFailedSend) {
    amp.unplug();
    auto name = nameBuffer("Cab");
    EXPECT_EQ(errorCodeOf([&] { manager->sendFIRName(0, name.data()); }), 1001);
    EXPECT_STREQ(playBuffer(0).name, "Bypass");
}

TEST_F(Commands, flashWriteWaitsForTheAmplifiersAnswer) {
    amp.send(ampTypeChange(0, 4));
    ASSERT_TRUE(events.waitFor(eVelkEvent_AmpTypeChanged));
    manager->sendFIRDataWriteReq(0);
    EXPECT_EQ(hex(amp.received().at(0)), "F0 43 7D 10 58 32 04 07 00 04 F7");
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRWriteDone));
    EXPECT_EQ(Inspector::expectedID(*manager), -1) << "a finished wait resets both IDs";
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
}

TEST_F(Commands, failedFlashWriteStillEndsTheWait) {
    amp.setResponder([](const Bytes&) { return std::vector<Bytes>{parameterChange(0x04, 0x47, 1, 1)}; });
    EXPECT_EQ(errorCodeOf([&] { manager->sendFIRDataWriteReq(1); }), 0);
    EXPECT_TRUE(events.waitFor(eVelkEvent_FIRWriteFailed));
}

TEST_F(Commands, unansweredFlashWriteTimesOutAfterFiveSeconds) {
    amp.setSilent();
    auto writing =
        std::async(std::launch::async, [&] { return errorCodeOf([&] { manager->sendFIRDataWriteReq(0); }); });
    ASSERT_TRUE(clock.awaitWaiters(1));
    clock.advance(4999);
    EXPECT_EQ(writing.wait_for(20ms), std::future_status::timeout);
    clock.advance(1);
    EXPECT_EQ(writing.get(), 1004);
}

TEST_F(Commands, initialisationIsAnnouncedByTheReplyAndAgainByTheRequest) {
    manager->sendInitFIRDataReq();
    EXPECT_EQ(hex(amp.received().at(0)), "F0 43 7D 10 58 32 04 08 00 00 F7");
    ASSERT_TRUE(events.waitFor(eVelkEvent_FIRDataInitialized, 2));
    const auto raised = events.events();
    ASSERT_EQ(raised.size(), 2u);
    const bool requestFirst = raised[0].thread == std::this_thread::get_id();
    const SEvent& fromRequest = raised[requestFirst ? 0 : 1];
    const SEvent& fromReply = raised[requestFirst ? 1 : 0];
    EXPECT_EQ(fromRequest, event(eVelkEvent_FIRDataInitialized, 0));
    EXPECT_NE(fromReply.thread, std::this_thread::get_id()) << "the reply is announced on the input thread";
}

TEST_F(Commands, mainVersionIsAnnouncedOncePerListener) {
    amp.setVersion(0x2A5);
    manager->sendMainVerReq();
    EXPECT_EQ(hex(amp.received().at(0)), "F0 43 7D 10 58 32 70 21 00 00 F7");
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_MainVersion, 0x2A5)});
}

// ---- Dump requests

TEST_F(Commands, dumpRequestNamesItsBlock) {
    ASSERT_TRUE(manager->sendDumpRequest(7));
    ASSERT_TRUE(manager->sendDumpRequest(10));
    const auto sent = amp.received();
    EXPECT_EQ(hex(sent.at(0)), "F0 43 7D 20 58 48 44 32 46 48 52 32 F7");
    EXPECT_EQ(hex(sent.at(1)), "F0 43 7D 20 58 48 44 32 55 54 49 4C F7");
}

Bytes spoiled(Bytes dump) {
    dump[dump.size() - 2] ^= 0x01;
    return dump;
}

TEST_F(Commands, sixRejectedDumpsEndInReceiveDataError) {
    amp.setResponder([](const Bytes&) { return std::vector<Bytes>{spoiled(firHeaderDump(3, "x", 1))}; });
    int32_t code = 0;
    const uint64_t start = clock.steadyMS();
    testing::internal::CaptureStderr();
    runAdvancingClock([&] { code = errorCodeOf([&] { manager->sendDumpRequest(3); }); });
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 1002);
    EXPECT_EQ(amp.received(), std::vector<Bytes>(6, dumpRequest(3)));
    EXPECT_GE(clock.steadyMS() - start, 50u) << "10 ms between attempts";
}

TEST_F(Commands, dumpAcceptedAtTheSixthAttemptSucceeds) {
    int answered = 0;
    amp.setResponder([&](const Bytes&) {
        const Bytes good = firHeaderDump(8, "Sixth", 1234);
        return std::vector<Bytes>{++answered < 6 ? spoiled(good) : good};
    });
    bool result = false;
    testing::internal::CaptureStderr();
    runAdvancingClock([&] { result = manager->sendDumpRequest(8); });
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(result);
    EXPECT_EQ(amp.receivedCount(), 6u);
    amp.send(ampTypeChange(1, 3));
    ASSERT_TRUE(events.waitFor(eVelkEvent_AmpTypeChanged));
    EXPECT_STREQ(playBuffer(1).name, "Sixth");
}

TEST_F(Commands, silentAmplifierEndsADumpWithTimeoutAfterOneRequest) {
    amp.setSilent();
    auto dumping =
        std::async(std::launch::async, [&] { return errorCodeOf([&] { manager->sendDumpRequest(0); }); });
    ASSERT_TRUE(clock.awaitWaiters(1));
    clock.advance(5000);
    EXPECT_EQ(dumping.get(), 1004);
    EXPECT_EQ(amp.awaitReceived(1).size(), 1u);
}

TEST_F(Commands, failedDumpRequestSendThrowsSendError) {
    amp.unplug();
    EXPECT_EQ(errorCodeOf([&] { manager->sendDumpRequest(0); }), 1001);
}

// ---- The reply wait

TEST_F(Commands, waitEndsAtOnceWhenTheReplyIsAlreadyThere) {
    amp.send(parameterChange(0x70, 0x61, 0, 5));
    while (Inspector::receivedID(*manager) != 25)
        std::this_thread::yield();
    Inspector::setExpectedID(*manager, 25);
    EXPECT_TRUE(manager->checkReceiveMessage());
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
    EXPECT_EQ(Inspector::expectedID(*manager), -1);
}

TEST_F(Commands, lateReplyLeavesItsIDUntilTheNextSuccessfulWait) {
    amp.setSilent();
    Inspector::setExpectedID(*manager, 25);
    auto waiting = std::async(std::launch::async, [&] { return manager->checkReceiveMessage(); });
    ASSERT_TRUE(clock.awaitWaiters(1));
    clock.advance(5000);
    EXPECT_FALSE(waiting.get());
    amp.send(parameterChange(0x70, 0x61, 0, 5));
    while (Inspector::receivedID(*manager) != 25)
        std::this_thread::yield();
    EXPECT_EQ(Inspector::expectedID(*manager), 25);
}

// ---- Framing

TEST_F(Commands, checksumOfARange) {
    const uint8_t bytes[] = {0x55, 0x01, 0x02, 0x03};
    EXPECT_EQ(manager->calcSum(bytes, 1, 3), 0x7A);
    EXPECT_EQ(manager->calcSum(bytes, 3, 1), 0);
}

TEST_F(Commands, packetOutsideTheTransferRangeGoesOutEmpty) {
    manager->sendBypassData(0);
    amp.clearReceived();
    FIRCOE outside{};
    EXPECT_EQ(manager->mi_sendPacket(0, reinterpret_cast<const uint8_t*>(&outside), 448, 0), 0);
    EXPECT_EQ(hex(amp.awaitReceived(1).at(0)), "F0 43 7D 00 00 0C 58 48 44 32 46 49 52 43 00 00 00 00 46 F7");
}

TEST_F(Commands, packetEndingOneBytePastTheTransferRangeGoesOutEmpty) {
    manager->sendBypassData(0);
    amp.clearReceived();
    const uint8_t* begin = Inspector::sendBegin(*manager);
    manager->mi_sendPacket(0, begin + 4032, 131, 0);
    manager->mi_sendPacket(9, begin + 4032, 130, 0);
    const auto sent = amp.awaitReceived(2);
    EXPECT_EQ(hex(sent.at(0)), "F0 43 7D 00 00 0C 58 48 44 32 46 49 52 43 00 00 00 00 46 F7");
    EXPECT_EQ(sent.at(1).size(), 172u);
}

TEST_F(Commands, bulkPackingPadsToWholeGroups) {
    uint8_t in[140] = {};
    std::fill(in, in + 130, 0xFF);
    in[131] = 0x55;  // must become padding
    in[133] = 0x66;  // past the last group: untouched
    uint8_t out[12 + 152];
    uint8_t checksum = 0xFF;
    const uint8_t head[12] = {0x58, 0x48, 0x44, 0x32, 'F', 'I', 'R', 'C', 0, 9, 0, 1};
    EXPECT_EQ(manager->mi_convToBulkData(out, in, 130, &checksum, head, 12), 164);
    EXPECT_EQ(in[130], 0);
    EXPECT_EQ(in[131], 0);
    EXPECT_EQ(in[132], 0);
    EXPECT_EQ(in[133], 0x66);
    uint32_t sum = checksum;
    for (uint8_t byte : out)
        sum += byte;
    EXPECT_EQ(sum & 0x7F, 0u);
}

}  // namespace
