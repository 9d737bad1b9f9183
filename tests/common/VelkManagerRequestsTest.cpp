#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace velktest;
using Inspector = VelkManagerInspector;

class Dispatcher : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        connect(0x31);
    }
};

TEST_F(Dispatcher, queuedRequestsRunInOrderWithinOnePassDroppingUnknownKinds) {
    manager->sendRequest(static_cast<eVelkRequestEvent>(17), 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    manager->sendRequest(static_cast<eVelkRequestEvent>(-1), 0, 0);
    manager->sendRequest(eVelkRequest_ReverbType, 0, 2);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 2);
    manager->doRequestEvent();
    EXPECT_EQ(amp.received(3),
              (std::vector<Bytes>{parameterChange(0, 0x01, 0, 1), parameterChange(0, 0x03, 0, 2),
                                  parameterChange(0, 0x01, 0, 2)}));
    EXPECT_EQ(Inspector::queuedRequests(*manager), 0u);
    EXPECT_TRUE(events.events().empty());
}

TEST_F(Dispatcher, timeoutReportsTheErrorThenDropsTheConnectionAndTheQueue) {
    amp.setSilent();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    Background pass([this] { manager->doRequestEvent(); });
    ASSERT_TRUE(clock.awaitWaiters(1));
    clock.advance(5000);
    ASSERT_TRUE(pass.finished());
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_Error, 1004}, {eVelkEvent_Disconnected}}));
    EXPECT_EQ(amp.received(), std::vector<Bytes>{parameterChange(0x70, 0x21, 0, 0)});
    EXPECT_EQ(Inspector::queuedRequests(*manager), 0u);
    EXPECT_FALSE(manager->isConnected());
}

TEST_F(Dispatcher, sendFailureReportsTheErrorThenDropsTheConnectionAndTheQueue) {
    amp.unplug();
    manager->sendRequest(eVelkRequest_NoiseGate, 0, 1);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    manager->doRequestEvent();
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_Error, 1001}, {eVelkEvent_Disconnected}}));
    EXPECT_EQ(Inspector::queuedRequests(*manager), 0u);
    EXPECT_FALSE(manager->isConnected());
}

TEST_F(Dispatcher, rejectedDumpsEmptyTheQueueButKeepTheConnection) {
    amp.setResponder([](const Bytes&) {
        Bytes dump = effectDump({});
        dump[34] ^= 1;
        return std::vector<Bytes>{dump};
    });
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    runPassWithPauses();
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_Error, 1002}}));
    EXPECT_EQ(amp.received(), std::vector<Bytes>(6, dumpRequest(10)));
    EXPECT_EQ(Inspector::queuedRequests(*manager), 0u);
    EXPECT_TRUE(manager->isConnected());
}

void throwOnMainVersion(EVelkEventID id, int32_t, void*) {
    if (id == eVelkEvent_MainVersion)
        throw std::runtime_error("not ours");
}

TEST_F(Dispatcher, foreignExceptionsAreReportedAsUnknownAndEmptyTheQueue) {
    manager->addListenerCallback(throwOnMainVersion, nullptr);
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    testing::internal::CaptureStderr();
    manager->doRequestEvent();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[CATCH] Exception! - CVelkManager::doRequestEvent()\n");
    EXPECT_EQ(events.events().back(), (SEvent{eVelkEvent_Error, 1010}));
    EXPECT_EQ(Inspector::queuedRequests(*manager), 0u);
    EXPECT_EQ(amp.received().size(), 1u);
    EXPECT_TRUE(manager->isConnected());
}

TEST_F(Dispatcher, requestPostedDuringAPassWaitsForTheQueueAndRunsInTheNextPass) {
    amp.setSilent();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    Background pass([this] { manager->doRequestEvent(); });
    ASSERT_EQ(amp.received(1).size(), 1u);
    Background post([this] { manager->sendRequest(eVelkRequest_BoosterType, 0, 2); });
    EXPECT_FALSE(post.finished(30ms)) << "the pass holds the queue";
    amp.send(parameterChange(0x70, 0x61, 0, 100));
    ASSERT_TRUE(pass.finished());
    ASSERT_TRUE(post.finished());
    EXPECT_EQ(amp.received().size(), 1u);
    manager->doRequestEvent();
    EXPECT_EQ(amp.received(2).back(), parameterChange(0, 0x01, 0, 2));
}

TEST_F(Dispatcher, queuedNameRequestsSendACopyOfTheLastStagedName) {
    char first[64] = "First";
    char second[64] = "Second";
    manager->setSpeakerTabIrName(first);
    manager->sendRequest(eVelkRequest_FIRName, 0, 0);
    manager->setSpeakerTabIrName(second);
    manager->sendRequest(eVelkRequest_FIRName, 0, 0);
    second[0] = 'X';  // the manager keeps its own copy
    runPassWithPauses();
    EXPECT_STREQ(playBuffer(0).name, "Second");
    for (const Bytes& message : amp.received(6))
        EXPECT_EQ(message[9], static_cast<uint8_t>("Second"[message[8]])) << hex(message);
}

TEST_F(Dispatcher, openWhileOpenDoesNothingAndCloseClosesThePorts) {
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    EXPECT_TRUE(events.events().empty());
    manager->sendRequest(eVelkRequest_Close, 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    manager->doRequestEvent();
    EXPECT_TRUE(amp.received().empty()) << "nothing reaches a closed port";
}

// The input thread must not wait for the pass, which may itself be closing that input.
TEST_F(Dispatcher, modelSwitchDropsTheQueueWithoutTheInputThreadWaitingForTheRequestLock) {
    amp.setSilent();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    Background pass([this] { manager->doRequestEvent(); });
    ASSERT_EQ(amp.received(1).size(), 1u);
    amp.send(heartBeatReply(0x32));
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_Disconnected}, {eVelkEvent_Connected, 2}}));
    ASSERT_TRUE(clock.awaitWaiters(1));
    clock.advance(5000);
    ASSERT_TRUE(pass.finished());
    EXPECT_EQ(amp.received(), std::vector<Bytes>{parameterChange(0x70, 0x21, 0, 0)});
    EXPECT_EQ(Inspector::queuedRequests(*manager), 0u);
}

Bytes firstPacket(const FIRCOE& record, uint8_t ampField) {
    Bytes body = {0x58, 0x48, 0x44, 0x32, 'F', 'I', 'R', 'C', 0, 0, 0, ampField};
    body.resize(12 + 512);
    sysex::pack7(reinterpret_cast<const uint8_t*>(&record), 448, body.data() + 12);
    return sysex::bulkDump(body.data(), body.size());
}

TEST_F(Dispatcher, eachKindRunsItsOperation) {
    const FIRCOE staged = recordWithPattern("Staged", 4115, 1);
    const struct {
        eVelkRequestEvent kind;
        int32_t arg1;
        int32_t arg2;
        Bytes firstMessage;
    } table[] = {
        {eVelkRequest_AllBulkDump, 0, 0, dumpRequest(10)},
        {eVelkRequest_BoosterType, 1, 2, parameterChange(0, 0x09, 0, 2)},
        {eVelkRequest_FxLoop, 0, 1, parameterChange(0, 0x02, 0, 1)},
        {eVelkRequest_ReverbType, 1, 3, parameterChange(0, 0x0B, 0, 3)},
        {eVelkRequest_NoiseGate, 0, 2, parameterChange(0, 0x04, 0, 2)},
        {eVelkRequest_SendConnection, 3, 0, parameterChange(0, 0x05, 0, 3)},
        {eVelkRequest_ReturnConnection, 1, 0, parameterChange(0, 0x06, 0, 1)},
        {eVelkRequest_FIRGain, 1, 5181, parameterChange(0x04, 0x06, 0x28, 0x3D)},
        {eVelkRequest_Bypass, 1, 0, firstPacket(bypassRecord(), 1)},
        {eVelkRequest_FIRDataWrite, 1, 0, parameterChange(0x04, 0x07, 1, 5)},
        {eVelkRequest_FIRCOE, 0, 0, firstPacket(staged, 0)},
        {eVelkRequest_ChangeFIR, 0, 0, parameterChange(0x04, 0x00, 0, 0)},
        {eVelkRequest_InitFIRData, 0, 0, parameterChange(0x04, 0x08, 0, 0)},
        {eVelkRequest_MainVersion, 0, 0, parameterChange(0x70, 0x21, 0, 0)},
    };
    for (const auto& row : table) {
        SCOPED_TRACE("kind " + std::to_string(row.kind));
        restart();
        manager->setSpeakerTabFIRCOE(staged);
        manager->sendRequest(row.kind, row.arg1, row.arg2);
        runPassWithPauses();
        ASSERT_FALSE(amp.received(1).empty());
        EXPECT_EQ(hex(amp.received().front()), hex(row.firstMessage));
        EXPECT_EQ(events.count(eVelkEvent_Error), 0u);
    }
}

}  // namespace
