#include "VelkManagerFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

using namespace velktest;
using Inspector = VelkManagerInspector;

class ReceivePath : public ManagerTest {
protected:
    // Delivers the message in a buffer of exactly its size, so a read past its end is caught.
    std::string receiveLogging(const Bytes& message) {
        testing::internal::CaptureStderr();
        receive(message);
        return testing::internal::GetCapturedStderr();
    }

    FIRCOE playBuffer(int amp) {
        FIRCOE play;
        manager->getPlayBuffer(amp, play);
        return play;
    }

    // What slot `amp * 5 + ampType` holds, seen through the play buffer an amp type change loads.
    FIRCOE storedSlot(int amp, uint8_t ampType) {
        receive(ampTypeChange(amp, ampType));
        return playBuffer(amp);
    }
};

// ---- Heartbeat

TEST_F(ReceivePath, firstHeartBeatConnectsWithTheModel) {
    receive(heartBeatReply(0x31));
    receive(heartBeatReply(0x31));
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_Connected, 1)});
    EXPECT_EQ(manager->getModel(), 0x31);
    EXPECT_EQ(Inspector::receivedID(*manager), -1) << "a heartbeat sets no response ID";
}

TEST_F(ReceivePath, dualAmpHeadConnectsAsModelTwo) {
    receive(heartBeatReply(0x32));
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_Connected, 2)});
    EXPECT_EQ(manager->getModel(), 0x32);
}

TEST_F(ReceivePath, modelSwitchDropsTheConnectionAndConnectsAgain) {
    receive(heartBeatReply(0x31));
    receive(heartBeatReply(0x32));
    EXPECT_EQ(events.events(),
              (std::vector<SEvent>{event(eVelkEvent_Connected, 1), event(eVelkEvent_Disconnected, 0),
                                   event(eVelkEvent_Connected, 2)}));
    EXPECT_EQ(manager->getModel(), 0x32);
}

TEST_F(ReceivePath, ignoresHeartBeatsItCannotRead) {
    receive(heartBeatReply(0x33));
    receive({0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x45, 0x31, 0xF7});
    receive({0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0xF7});
    receive({0xF0, 0x43, 0x7E, 0x60, 0x58, 0x48, 0x44, 0x31, 0xF7});
    EXPECT_TRUE(events.events().empty());
    EXPECT_FALSE(manager->isConnected());
}

TEST_F(ReceivePath, heartBeatTypeByteIgnoresItsLowNibble) {
    receive({0xF0, 0x43, 0x7D, 0x6F, 0x58, 0x48, 0x44, 0x31, 0xF7});
    EXPECT_TRUE(manager->isConnected());
}

// ---- Amp type changes

TEST_F(ReceivePath, ampTypeChangeLoadsTheStoredImpulseResponse) {
    receive(firHeaderDump(7, "Greenback", 4115));
    receive(ampTypeChange(1, 2));
    EXPECT_EQ(manager->getAmpType(1), 2);
    EXPECT_STREQ(playBuffer(1).name, "Greenback");
    EXPECT_EQ(playBuffer(1).gain, 4115);
    EXPECT_EQ(Inspector::receivedID(*manager), 12);
    EXPECT_EQ(Inspector::receivedValue(*manager), 1);
    EXPECT_EQ(events.events(), std::vector<SEvent>{event(eVelkEvent_AmpTypeChanged, 1)});
}

TEST_F(ReceivePath, ignoresAmpTypeChangesItCannotPlace) {
    receive(parameterChange(0x00, 0x40, 1, 2));  // data 1 must be 0
    receive(parameterChange(0x00, 0x41, 0, 2));  // no amp
    receive(ampTypeChange(0, 5));                // no such slot
    receive(parameterChange(0x01, 0x40, 0, 2));  // no such group
    receive({0xF0, 0x43, 0x7D, 0x10, 0x58, 0x33, 0x00, 0x40, 0x00, 0x02, 0xF7});
    EXPECT_EQ(manager->getAmpType(0), 0);
    EXPECT_STREQ(playBuffer(0).name, "Bypass");
    EXPECT_TRUE(events.events().empty());
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
}

// ---- FIR replies

TEST_F(ReceivePath, initialisationReplyReportsTheLastReceivedValue) {
    receive(parameterChange(0x04, 0x42, 7, 0));
    receive(parameterChange(0x04, 0x48, 0, 0));
    EXPECT_EQ(Inspector::receivedID(*manager), 23);
    EXPECT_EQ(events.events(), (std::vector<SEvent>{event(eVelkEvent_FIRPacketAccepted, 7),
                                                    event(eVelkEvent_FIRDataInitialized, 7)}));
}

TEST_F(ReceivePath, initialisationReplyNeedsZeroData) {
    receive(parameterChange(0x04, 0x48, 1, 0));
    receive(parameterChange(0x04, 0x48, 0, 1));
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
    EXPECT_TRUE(events.events().empty());
}

TEST_F(ReceivePath, successfulFlashWriteStoresThePlayBufferInTheSlot) {
    receive(ampTypeChange(0, 3));
    const FIRCOE preview = recordWithPattern("Preview", 4115, 9);
    manager->setPlayBuffer(0, preview);
    receive(parameterChange(0x04, 0x47, 0, 0));
    EXPECT_EQ(Inspector::receivedID(*manager), 21);
    EXPECT_EQ(Inspector::receivedValue(*manager), 0);
    EXPECT_EQ(events.events().back(), event(eVelkEvent_FIRWriteDone, 0));
    receive(ampTypeChange(0, 1));
    EXPECT_EQ(recordBytes(storedSlot(0, 3)), recordBytes(preview));
}

TEST_F(ReceivePath, failedFlashWriteLeavesTheSlot) {
    receive(ampTypeChange(1, 3));
    manager->setPlayBuffer(1, recordWithPattern("Preview", 4115, 9));
    receive(parameterChange(0x04, 0x47, 1, 1));
    EXPECT_EQ(Inspector::receivedID(*manager), 21);
    EXPECT_EQ(events.events().back(), event(eVelkEvent_FIRWriteFailed, 1));
    receive(ampTypeChange(1, 0));
    EXPECT_EQ(storedSlot(1, 3).name[0], 0);
}

TEST_F(ReceivePath, flashWriteReplyWithAnotherStatusOnlyEndsTheWait) {
    receive(parameterChange(0x04, 0x47, 1, 2));
    EXPECT_EQ(Inspector::receivedID(*manager), 21);
    EXPECT_EQ(Inspector::receivedValue(*manager), 0);
    EXPECT_TRUE(events.events().empty());
}

struct PacketReplyCase {
    uint8_t status;
    std::vector<SEvent> raised;
    int32_t value;
};
void PrintTo(const PacketReplyCase& c, std::ostream* os) {
    *os << "status " << int(c.status);
}

class PacketReply : public ReceivePath, public testing::WithParamInterface<PacketReplyCase> {};

TEST_P(PacketReply, endsTheWaitAndReportsAcceptanceOrRejection) {
    receive(parameterChange(0x04, 0x42, 5, GetParam().status));
    EXPECT_EQ(Inspector::receivedID(*manager), 24);
    EXPECT_EQ(Inspector::receivedValue(*manager), GetParam().value);
    EXPECT_EQ(events.events(), GetParam().raised);
}

INSTANTIATE_TEST_SUITE_P(Statuses, PacketReply,
                         testing::Values(PacketReplyCase{0, {event(eVelkEvent_FIRPacketAccepted, 5)}, 5},
                                         PacketReplyCase{1, {event(eVelkEvent_FIRPacketRejected, 5)}, 5},
                                         PacketReplyCase{2, {}, 0}));

TEST_F(ReceivePath, ignoresUnknownFIRParameters) {
    receive(parameterChange(0x04, 0x43, 0, 0));
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
}

// ---- Main version

TEST_F(ReceivePath, mainVersionIsAFourteenBitNumber) {
    receive(parameterChange(0x70, 0x61, 0x01, 0x02));
    EXPECT_EQ(manager->getMainVer(), 130);
    EXPECT_EQ(Inspector::receivedID(*manager), 25);
    EXPECT_TRUE(events.events().empty());
    receive(parameterChange(0x70, 0x62, 0x7F, 0x7F));
    EXPECT_EQ(manager->getMainVer(), 130);
}

TEST_F(ReceivePath, ignoresParameterChangesTooShortToHoldTheirData) {
    receive({0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x70, 0x61, 0x01});
    receive({0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x04, 0x42, 0x01});
    receive({0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x40, 0x00});
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
    EXPECT_EQ(manager->getMainVer(), 0);
}

// ---- Effect data dump

TEST_F(ReceivePath, acceptedEffectDumpReplacesTheEffectBlock) {
    EXPECT_EQ(receiveLogging(effectDump({2, 1, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0})), "");
    EXPECT_EQ(manager->getAmpType(0), 2);
    EXPECT_EQ(manager->getAmpType(1), 4);
    EXPECT_EQ(Inspector::receiveError(*manager), 0);
    EXPECT_EQ(Inspector::receivedID(*manager), 10);
    EXPECT_TRUE(events.events().empty());
}

struct RejectedDumpCase {
    const char* what;
    std::function<Bytes(Bytes)> spoil;
    std::string log;
};
void PrintTo(const RejectedDumpCase& c, std::ostream* os) {
    *os << c.what;
}

class RejectedEffectDump : public ReceivePath, public testing::WithParamInterface<RejectedDumpCase> {};

TEST_P(RejectedEffectDump, logsSetsTheErrorAndKeepsTheBlock) {
    receive(effectDump({1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0}));
    Bytes dump = effectDump({3, 2, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(receiveLogging(GetParam().spoil(dump)), GetParam().log);
    EXPECT_EQ(manager->getAmpType(0), 1);
    EXPECT_EQ(Inspector::receiveError(*manager), 1);
    EXPECT_EQ(Inspector::receivedID(*manager), 10);
}

Bytes dropByte(Bytes dump, size_t at) {
    dump.erase(dump.begin() + static_cast<long>(at));
    return dump;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RejectedEffectDump,
    testing::Values(RejectedDumpCase{"35 bytes", [](Bytes d) { return dropByte(d, 35); },
                                     "[ERROR] Too short bulk dump effect data.\n"
                                     "[ERROR] Bulk dump received effect data error.\n"},
                    RejectedDumpCase{"35 bytes, checksum off",
                                     [](Bytes d) {
                                         d = dropByte(d, 35);
                                         d[33] ^= 0x01;
                                         return d;
                                     },
                                     "[ERROR] Too short bulk dump effect data.\n"
                                     "[ERROR] Bulk dump effect data check sum error.\n"
                                     "[ERROR] Bulk dump received effect data error.\n"},
                    RejectedDumpCase{"37 bytes",
                                     [](Bytes d) {
                                         d.insert(d.end() - 1, 0x00);
                                         return d;
                                     },
                                     "[ERROR] Too long bulkdump effect data.\n"
                                     "[ERROR] Bulk dump received effect data error.\n"},
                    RejectedDumpCase{"bad checksum",
                                     [](Bytes d) {
                                         d[34] ^= 0x01;
                                         return d;
                                     },
                                     "[ERROR] Bulk dump effect data check sum error.\n"
                                     "[ERROR] Bulk dump received effect data error.\n"},
                    RejectedDumpCase{"20 bytes", [](Bytes d) { return Bytes(d.begin(), d.begin() + 20); },
                                     "[ERROR] Too short bulk dump effect data.\n"
                                     "[ERROR] Bulk dump received effect data error.\n"}));

// ---- FIR header dump

TEST_F(ReceivePath, acceptedFIRHeaderSetsNameAndGainOfItsSlot) {
    receive(firHeaderDump(3, "Vintage 30", 0x3FFF));
    EXPECT_EQ(Inspector::receivedID(*manager), 3);
    EXPECT_EQ(Inspector::receiveError(*manager), 0);
    const FIRCOE slot = storedSlot(0, 3);
    EXPECT_STREQ(slot.name, "Vintage 30");
    EXPECT_EQ(slot.gain, 0x3FFF);
}

TEST_F(ReceivePath, firHeaderKeepsTheSlotsCoefficients) {
    receive(ampTypeChange(1, 4));
    const FIRCOE flashed = recordWithPattern("Flashed", 100, 4);
    manager->setPlayBuffer(1, flashed);
    receive(parameterChange(0x04, 0x47, 1, 0));
    receive(firHeaderDump(9, "Renamed", 200));
    const FIRCOE slot = storedSlot(1, 4);
    EXPECT_STREQ(slot.name, "Renamed");
    EXPECT_EQ(slot.gain, 200);
    EXPECT_EQ(std::memcmp(slot.coe, flashed.coe, sizeof slot.coe), 0);
}

TEST_F(ReceivePath, firHeaderNameAlwaysEndsWithinItsSixtyFourBytes) {
    receive(firHeaderDump(0, std::string(64, 'A'), 1));
    EXPECT_EQ(std::string(storedSlot(0, 0).name), std::string(63, 'A'));
}

TEST_F(ReceivePath, rejectedFIRHeaderLogsAndKeepsTheSlot) {
    Bytes dump = firHeaderDump(6, "Never", 1);
    dump[84] ^= 0x40;
    EXPECT_EQ(receiveLogging(dump),
              "[ERROR] Bulk dump FIR header check sum error.\n[ERROR] bulk dump received FIR data error.\n");
    EXPECT_EQ(Inspector::receivedID(*manager), 6);
    EXPECT_EQ(Inspector::receiveError(*manager), 1);
    EXPECT_EQ(storedSlot(1, 1).name[0], 0);
}

TEST_F(ReceivePath, firHeaderOfWrongLengthIsRejected) {
    Bytes longDump = firHeaderDump(2, "x", 1);
    longDump.insert(longDump.end() - 1, 0);
    EXPECT_EQ(receiveLogging(longDump),
              "[ERROR] Too long bulkdump FIR header.\n[ERROR] bulk dump received FIR data error.\n");
    Bytes shortDump = firHeaderDump(2, "x", 1);
    shortDump.resize(60);
    EXPECT_EQ(receiveLogging(shortDump),
              "[ERROR] Too short bulk dump FIR header.\n[ERROR] bulk dump received FIR data error.\n");
    EXPECT_EQ(Inspector::receivedID(*manager), 2);
}

struct IgnoredDumpCase {
    const char* what;
    Bytes message;
};
void PrintTo(const IgnoredDumpCase& c, std::ostream* os) {
    *os << c.what;
}

class IgnoredDump : public ReceivePath, public testing::WithParamInterface<IgnoredDumpCase> {};

TEST_P(IgnoredDump, setsNoResponseIDAndLogsNothing) {
    EXPECT_EQ(receiveLogging(GetParam().message), "");
    EXPECT_EQ(Inspector::receivedID(*manager), -1);
}

Bytes withByte(Bytes message, size_t at, uint8_t value) {
    message[at] = value;
    return message;
}

INSTANTIATE_TEST_SUITE_P(
    Unreadable, IgnoredDump,
    testing::Values(IgnoredDumpCase{"FIR header digit 5", bulkDump("FHL5", {0, 0, 0, 0}, Bytes(66, 0))},
                    IgnoredDumpCase{"UTIL without 7F 7F", bulkDump("UTIL", {0, 0, 0x7F, 0x7E}, Bytes(16, 0))},
                    IgnoredDumpCase{"reserved bytes set", bulkDump("FHR1", {0, 1, 0, 0}, Bytes(66, 0))},
                    IgnoredDumpCase{"effect data with FIR size", withByte(effectDump({}), 5, 0x4E)},
                    IgnoredDumpCase{"FIR header with effect size",
                                    withByte(firHeaderDump(1, "a", 1), 5, 0x1C)},
                    IgnoredDumpCase{"size high byte set", withByte(effectDump({}), 4, 0x01)},
                    IgnoredDumpCase{"other body tag", withByte(effectDump({}), 9, 0x33)},
                    IgnoredDumpCase{"unknown block", bulkDump("ABCD", {0, 0, 0, 0}, Bytes(16, 0))},
                    IgnoredDumpCase{"17 bytes", Bytes{0xF0, 0x43, 0x7D, 0x00, 0x00, 0x1C, 0x58, 0x48, 0x44,
                                                      0x32, 0x55, 0x54, 0x49, 0x4C, 0x00, 0x00, 0x7F}},
                    IgnoredDumpCase{"dump request type", withByte(effectDump({}), 3, 0x20)}));

// ---- Entry point

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
