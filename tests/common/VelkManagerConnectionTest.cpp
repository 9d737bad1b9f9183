#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace velktest;

const Bytes kHeartBeatRequest = parameterChange(0x70, 0x01, 0, 0);

class Connection : public ManagerTest {
protected:
    // Passes every 10 ms of the clock for `ms`, answering eVelkEvent_NotConnected with
    // eVelkRequest_Open as the main window does.
    void runFor(uint64_t ms) {
        for (uint64_t elapsed = 0; elapsed < ms; elapsed += 10)
            passThenAdvance();
    }

    void passThenAdvance() {
        const size_t searches = events.count(eVelkEvent_NotConnected);
        manager->doRequestEvent();
        if (events.count(eVelkEvent_NotConnected) > searches)
            manager->sendRequest(eVelkRequest_Open, 0, 0);
        clock.advance(10);
    }

    size_t heartBeatRequests() {
        const auto sent = amp.received();
        return static_cast<size_t>(std::count(sent.begin(), sent.end(), kHeartBeatRequest));
    }

    std::vector<EVelkEventID> eventIDs() {
        std::vector<EVelkEventID> ids;
        for (const SEvent& raised : events.events())
            ids.push_back(raised.id);
        return ids;
    }
};

TEST_F(Connection, withNoAmplifierOnlyNotConnectedComesEveryThreeSeconds) {
    amp.unplug();
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    runFor(9010);
    EXPECT_EQ(eventIDs(), std::vector<EVelkEventID>(4, eVelkEvent_NotConnected));
}

TEST_F(Connection, amplifierListedOnlyAsASourceIsNotOpened) {
    amp.unplug();
    ScriptedAmp sourceOnly(hub, "VelkSolvo/In", ScriptedAmp::Sides::SourceOnly);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    EXPECT_EQ(events.count(eVelkEvent_Opened), 0u);
}

TEST_F(Connection, amplifierListedOnlyAsADestinationIsNotOpened) {
    amp.unplug();
    ScriptedAmp destinationOnly(hub, "VelkSolvo/Out", ScriptedAmp::Sides::DestinationOnly);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    manager->doRequestEvent();
    EXPECT_EQ(events.count(eVelkEvent_Opened), 0u);
    EXPECT_EQ(destinationOnly.receivedCount(), 0u);
}

TEST_F(Connection, firstMatchingDeviceWins) {
    amp.unplug();
    ScriptedAmp synth(hub, "Studio Synth");
    ScriptedAmp first(hub, "VelkSolvo/First");
    ScriptedAmp second(hub, "VelkSolvo/Second");
    first.answerLikeAnAmplifier(0x31);
    second.answerLikeAnAmplifier(0x32);
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    manager->doRequestEvent();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_EQ(events.events().back(), event(eVelkEvent_Connected, 1));
    EXPECT_EQ(first.received(), std::vector<Bytes>{kHeartBeatRequest});
    EXPECT_EQ(second.receivedCount(), 0u);
    EXPECT_EQ(synth.receivedCount(), 0u);
}

TEST_F(Connection, silentAmplifierStaysOpenedWithHeartBeatsAndSearches) {
    manager->sendRequest(eVelkRequest_Open, 0, 0);
    runFor(6010);
    EXPECT_EQ(events.count(eVelkEvent_Opened), 1u);
    EXPECT_EQ(events.count(eVelkEvent_NotConnected), 3u);
    EXPECT_EQ(events.count(eVelkEvent_Disconnected), 0u);
    // The ports open after the first check of the first pass, so requests go out at 10, 510, ... 5510.
    EXPECT_EQ(amp.awaitReceived(12).size(), 12u);
    EXPECT_EQ(heartBeatRequests(), 12u);
}

TEST_F(Connection, heartBeatGoesOutEveryHalfSecondWhileConnected) {
    connect(0x31);
    runFor(2000);
    EXPECT_EQ(amp.awaitReceived(3), std::vector<Bytes>(3, kHeartBeatRequest));
    EXPECT_TRUE(events.events().empty());
}

struct SequenceCase {
    uint8_t model;
    int32_t eventModel;
    size_t dumps;
};
void PrintTo(const SequenceCase& c, std::ostream* os) {
    *os << "model " << c.eventModel;
}

class ConnectionSequence : public Connection, public testing::WithParamInterface<SequenceCase> {};

// Drives the manager as the main window does, from launch to a full read.
TEST_P(ConnectionSequence, readsTheWholeAmplifier) {
    amp.answerLikeAnAmplifier(GetParam().model);
    amp.setVersion(112);
    amp.setEffectBlock({2, 1, 0, 3, 2, 1, 1, 0, 3, 2, 1, 0, 1, 0, 0, 0});
    amp.setSlotHeader(2, "Amp I type 2", 4115);
    amp.setSlotHeader(8, "Amp II type 3", 16383);

    manager->sendRequest(eVelkRequest_Open, 0, 0);
    manager->doRequestEvent();
    manager->doRequestEvent();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    manager->sendRequest(eVelkRequest_MainVersion, 0, 0);
    manager->doRequestEvent();
    ASSERT_EQ(events.events().back(), event(eVelkEvent_MainVersion, 112));
    manager->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
    manager->doRequestEvent();

    EXPECT_EQ(
        events.events(),
        (std::vector<SEvent>{event(eVelkEvent_NotConnected, 0), event(eVelkEvent_Opened, 0),
                             event(eVelkEvent_Connected, GetParam().eventModel),
                             event(eVelkEvent_MainVersion, 112), event(eVelkEvent_AllDataReceived, 0)}));
    std::vector<Bytes> expected = {kHeartBeatRequest, parameterChange(0x70, 0x21, 0, 0), dumpRequest(10)};
    for (size_t block = 0; block < GetParam().dumps - 1; ++block)
        expected.push_back(dumpRequest(static_cast<int>(block)));
    EXPECT_EQ(amp.received(), expected);

    FIRCOE play;
    manager->getPlayBuffer(0, play);
    EXPECT_STREQ(play.name, "Amp I type 2");
    EXPECT_EQ(play.gain, 4115);
    manager->getPlayBuffer(1, play);
    EXPECT_STREQ(play.name, GetParam().model == 0x32 ? "Amp II type 3" : "Bypass");
    EffectData ampII{};
    manager->getEffectData(1, ampII);
    EXPECT_EQ(ampII.boosterType, 2);
}

INSTANTIATE_TEST_SUITE_P(BothModels, ConnectionSequence,
                         testing::Values(SequenceCase{0x31, 1, 6}, SequenceCase{0x32, 2, 11}));

TEST_F(Connection, fullReadIgnoresAmpTypesThatNameNoSlot) {
    connect(0x32);
    amp.setEffectBlock({9, 0, 0, 0, 0, 0, 0, 0, 0x7F, 0, 0, 0, 0, 0, 0, 0});
    manager->sendAllBulkDump();
    FIRCOE play;
    manager->getPlayBuffer(0, play);
    EXPECT_STREQ(play.name, "Bypass");
    EXPECT_EQ(manager->getAmpType(1), 0x7F);
}

TEST_F(Connection, silenceDropsTheConnectionAtTheFirstCheckWithTheReplySixWholeSecondsOld) {
    connect(0x31);  // checks fall at 0, 3000, 6000, ... from here
    amp.setSilent();
    uint64_t droppedAt = 0;
    uint64_t searchingAt = 0;
    for (uint64_t elapsed = 0; elapsed <= 12000 && !searchingAt; elapsed += 10) {
        if (elapsed == 1500)
            receive(heartBeatReply(0x31));  // the last reply, one second of wall clock in
        manager->doRequestEvent();
        if (!droppedAt && events.count(eVelkEvent_Disconnected))
            droppedAt = elapsed;
        if (events.count(eVelkEvent_NotConnected))
            searchingAt = elapsed;
        clock.advance(10);
    }
    EXPECT_EQ(droppedAt, 9000u) << "at 6000 the reply is only five whole seconds old";
    EXPECT_EQ(searchingAt, 12000u);
    EXPECT_FALSE(manager->isConnected());
}

TEST_F(Connection, modelSwitchReconnectsWithTheOtherModelAndLaterSearchesAgain) {
    connect(0x31);
    amp.setModel(0x32);
    clock.advance(500);
    manager->doRequestEvent();
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_EQ(events.events(),
              (std::vector<SEvent>{event(eVelkEvent_Disconnected, 0), event(eVelkEvent_Connected, 2)}));
    EXPECT_EQ(manager->getModel(), 0x32);

    // The switch closed the ports, so no heartbeat reaches the amplifier until the silence
    // limit drops the connection and the search opens them again.
    amp.clearReceived();
    events.clear();
    runFor(9000);
    EXPECT_EQ(events.count(eVelkEvent_Disconnected), 1u);
    EXPECT_EQ(events.count(eVelkEvent_NotConnected), 1u);
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_EQ(events.events().back(), event(eVelkEvent_Connected, 2));
    EXPECT_EQ(events.count(eVelkEvent_Opened), 1u);
}

TEST_F(Connection, unpluggedAmplifierIsFoundAgainOncePluggedBackIn) {
    connect(0x31);
    amp.unplug();
    manager->sendRequest(eVelkRequest_BoosterType, 0, 1);
    manager->doRequestEvent();
    EXPECT_EQ(events.events(),
              (std::vector<SEvent>{event(eVelkEvent_Error, 1001), event(eVelkEvent_Disconnected, 0)}));

    amp.plugIn();
    amp.answerLikeAnAmplifier(0x31);
    runFor(3050);
    ASSERT_TRUE(events.waitFor(eVelkEvent_Connected));
    EXPECT_TRUE(manager->isConnected());
}

}  // namespace
