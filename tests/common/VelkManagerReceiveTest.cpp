#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

using namespace velktest;
using Inspector = VelkManagerInspector;

using ReceivePath = ManagerTest;

// ---- Heartbeat

TEST_F(ReceivePath, firstHeartBeatConnectsWithTheModelAndAModelSwitchReconnects) {
    receive(heartBeatReply(0x31));
    receive(heartBeatReply(0x31));
    EXPECT_EQ(manager->getModel(), 0x31);
    receive(heartBeatReply(0x32));
    EXPECT_EQ(events.events(),
              (std::vector<SEvent>{event(eVelkEvent_Connected, 1), event(eVelkEvent_Disconnected),
                                   event(eVelkEvent_Connected, 2)}));
    EXPECT_EQ(manager->getModel(), 0x32);
}

TEST_F(ReceivePath, ignoresHeartBeatsItCannotReadButNotTheTypeBytesLowNibble) {
    receive(heartBeatReply(0x33));
    receive({0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x45, 0x31, 0xF7});
    receive({0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0xF7});
    receive({0xF0, 0x43, 0x7E, 0x60, 0x58, 0x48, 0x44, 0x31, 0xF7});
    EXPECT_TRUE(events.events().empty());
    receive({0xF0, 0x43, 0x7D, 0x6F, 0x58, 0x48, 0x44, 0x31, 0xF7});
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_Connected, 1)});
}

// ---- Parameter changes

struct ReplyCase {
    const char* what;
    std::vector<Bytes> messages;
    int32_t responseID;
    int32_t value;
    std::vector<SEvent> raised;
    uint16_t mainVersion = 0;
};
void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.what;
}

class ParameterReply : public ManagerTest, public testing::WithParamInterface<ReplyCase> {};

TEST_P(ParameterReply, setsTheResponseIDValueAndEvents) {
    for (const Bytes& message : GetParam().messages)
        receive(message);
    EXPECT_EQ(Inspector::receivedID(*manager), GetParam().responseID);
    EXPECT_EQ(Inspector::receivedValue(*manager), GetParam().value);
    EXPECT_EQ(events.events(), GetParam().raised);
    EXPECT_EQ(manager->getMainVer(), GetParam().mainVersion);
    EXPECT_EQ(manager->getAmpType(0), 0);
}

Bytes fir(uint8_t parameter, uint8_t data1, uint8_t data2) {
    return parameterChange(0x04, parameter, data1, data2);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ParameterReply,
    testing::Values(
        ReplyCase{"heartbeat", {heartBeatReply(0x31)}, -1, 0, {event(eVelkEvent_Connected, 1)}},
        ReplyCase{"packet accepted", {fir(0x42, 5, 0)}, 24, 5, {event(eVelkEvent_FIRPacketAccepted, 5)}},
        ReplyCase{"packet rejected", {fir(0x42, 5, 1)}, 24, 5, {event(eVelkEvent_FIRPacketRejected, 5)}},
        ReplyCase{"packet other status", {fir(0x42, 5, 2)}, 24, 0, {}},
        ReplyCase{"flash write done", {fir(0x47, 1, 0)}, 21, 1, {event(eVelkEvent_FIRWriteDone, 1)}},
        ReplyCase{"flash write failed", {fir(0x47, 1, 1)}, 21, 1, {event(eVelkEvent_FIRWriteFailed, 1)}},
        ReplyCase{"flash write other status", {fir(0x47, 1, 2)}, 21, 0, {}},
        ReplyCase{"initialisation reports the last value",
                  {fir(0x42, 7, 0), fir(0x48, 0, 0)},
                  23,
                  7,
                  {event(eVelkEvent_FIRPacketAccepted, 7), event(eVelkEvent_FIRDataInitialized, 7)}},
        ReplyCase{"initialisation with data", {fir(0x48, 1, 0), fir(0x48, 0, 1)}, -1, 0, {}},
        ReplyCase{"unknown FIR parameter", {fir(0x43, 0, 0)}, -1, 0, {}},
        ReplyCase{"main version", {parameterChange(0x70, 0x61, 0x01, 0x02)}, 25, 0, {}, 130},
        ReplyCase{"other system parameter", {parameterChange(0x70, 0x62, 0x7F, 0x7F)}, -1, 0, {}},
        ReplyCase{"amp type change", {ampTypeChange(1, 2)}, 12, 1, {event(eVelkEvent_AmpTypeChanged, 1)}},
        ReplyCase{"amp type with data 1 set", {parameterChange(0x00, 0x40, 1, 2)}, -1, 0, {}},
        ReplyCase{"amp type of no amp", {parameterChange(0x00, 0x41, 0, 2)}, -1, 0, {}},
        ReplyCase{"amp type of no slot", {ampTypeChange(0, 5)}, -1, 0, {}},
        ReplyCase{"amp type in another group", {parameterChange(0x01, 0x40, 0, 2)}, -1, 0, {}},
        ReplyCase{
            "another tag", {{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x33, 0x00, 0x40, 0x00, 0x02, 0xF7}}, -1, 0, {}},
        ReplyCase{"too short to hold data 2",
                  {{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x70, 0x61, 0x01},
                   {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x04, 0x42, 0x01},
                   {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x40, 0x00}},
                  -1,
                  0,
                  {}}));

TEST_F(ReceivePath, ampTypeChangeLoadsTheStoredImpulseResponse) {
    receive(firHeaderDump(7, "Greenback", 4115));
    receive(ampTypeChange(1, 2));
    EXPECT_EQ(manager->getAmpType(1), 2);
    EXPECT_STREQ(playBuffer(1).name, "Greenback");
    EXPECT_EQ(playBuffer(1).gain, 4115);
}

TEST_F(ReceivePath, onlyASuccessfulFlashWriteStoresThePlayBufferInTheSlot) {
    receive(ampTypeChange(0, 3));
    const FIRCOE preview = recordWithPattern("Preview", 4115, 9);
    manager->setPlayBuffer(0, preview);
    receive(fir(0x47, 0, 1));
    EXPECT_EQ(firSlot(3).name[0], 0);
    receive(fir(0x47, 0, 0));
    EXPECT_EQ(recordBytes(firSlot(3)), recordBytes(preview));
}

// ---- Bulk dumps

TEST_F(ReceivePath, acceptedEffectDumpReplacesTheEffectBlock) {
    EXPECT_EQ(receive(effectDump({2, 1, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0})), "");
    EXPECT_EQ(manager->getAmpType(0), 2);
    EXPECT_EQ(manager->getAmpType(1), 4);
    EXPECT_EQ(Inspector::receiveError(*manager), 0);
    EXPECT_EQ(Inspector::receivedID(*manager), 10);
    EXPECT_TRUE(events.events().empty());
}

TEST_F(ReceivePath, acceptedFIRHeaderSetsNameAndGainButKeepsTheSlotsCoefficients) {
    receive(ampTypeChange(1, 4));
    const FIRCOE flashed = recordWithPattern("Flashed", 100, 4);
    manager->setPlayBuffer(1, flashed);
    receive(fir(0x47, 1, 0));
    EXPECT_EQ(receive(firHeaderDump(9, "Vintage 30", 0x3FFF)), "");
    EXPECT_EQ(Inspector::receivedID(*manager), 9);
    EXPECT_EQ(Inspector::receiveError(*manager), 0);
    const FIRCOE slot = firSlot(9);
    EXPECT_STREQ(slot.name, "Vintage 30");
    EXPECT_EQ(slot.gain, 0x3FFF);
    EXPECT_EQ(std::memcmp(slot.coe, flashed.coe, sizeof slot.coe), 0);
}

TEST_F(ReceivePath, firHeaderNameIsAlwaysTerminatedWithinItsSixtyFourBytes) {
    receive(firHeaderDump(0, std::string(64, 'A'), 1));
    EXPECT_EQ(std::string(firSlot(0).name), std::string(63, 'A'));
}

Bytes edited(Bytes message, const std::function<void(Bytes&)>& edit) {
    edit(message);
    return message;
}

struct RejectedCase {
    const char* what;
    Bytes message;
    int32_t responseID;
    std::string log;
};
void PrintTo(const RejectedCase& c, std::ostream* os) {
    *os << c.what;
}

class RejectedDump : public ManagerTest, public testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedDump, logsSetsTheErrorAndKeepsTheMirror) {
    receive(effectDump({1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(receive(GetParam().message), GetParam().log);
    EXPECT_EQ(manager->getAmpType(0), 1);
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ(firSlot(slot).name[0], 0);
    EXPECT_EQ(Inspector::receiveError(*manager), 1);
    EXPECT_EQ(Inspector::receivedID(*manager), GetParam().responseID);
}

const Bytes kEffects = effectDump({3, 2, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0});
const Bytes kHeader = firHeaderDump(6, "Never", 1);
const std::string kEffectError = "[ERROR] Bulk dump received effect data error.\n";
const std::string kHeaderError = "[ERROR] bulk dump received FIR data error.\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, RejectedDump,
    testing::Values(
        RejectedCase{"effects 35 bytes", edited(kEffects, [](Bytes& d) { d.erase(d.begin() + 35); }), 10,
                     "[ERROR] Too short bulk dump effect data.\n" + kEffectError},
        RejectedCase{"effects 35 bytes and checksum off",
                     edited(kEffects,
                            [](Bytes& d) {
                                d.erase(d.begin() + 35);
                                d[33] ^= 0x01;
                            }),
                     10,
                     "[ERROR] Too short bulk dump effect data.\n"
                     "[ERROR] Bulk dump effect data check sum error.\n" +
                         kEffectError},
        RejectedCase{"effects 37 bytes", edited(kEffects, [](Bytes& d) { d.insert(d.end() - 1, 0x00); }), 10,
                     "[ERROR] Too long bulkdump effect data.\n" + kEffectError},
        RejectedCase{"effects checksum", edited(kEffects, [](Bytes& d) { d[34] ^= 0x01; }), 10,
                     "[ERROR] Bulk dump effect data check sum error.\n" + kEffectError},
        RejectedCase{"effects 20 bytes", edited(kEffects, [](Bytes& d) { d.resize(20); }), 10,
                     "[ERROR] Too short bulk dump effect data.\n" + kEffectError},
        RejectedCase{"header checksum", edited(kHeader, [](Bytes& d) { d[84] ^= 0x40; }), 6,
                     "[ERROR] Bulk dump FIR header check sum error.\n" + kHeaderError},
        RejectedCase{"header too long", edited(kHeader, [](Bytes& d) { d.insert(d.end() - 1, 0); }), 6,
                     "[ERROR] Too long bulkdump FIR header.\n" + kHeaderError},
        RejectedCase{"header too short", edited(kHeader, [](Bytes& d) { d.resize(60); }), 6,
                     "[ERROR] Too short bulk dump FIR header.\n" + kHeaderError}));

TEST_F(ReceivePath, ignoresDumpsItCannotPlaceWithoutALogLine) {
    const std::pair<const char*, Bytes> unreadable[] = {
        {"FIR header digit 5", bulkDump("FHL5", {0, 0, 0, 0}, Bytes(66, 0))},
        {"UTIL without 7F 7F", bulkDump("UTIL", {0, 0, 0x7F, 0x7E}, Bytes(16, 0))},
        {"reserved bytes set", bulkDump("FHR1", {0, 1, 0, 0}, Bytes(66, 0))},
        {"effect data with FIR size", edited(effectDump({}), [](Bytes& d) { d[5] = 0x4E; })},
        {"FIR header with effect size", edited(firHeaderDump(1, "a", 1), [](Bytes& d) { d[5] = 0x1C; })},
        {"size high byte set", edited(effectDump({}), [](Bytes& d) { d[4] = 0x01; })},
        {"other body tag", edited(effectDump({}), [](Bytes& d) { d[9] = 0x33; })},
        {"unknown block", bulkDump("ABCD", {0, 0, 0, 0}, Bytes(16, 0))},
        {"17 bytes", edited(effectDump({}), [](Bytes& d) { d.resize(17); })},
        {"dump request type", edited(effectDump({}), [](Bytes& d) { d[3] = 0x20; })}};
    for (const auto& [what, message] : unreadable) {
        EXPECT_EQ(receive(message), "") << what;
        EXPECT_EQ(Inspector::receivedID(*manager), -1) << what;
    }
}

void throwingListener(EVelkEventID, int32_t, void*) {
    throw std::runtime_error("listener failed");
}

TEST_F(ReceivePath, exceptionsStopAtTheInputEntry) {
    manager->addListenerCallback(throwingListener, nullptr);
    const Bytes heartBeat = heartBeatReply(0x31);
    testing::internal::CaptureStderr();
    CVelkManager::procMIDIIn(manager, heartBeat.data(), static_cast<uint32_t>(heartBeat.size()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[CATCH] Exception! - CVelkManager::procMIDIIn()\n");
    EXPECT_TRUE(manager->isConnected());
}

}  // namespace
