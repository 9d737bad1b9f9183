#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace velktest;
using Inspector = VelkManagerInspector;

using Dispatcher = ConnectedManagerTest<0x31>;

TEST_F(Dispatcher, queuedRequestsRunInOrderWithinOnePassDroppingUnknownKinds) {
    manager->sendRequest(static_cast<eVelkRequestEvent>(99), 0, 0);
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

// A time-out takes the same way out.
TEST_F(Dispatcher, failedSendOrTimeOutReportsTheErrorThenDropsTheConnectionAndTheQueue) {
    amp.setSilent();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    {
        Background pass([&] { manager->doRequestEvent(); });
        ASSERT_TRUE(clock.awaitWaiters(1));
        clock.advance(5000);
    }
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_Error, 1004}, {eVelkEvent_Disconnected}}));
    connect(0x31);
    amp.unplug();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
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

// Posting never waits for a pass that awaits a reply: the window posts from the GUI thread.
TEST_F(Dispatcher, requestPostedDuringAPassReturnsAtOnceAndRunsInTheNextPass) {
    amp.setSilent();
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    Background pass([this] { manager->doRequestEvent(); });
    ASSERT_EQ(amp.received(1).size(), 1u);
    Background post([this] { manager->sendRequest(eVelkRequest_BoosterType, 0, 2); });
    EXPECT_TRUE(post.finished(1000ms)) << "posting waited for the pass";
    amp.send(parameterChange(0x70, 0x61, 0, 100));
    ASSERT_TRUE(pass.finished());
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
        EXPECT_EQ(message[9], static_cast<uint8_t>("Second"[message[8]]));
}

// The name request pauses between characters; a name staged meanwhile waits for its own request.
TEST_F(Dispatcher, nameStagedWhileANameIsSentLeavesThatNameWhole) {
    char first[64] = "AB";
    char second[64] = "XY";
    manager->setSpeakerTabIrName(first);
    manager->sendRequest(eVelkRequest_FIRName, 0, 0);
    Background pass([this] { manager->doRequestEvent(); });
    ASSERT_TRUE(clock.awaitWaiters(1));
    manager->setSpeakerTabIrName(second);
    while (!pass.finished(1ms)) {
        if (clock.waiterCount() > 0)
            clock.advance(10);
    }
    EXPECT_STREQ(playBuffer(0).name, "AB");
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

// The input thread only flags the change: the next pass drops the connection and its queue, and
// what is posted on the new connection runs.
TEST_F(Dispatcher, modelSwitchIsSettledByTheNextPass) {
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    receive(heartBeatReply(0x32));
    EXPECT_EQ(manager->getModel(), 0x31);
    manager->doRequestEvent();
    ASSERT_FALSE(events.events().empty());
    EXPECT_EQ(events.events().front(), (SEvent{eVelkEvent_Disconnected}));
    EXPECT_TRUE(manager->disconnectedByModelChange());
    EXPECT_TRUE(amp.received().empty());
    clock.advance(500);  // the next heartbeat request is due
    connect(0x32);
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->doRequestEvent();
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_MainVersion, 110}}));
}

std::array<int32_t, 10> effectMirror(CVelkManager& manager) {
    EffectData ampI{}, ampII{};
    FxLoopConnection connection{};
    manager.getEffectData(0, ampI);
    manager.getEffectData(1, ampII);
    manager.getFxLoopConnection(connection);
    return {ampI.boosterType,  ampI.fxLoop,  ampI.reverbType,  ampI.noiseGate,  connection.sendConnection,
            ampII.boosterType, ampII.fxLoop, ampII.reverbType, ampII.noiseGate, connection.returnConnection};
}

// Each kind's first message, the reply it then waits for and the effect setting it mirrors. The
// kinds that stream or read are followed to the simulated head by sim/EditorConnectionTest.
TEST_F(Dispatcher, eachKindRunsItsOperation) {
    const struct {
        eVelkRequestEvent kind;
        int32_t arg1;
        int32_t arg2;
        Bytes firstMessage;
        int32_t responseID;
        int mirrored = -1;  // position in effectMirror()
    } table[] = {
        {eVelkRequest_BoosterType, 1, 2, parameterChange(0, 0x09, 0, 2), 14, 5},
        {eVelkRequest_BoosterType, 0, 1, parameterChange(0, 0x01, 0, 1), 14, 0},
        {eVelkRequest_FxLoop, 0, 1, parameterChange(0, 0x02, 0, 1), 15, 1},
        {eVelkRequest_ReverbType, 1, 3, parameterChange(0, 0x0B, 0, 3), 16, 7},
        {eVelkRequest_NoiseGate, 0, 3, parameterChange(0, 0x04, 0, 3), 17, 3},
        {eVelkRequest_NoiseGate, 5, 2, parameterChange(0, 0x0C, 0, 2), 17, 8},  // any amp but 0 is Amp II
        {eVelkRequest_SendConnection, 3, 0, parameterChange(0, 0x05, 0, 3), 18, 4},
        {eVelkRequest_ReturnConnection, 2, 0, parameterChange(0, 0x06, 0, 2), 19, 9},
        {eVelkRequest_FIRGain, 1, 5181, parameterChange(0x04, 0x06, 0x28, 0x3D), 20},
        {eVelkRequest_ChangeFIR, 0, 0, parameterChange(0x04, 0x00, 0, 0), 20},
    };
    for (const auto& row : table) {
        SCOPED_TRACE("kind " + std::to_string(row.kind) + ", amp " + std::to_string(row.arg1));
        restart();
        manager->sendRequest(row.kind, row.arg1, row.arg2);
        runPassWithPauses();
        ASSERT_FALSE(amp.received(1).empty());
        EXPECT_EQ(amp.received().front(), row.firstMessage);
        EXPECT_EQ(Inspector::expectedID(*manager), row.responseID);
        EXPECT_EQ(events.count(eVelkEvent_Error), 0u);
        std::array<int32_t, 10> mirror{};
        if (row.mirrored >= 0)
            mirror[row.mirrored] = row.firstMessage[9];
        EXPECT_EQ(effectMirror(*manager), mirror);
    }
}

}  // namespace
