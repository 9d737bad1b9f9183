#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

using namespace velktest;
using Inspector = VelkManagerInspector;
using ReceivePath = ManagerTest;

Bytes fir(uint8_t parameter, uint8_t data1, uint8_t data2) {
    return parameterChange(0x04, parameter, data1, data2);
}
// `message` with byte `at` set to `value`.
Bytes with(Bytes message, size_t at, uint8_t value) {
    message[at] = value;
    return message;
}
// A parameter change cut off before its data 2.
Bytes withoutData2(const Bytes& message) {
    return Bytes(message.begin(), message.begin() + 9);
}

// Another model is only flagged here: the utility thread drops the connection (Dispatcher tests).
TEST_F(ReceivePath, firstHeartBeatConnectsOnceWithItsModel) {
    receive(heartBeatReply(0x31));
    receive(heartBeatReply(0x31));
    receive(heartBeatReply(0x32));
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_Connected, 1}}));
    EXPECT_EQ(manager->getModel(), 0x31);
}

TEST_F(ReceivePath, messagesSetTheResponseIDValueAndEvents) {
    const Bytes beat = heartBeatReply(0x31);
    const Bytes init = fir(0x48, 0, 0);
    const struct {
        const char* what;
        int32_t awaiting;  // the reply the utility thread waits for
        std::vector<Bytes> messages;
        int32_t responseID;
        int32_t value;
        Events raised;
        uint16_t mainVersion = 0;
    } table[] = {
        {"heartbeat", -1, {beat}, -1, 0, {{eVelkEvent_Connected, 1}}},
        {"heartbeat type with a low nibble", -1, {with(beat, 3, 0x6F)}, -1, 0, {{eVelkEvent_Connected, 1}}},
        {"heartbeat of no model", -1, {heartBeatReply(0x33), with(beat, 6, 0x45)}, -1, 0, {}},
        {"heartbeat without its model", -1, {{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0xF7}}, -1, 0, {}},
        {"heartbeat of another maker", -1, {with(beat, 2, 0x7E)}, -1, 0, {}},
        {"packet accepted", 24, {fir(0x42, 5, 0)}, 24, 5, {{eVelkEvent_FIRPacketAccepted, 5}}},
        {"packet rejected", 24, {fir(0x42, 5, 1)}, 24, 5, {{eVelkEvent_FIRPacketRejected, 5}}},
        {"packet other status", 24, {fir(0x42, 5, 2)}, 24, 0, {}},
        {"flash write done", 21, {fir(0x47, 1, 0)}, 21, 1, {{eVelkEvent_FIRWriteDone, 1}}},
        {"flash write failed", 21, {fir(0x47, 1, 1)}, 21, 1, {{eVelkEvent_FIRWriteFailed, 1}}},
        {"flash write other status", 21, {fir(0x47, 1, 2)}, 21, 0, {}},
        {"init repeated by the transport", 23, {init, init}, 23, 0, {{eVelkEvent_FIRDataInitialized}}},
        {"packet reply nobody waits for", -1, {fir(0x42, 5, 0)}, -1, 0, {}},
        {"flash write reply nobody waits for", 24, {fir(0x47, 1, 0)}, -1, 0, {}},
        {"initialisation with data", 23, {fir(0x48, 1, 0), fir(0x48, 0, 1)}, -1, 0, {}},
        {"unknown FIR parameter", -1, {fir(0x43, 0, 0)}, -1, 0, {}},
        {"main version", 25, {parameterChange(0x70, 0x61, 0x01, 0x02)}, 25, 0, {}, 130},
        {"other system parameter", 25, {parameterChange(0x70, 0x62, 0x7F, 0x7F)}, -1, 0, {}},
        {"amp type change", -1, {ampTypeChange(1, 2)}, -1, 1, {{eVelkEvent_AmpTypeChanged, 1}}},
        {"amp type with data 1 set", -1, {parameterChange(0x00, 0x40, 1, 2)}, -1, 0, {}},
        {"amp type of no amp", -1, {parameterChange(0x00, 0x41, 0, 2)}, -1, 0, {}},
        {"amp type of no slot", -1, {ampTypeChange(0, 5)}, -1, 0, {}},
        {"amp type in another group", -1, {parameterChange(0x01, 0x40, 0, 2)}, -1, 0, {}},
        {"another tag", -1, {with(ampTypeChange(0, 2), 5, 0x33)}, -1, 0, {}},
        {"version too short for data 2", 25, {withoutData2(parameterChange(0x70, 0x61, 1, 2))}, -1, 0, {}},
        {"packet reply too short for data 2", 24, {withoutData2(fir(0x42, 1, 0))}, -1, 0, {}},
        {"amp type too short for data 2", -1, {withoutData2(ampTypeChange(0, 0))}, -1, 0, {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        restart();
        Inspector::expectReply(*manager, row.awaiting);
        for (const Bytes& message : row.messages)
            receive(message);
        EXPECT_EQ(Inspector::receivedID(*manager), row.responseID);
        EXPECT_EQ(Inspector::receivedValue(*manager), row.value);
        EXPECT_EQ(events.events(), row.raised);
        EXPECT_EQ(manager->getMainVer(), row.mainVersion);
        EXPECT_EQ(manager->getAmpType(0), 0);
    }
}

// Only a successful write stores the play buffer in the slot. The waiting request goes on as soon
// as it sees the reply, perhaps to stream the next preview into the play buffer: the slot must hold
// the written record by then.
TEST_F(ReceivePath, flashWriteReplyIsAnnouncedOnlyOnceTheSlotHoldsTheRecord) {
    receive(ampTypeChange(0, 3));
    const FIRCOE written = sampleRecord("Written", 4115);
    manager->setPlayBuffer(0, written);
    Inspector::expectReply(*manager, 21);
    receive(fir(0x47, 0, 1));
    EXPECT_EQ(firSlot(3).name[0], 0);
    Inspector::expectReply(*manager, 21);
    const Bytes reply = fir(0x47, 0, 0);
    manager->beginBufferAccess();
    Background input([&] { manager->handleMIDIIn(reply.data(), static_cast<uint32_t>(reply.size())); });
    EXPECT_FALSE(input.finished(50ms));
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
    manager->endBufferAccess();
    ASSERT_TRUE(input.finished());
    EXPECT_EQ(Inspector::receivedID(*manager), 21);
    EXPECT_EQ(recordBytes(firSlot(3)), recordBytes(written));
}

// ---- Bulk dumps

TEST_F(ReceivePath, acceptedFIRHeaderSetsNameAndGainButKeepsTheSlotsCoefficients) {
    receive(ampTypeChange(1, 4));
    const FIRCOE flashed = sampleRecord("Flashed", 100);
    manager->setPlayBuffer(1, flashed);
    Inspector::expectReply(*manager, 21);
    receive(fir(0x47, 1, 0));
    Inspector::expectReply(*manager, 9);
    EXPECT_EQ(receive(firHeaderDump(9, "Vintage 30", 0x3FFF)), "");
    EXPECT_EQ(Inspector::receivedID(*manager), 9);
    EXPECT_EQ(Inspector::receiveError(*manager), 0);
    FIRCOE expected = flashed;
    std::strcpy(expected.name, "Vintage 30");
    expected.gain = 0x3FFF;
    EXPECT_EQ(recordBytes(firSlot(9)), recordBytes(expected));
}

TEST_F(ReceivePath, firHeaderNameIsAlwaysTerminatedWithinItsSixtyFourBytes) {
    receive(firHeaderDump(0, std::string(64, 'A'), 1));
    EXPECT_EQ(std::string(firSlot(0).name), std::string(63, 'A'));
}

TEST_F(ReceivePath, rejectedDumpsLogSetTheErrorAndKeepTheMirror) {
    const Bytes effects = effectDump({3, 2, 0, 0, 0, 0, 0, 0, 3});
    const Bytes header = firHeaderDump(6, "Never", 1);
    const std::string effectShort = "[ERROR] Too short bulk dump effect data.\n";
    const std::string effectSum = "[ERROR] Bulk dump effect data check sum error.\n";
    const std::string effectError = "[ERROR] Bulk dump received effect data error.\n";
    const std::string headerError = "[ERROR] bulk dump received FIR data error.\n";
    const struct {
        Bytes message;
        int32_t responseID;
        std::string log;
    } table[] = {
        {edited(effects, [](Bytes& d) { d.erase(d.begin() + 35); }), 10, effectShort + effectError},
        {edited(effects, [](Bytes& d) { d.erase(d.begin() + 35), d[33] ^= 1; }), 10,
         effectShort + effectSum + effectError},
        {edited(effects, [](Bytes& d) { d.insert(d.end() - 1, 0); }), 10,
         "[ERROR] Too long bulkdump effect data.\n" + effectError},
        {edited(effects, [](Bytes& d) { d[34] ^= 1; }), 10, effectSum + effectError},
        {edited(effects, [](Bytes& d) { d.resize(20); }), 10, effectShort + effectError},
        {edited(header, [](Bytes& d) { d[84] ^= 0x40; }), 6,
         "[ERROR] Bulk dump FIR header check sum error.\n" + headerError},
        {edited(header, [](Bytes& d) { d.insert(d.end() - 1, 0); }), 6,
         "[ERROR] Too long bulkdump FIR header.\n" + headerError},
        {edited(header, [](Bytes& d) { d.resize(60); }), 6,
         "[ERROR] Too short bulk dump FIR header.\n" + headerError},
    };
    receive(effectDump({1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1}));
    for (const auto& row : table) {
        SCOPED_TRACE(testing::PrintToString(row.message));
        Inspector::expectReply(*manager, row.responseID);
        EXPECT_EQ(receive(row.message), row.log);
        EXPECT_EQ(manager->getAmpType(0), 1);
        EXPECT_EQ(firSlot(6).name[0], 0);
        EXPECT_EQ(Inspector::receiveError(*manager), 1);
        EXPECT_EQ(Inspector::receivedID(*manager), row.responseID);
    }
}

TEST_F(ReceivePath, ignoresDumpsItCannotPlaceWithoutALogLine) {
    const Bytes unreadable[] = {
        bulkDump("FHL5", {0, 0, 0, 0}, Bytes(66, 0)),                     // no such slot
        bulkDump("UTIL", {0, 0, 0x7F, 0x7E}, Bytes(16, 0)),               // effect data without 7F 7F
        bulkDump("FHR1", {0, 1, 0, 0}, Bytes(66, 0)),                     // reserved bytes set
        bulkDump("ABCD", {0, 0, 0, 0}, Bytes(16, 0)),                     // unknown block
        edited(effectDump({}), [](Bytes& d) { d[5] = 0x4E; }),            // effect data with FIR size
        edited(firHeaderDump(1, "a", 1), [](Bytes& d) { d[5] = 0x1C; }),  // FIR header with effect size
        edited(effectDump({}), [](Bytes& d) { d[4] = 0x01; }),            // size high byte set
        edited(effectDump({}), [](Bytes& d) { d[9] = 0x33; }),            // another body tag
        edited(effectDump({}), [](Bytes& d) { d.resize(17); }),           // cut before the data
        edited(effectDump({}), [](Bytes& d) { d[3] = 0x20; }),            // dump request type
    };
    for (const Bytes& message : unreadable) {
        EXPECT_EQ(receive(message), "") << testing::PrintToString(message);
        EXPECT_EQ(Inspector::receivedID(*manager), -1) << testing::PrintToString(message);
    }
}

void throwingListener(EVelkEventID, int32_t, void*) {
    throw std::runtime_error("listener failed");
}

// A throwing listener ends neither the input thread's delivery nor the others' hearing of it.
TEST_F(ReceivePath, listenerExceptionsStopAtTheListener) {
    manager->addListenerCallback(throwingListener, nullptr);
    manager->addListenerCallback(EventRecorder::callback, &events);
    EXPECT_EQ(receive(heartBeatReply(0x31)), "[CATCH] Exception! - CVelkManager::notifyVelkEvent()\n");
    EXPECT_EQ(events.events(), (Events{{eVelkEvent_Connected, 1}, {eVelkEvent_Connected, 1}}));
}

}  // namespace
