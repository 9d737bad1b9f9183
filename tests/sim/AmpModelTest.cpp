#include "sim/AmpModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

#include "sim/EditorMessages.h"
#include "sim/StockCabinets.h"

namespace velk::sim {
namespace {

using namespace velk::sim::test;

constexpr uint16_t kVersion = 110;

bool sameState(const AmpState& a, const AmpState& b) {
    return a.model == b.model && a.mainVersion == b.mainVersion && a.effectBlock == b.effectBlock &&
           std::memcmp(a.firSlots.data(), b.firSlots.data(), sizeof a.firSlots) == 0 &&
           std::memcmp(a.playBuffers.data(), b.playBuffers.data(), sizeof a.playBuffers) == 0;
}

int bodySum(const Bytes& bulk) {
    int sum = 0;
    for (size_t i = 6; i + 1 < bulk.size(); ++i)
        sum += bulk[i];
    return sum % 128;
}

class AmpModelTest : public testing::Test {
protected:
    AmpModel dual{AmpState::factory(HeadModel::Dual, kVersion)};
    AmpModel single{AmpState::factory(HeadModel::Single, kVersion)};
};

// --- Heartbeat and firmware version ---

TEST_F(AmpModelTest, answersHeartBeatWithItsModelByte) {
    const Exchange fromDual = dual.handleMessage(heartBeatRequest());
    const Exchange fromSingle = single.handleMessage(heartBeatRequest());
    EXPECT_EQ(fromDual.request, Request::HeartBeat);
    EXPECT_EQ(fromDual.reply, (Bytes{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x32, 0xF7}));
    EXPECT_EQ(fromSingle.reply, (Bytes{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x31, 0xF7}));
}

TEST_F(AmpModelTest, answersMainVersionAsFourteenBitValue) {
    dual.state().mainVersion = 0x12C;  // 300
    const Exchange exchange = dual.handleMessage(mainVersionRequest());
    EXPECT_EQ(exchange.request, Request::MainVersion);
    EXPECT_EQ(exchange.reply, (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x70, 0x61, 0x02, 0x2C, 0xF7}));
}

// --- Dumps ---

TEST_F(AmpModelTest, dumpsEffectBlockWithChecksum) {
    dual.state().effectBlock = {2, 1, 1, 3, 2, 4, 5, 0, 1, 2, 0, 1, 3, 0, 0, 0};
    const Exchange exchange = dual.handleMessage(dumpRequest(10));
    EXPECT_EQ(exchange.request, Request::Dump);
    const Bytes expected = {0xF0, 0x43, 0x7D, 0x00, 0x00, 0x1C, 0x58, 0x48, 0x44, 0x32, 'U',  'T',
                            'I',  'L',  0x00, 0x00, 0x7F, 0x7F, 2,    1,    1,    3,    2,    4,
                            5,    0,    1,    2,    0,    1,    3,    0,    0,    0,    0x15, 0xF7};
    EXPECT_EQ(exchange.reply, expected);
}

TEST_F(AmpModelTest, dumpsFirHeaderWithNameAndGain) {
    FIRCOE& slot = dual.state().firSlots[7];
    std::memset(slot.name, 0, sizeof slot.name);
    std::strcpy(slot.name, "AB");
    slot.gain = 5181;
    const Exchange exchange = dual.handleMessage(dumpRequest(7));
    Bytes expected = {0xF0, 0x43, 0x7D, 0x00, 0x00, 0x4E, 0x58, 0x48, 0x44, 0x32,
                      'F',  'H',  'R',  '2',  0x00, 0x00, 0x00, 0x00, 'A',  'B'};
    expected.resize(expected.size() + 62, 0);
    expected.insert(expected.end(), {0x28, 0x3D, 0x70, 0xF7});
    EXPECT_EQ(exchange.reply, expected);
}

TEST_F(AmpModelTest, dumpsEveryBlockOfItsAmpsAndNoOther) {
    for (int index = 0; index <= 10; ++index) {
        SCOPED_TRACE(index);
        const Exchange fromDual = dual.handleMessage(dumpRequest(index));
        ASSERT_TRUE(fromDual.reply.has_value());
        EXPECT_EQ(bodySum(*fromDual.reply), 0);
        const bool ampII = index >= 5 && index <= 9;
        EXPECT_EQ(single.handleMessage(dumpRequest(index)).reply.has_value(), !ampII);
    }
}

TEST_F(AmpModelTest, ignoresDumpRequestsForUnknownBlocks) {
    for (const char* name : {"FHL5", "FHR9", "UTIX", "fhl0"}) {
        Bytes request = dumpRequest(0);
        std::memcpy(request.data() + 8, name, 4);
        EXPECT_EQ(dual.handleMessage(request).request, Request::Ignored) << name;
    }
}

TEST_F(AmpModelTest, corruptsAsManyDumpsAsAskedThenAnswersCleanly) {
    dual.faults().corruptDumps = 2;
    EXPECT_NE(bodySum(*dual.handleMessage(dumpRequest(10)).reply), 0);
    EXPECT_NE(bodySum(*dual.handleMessage(dumpRequest(3)).reply), 0);
    EXPECT_EQ(bodySum(*dual.handleMessage(dumpRequest(10)).reply), 0);
    EXPECT_EQ(dual.faults().corruptDumps, 0);
}

// --- Effect parameters ---

struct EffectCase {
    uint8_t parameter;
    bool acceptedByDual;
    bool acceptedBySingle;
};
void PrintTo(const EffectCase& c, std::ostream* os) {
    *os << "parameter " << int(c.parameter);
}

class EffectParameterTest : public AmpModelTest, public testing::WithParamInterface<EffectCase> {};

TEST_P(EffectParameterTest, storesSettableBytesOfItsAmps) {
    const EffectCase c = GetParam();
    for (AmpModel* model : {&dual, &single}) {
        const bool accepted = model == &dual ? c.acceptedByDual : c.acceptedBySingle;
        const AmpState before = model->state();
        const Exchange exchange = model->handleMessage(parameterChange(0x00, c.parameter, 0, 3));
        EXPECT_EQ(exchange.request, accepted ? Request::EffectParameter : Request::Ignored);
        EXPECT_FALSE(exchange.reply.has_value());
        AmpState expected = before;
        if (accepted)
            expected.effectBlock[c.parameter] = 3;
        EXPECT_TRUE(sameState(model->state(), expected));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryBlockByte, EffectParameterTest,
                         testing::Values(EffectCase{0x00, false, false}, EffectCase{0x01, true, true},
                                         EffectCase{0x02, true, true}, EffectCase{0x03, true, true},
                                         EffectCase{0x04, true, true}, EffectCase{0x05, true, true},
                                         EffectCase{0x06, true, true}, EffectCase{0x07, false, false},
                                         EffectCase{0x08, false, false}, EffectCase{0x09, true, false},
                                         EffectCase{0x0A, true, false}, EffectCase{0x0B, true, false},
                                         EffectCase{0x0C, true, false}, EffectCase{0x0D, false, false},
                                         EffectCase{0x40, false, false}, EffectCase{0x48, false, false}));

TEST_F(AmpModelTest, ignoresEffectParameterWithNonZeroFirstDataByte) {
    EXPECT_EQ(dual.handleMessage(parameterChange(0x00, 0x01, 1, 2)).request, Request::Ignored);
    EXPECT_EQ(dual.state().effectBlock[1], 0);
}

// --- FIR commands ---

TEST_F(AmpModelTest, selectingStoredIrPlaysThatSlot) {
    EXPECT_EQ(dual.handleMessage(parameterChange(0x04, 0x00, 1, 8)).request, Request::SelectStoredIr);
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[1], stockCabinet(8)));
}

TEST_F(AmpModelTest, ignoresSelectingAnotherAmpsSlot) {
    const AmpState before = dual.state();
    EXPECT_EQ(dual.handleMessage(parameterChange(0x04, 0x00, 0, 5)).request, Request::Ignored);
    EXPECT_EQ(dual.handleMessage(parameterChange(0x04, 0x00, 1, 4)).request, Request::Ignored);
    EXPECT_EQ(single.handleMessage(parameterChange(0x04, 0x00, 1, 5)).request, Request::Ignored);
    EXPECT_TRUE(sameState(dual.state(), before));
}

TEST_F(AmpModelTest, writesNameCharactersIntoEachAmpsPlayBuffer) {
    dual.handleMessage(parameterChange(0x04, 0x03, 0, 'Z'));
    dual.handleMessage(parameterChange(0x04, 0x05, 62, 'Q'));
    EXPECT_EQ(dual.state().playBuffers[0].name[0], 'Z');
    EXPECT_EQ(dual.state().playBuffers[1].name[62], 'Q');
}

TEST_F(AmpModelTest, keepsNameTerminatorAndIgnoresAbsentAmp) {
    const AmpState before = single.state();
    EXPECT_EQ(single.handleMessage(parameterChange(0x04, 0x03, 63, 'X')).request, Request::Ignored);
    EXPECT_EQ(single.handleMessage(parameterChange(0x04, 0x05, 0, 'X')).request, Request::Ignored);
    EXPECT_TRUE(sameState(single.state(), before));
}

TEST_F(AmpModelTest, takesGainAsFourteenBitWord) {
    EXPECT_EQ(dual.handleMessage(parameterChange(0x04, 0x04, 0x28, 0x3D)).request, Request::IrGain);
    dual.handleMessage(parameterChange(0x04, 0x06, 0x7F, 0x7F));
    EXPECT_EQ(dual.state().playBuffers[0].gain, 5181);
    EXPECT_EQ(dual.state().playBuffers[1].gain, 16383);
}

TEST_F(AmpModelTest, flashWriteStoresPlayBufferAndConfirms) {
    dual.state().playBuffers[1] = sampleRecord("Mine", 4115);
    const Exchange exchange = dual.handleMessage(parameterChange(0x04, 0x07, 1, 7));
    EXPECT_EQ(exchange.request, Request::FlashWrite);
    EXPECT_EQ(exchange.reply, (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x04, 0x47, 0x01, 0x00, 0xF7}));
    EXPECT_TRUE(sameRecord(dual.state().firSlots[7], sampleRecord("Mine", 4115)));
}

TEST_F(AmpModelTest, failingFlashWriteReportsFailureAndKeepsSlot) {
    dual.faults().failingFlashWrites = 1;
    dual.state().playBuffers[0] = sampleRecord("Mine", 4115);
    const Exchange failed = dual.handleMessage(parameterChange(0x04, 0x07, 0, 2));
    EXPECT_EQ(failed.reply, (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x04, 0x47, 0x00, 0x01, 0xF7}));
    EXPECT_TRUE(sameRecord(dual.state().firSlots[2], stockCabinet(2)));

    const Exchange next = dual.handleMessage(parameterChange(0x04, 0x07, 0, 2));
    EXPECT_EQ(next.reply->at(9), 0x00);
    EXPECT_TRUE(sameRecord(dual.state().firSlots[2], sampleRecord("Mine", 4115)));
}

TEST_F(AmpModelTest, refusesFlashWriteIntoSlotItCannotHold) {
    const AmpState before = single.state();
    for (const auto& [amp, slot] : {std::pair{0, 5}, {1, 5}, {2, 0}}) {
        const Exchange exchange = single.handleMessage(parameterChange(0x04, 0x07, amp, slot));
        ASSERT_TRUE(exchange.reply.has_value());
        EXPECT_EQ(exchange.reply->at(8), amp);
        EXPECT_EQ(exchange.reply->at(9), 0x01);
    }
    EXPECT_TRUE(sameState(single.state(), before));
}

TEST_F(AmpModelTest, initialisationRestoresStockCabinetsAndConfirms) {
    dual.state().effectBlock[8] = 3;
    dual.state().firSlots[8] = sampleRecord("Mine", 100);
    dual.state().playBuffers[0] = sampleRecord("Preview", 100);
    const Exchange exchange = dual.handleMessage(parameterChange(0x04, 0x08, 0, 0));
    EXPECT_EQ(exchange.request, Request::InitIrData);
    EXPECT_EQ(exchange.reply, (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x04, 0x48, 0x00, 0x00, 0xF7}));
    EXPECT_TRUE(sameRecord(dual.state().firSlots[8], stockCabinet(8)));
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[0], stockCabinet(0)));
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[1], stockCabinet(8)));
}

// --- Coefficient packets ---

Bytes packetReply(int amp, int status) {
    return parameterChange(0x04, 0x42, amp, status);
}

TEST_F(AmpModelTest, rebuildsStreamedRecordInPlayBufferByteForByte) {
    const FIRCOE record = sampleRecord("Cab 57", 8211);
    for (const Bytes& packet : coefficientStream(record, 1)) {
        const Exchange exchange = dual.handleMessage(packet);
        EXPECT_EQ(exchange.request, Request::CoefficientPacket);
        EXPECT_EQ(exchange.reply, packetReply(1, 0));
    }
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[1], record));
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[0], stockCabinet(0)));
}

TEST_F(AmpModelTest, bypassStreamMakesAmpBypassed) {
    FIRCOE bypass{};
    std::strcpy(bypass.name, "Bypass");
    bypass.gain = 16383;
    bypass.coe[0] = 32767;
    EXPECT_FALSE(single.state().isBypassed(0));
    for (const Bytes& packet : coefficientStream(bypass, 0))
        single.handleMessage(packet);
    EXPECT_TRUE(single.state().isBypassed(0));
}

TEST_F(AmpModelTest, rejectsPacketWithBadChecksumAndKeepsPlayBuffer) {
    Bytes packet = coefficientStream(sampleRecord("X", 1), 0)[0];
    packet[packet.size() - 2] ^= 0x01;
    EXPECT_EQ(dual.handleMessage(packet).reply, packetReply(0, 1));
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[0], stockCabinet(0)));
}

TEST_F(AmpModelTest, rejectedPacketLeavesItsPartOfPlayBufferAndStreamGoesOn) {
    dual.faults().rejectedPackets.set(4);
    const FIRCOE record = sampleRecord("Partly", 4115);
    const auto packets = coefficientStream(record, 0);
    for (size_t n = 0; n < packets.size(); ++n)
        EXPECT_EQ(dual.handleMessage(packets[n]).reply, packetReply(0, n == 4 ? 1 : 0)) << n;

    FIRCOE expected = record;
    const FIRCOE stock = stockCabinet(0);
    std::memcpy(reinterpret_cast<uint8_t*>(&expected) + 4 * 448,
                reinterpret_cast<const uint8_t*>(&stock) + 4 * 448, 448);
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[0], expected));
}

struct BadPacketCase {
    const char* name;
    int packetNumber;
    int amp;
    size_t payloadLength;
    HeadModel model;
};
void PrintTo(const BadPacketCase& c, std::ostream* os) {
    *os << c.name;
}

class BadPacketTest : public testing::TestWithParam<BadPacketCase> {};

TEST_P(BadPacketTest, isRejectedWithoutTouchingState) {
    const BadPacketCase c = GetParam();
    AmpModel model{AmpState::factory(c.model, kVersion)};
    const AmpState before = model.state();
    const Bytes payload(448, 0x55);
    const Exchange exchange =
        model.handleMessage(coefficientPacket(c.packetNumber, c.amp, payload.data(), c.payloadLength));
    EXPECT_EQ(exchange.request, Request::CoefficientPacket);
    EXPECT_EQ(exchange.reply, packetReply(c.amp & 0x7F, 1));
    EXPECT_TRUE(sameState(model.state(), before));
}

INSTANTIATE_TEST_SUITE_P(Cases, BadPacketTest,
                         testing::Values(BadPacketCase{"emptyPayload", 0, 0, 0, HeadModel::Dual},
                                         BadPacketCase{"shortPayload", 3, 0, 441, HeadModel::Dual},
                                         BadPacketCase{"fullPayloadInLastPacket", 9, 0, 448, HeadModel::Dual},
                                         BadPacketCase{"packetNumberTen", 10, 0, 130, HeadModel::Dual},
                                         BadPacketCase{"ampTwo", 0, 2, 448, HeadModel::Dual},
                                         BadPacketCase{"ampIIOnSingleHead", 0, 1, 448, HeadModel::Single}));

TEST_F(AmpModelTest, rejectsPacketWhoseSizeFieldDisagreesWithItsLength) {
    Bytes packet = coefficientStream(sampleRecord("X", 1), 0)[9];
    packet.insert(packet.end() - 2, {0x00, 0x00});
    EXPECT_EQ(dual.handleMessage(packet).reply, packetReply(0, 1));
}

// --- Amp type changes on the amplifier, model switch ---

TEST_F(AmpModelTest, announcesAmpTypeChangeAndPlaysThatTypesSlot) {
    dual.state().firSlots[8] = sampleRecord("Stored", 3000);
    const auto message = dual.changeAmpType(1, 3);
    EXPECT_EQ(message, (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x48, 0x00, 0x03, 0xF7}));
    EXPECT_EQ(dual.state().effectBlock[8], 3);
    EXPECT_TRUE(sameRecord(dual.state().playBuffers[1], sampleRecord("Stored", 3000)));
    EXPECT_EQ(dual.changeAmpType(0, 4),
              (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x00, 0x40, 0x00, 0x04, 0xF7}));
}

TEST_F(AmpModelTest, refusesAmpTypeChangeItCannotMake) {
    const AmpState before = single.state();
    EXPECT_FALSE(single.changeAmpType(1, 0).has_value());
    EXPECT_FALSE(single.changeAmpType(0, 5).has_value());
    EXPECT_FALSE(single.changeAmpType(0, -1).has_value());
    EXPECT_TRUE(sameState(single.state(), before));
}

TEST_F(AmpModelTest, switchedModelAnswersAsFactoryFreshOtherHead) {
    single.state().effectBlock[1] = 2;
    single.switchModel(HeadModel::Dual);
    EXPECT_EQ(single.handleMessage(heartBeatRequest()).reply->at(7), 0x32);
    EXPECT_TRUE(sameState(single.state(), AmpState::factory(HeadModel::Dual, kVersion)));
}

// --- Malformed input ---

struct MalformedCase {
    const char* name;
    Bytes message;
};
void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

class MalformedInputTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedInputTest, isIgnoredWithoutReplyOrStateChange) {
    AmpModel model{AmpState::factory(HeadModel::Dual, kVersion)};
    const AmpState before = model.state();
    const Exchange exchange = model.handleMessage(GetParam().message);
    EXPECT_EQ(exchange.request, Request::Ignored);
    EXPECT_FALSE(exchange.reply.has_value());
    EXPECT_TRUE(sameState(model.state(), before));
}

Bytes withoutLastByte(Bytes bytes) {
    bytes.pop_back();
    return bytes;
}

Bytes withByte(Bytes bytes, size_t index, uint8_t value) {
    bytes[index] = value;
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedInputTest,
    testing::Values(
        MalformedCase{"empty", {}}, MalformedCase{"startOnly", {0xF0}},
        MalformedCase{"leadInOnly", {0xF0, 0x43, 0x7D}},
        MalformedCase{"typeAndEnd", {0xF0, 0x43, 0x7D, 0x10, 0xF7}},
        MalformedCase{"parameterChangeWithoutEnd", withoutLastByte(parameterChange(0x04, 0x04, 0x28, 0x3D))},
        MalformedCase{"shortParameterChange", {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x04, 0x04, 0x28, 0xF7}},
        MalformedCase{"longParameterChange",
                      {0xF0, 0x43, 0x7D, 0x10, 0x58, 0x32, 0x04, 0x04, 0x28, 0x3D, 0x00, 0xF7}},
        MalformedCase{"otherManufacturer", withByte(heartBeatRequest(), 1, 0x44)},
        MalformedCase{"statusByteInside", withByte(parameterChange(0x04, 0x04, 0x28, 0x3D), 8, 0x90)},
        MalformedCase{"wrongParameterTag", withByte(parameterChange(0x04, 0x04, 0x28, 0x3D), 5, 0x33)},
        MalformedCase{"unknownGroup", parameterChange(0x05, 0x04, 0x28, 0x3D)},
        MalformedCase{"unknownSystemParameter", parameterChange(0x70, 0x02, 0, 0)},
        MalformedCase{"unknownFirParameter", parameterChange(0x04, 0x09, 0, 0)},
        MalformedCase{"heartBeatReplyEchoed", {0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x32, 0xF7}},
        MalformedCase{"shortDumpRequest", withoutLastByte(withoutLastByte(dumpRequest(10)))},
        MalformedCase{"dumpRequestWrongTag", withByte(dumpRequest(10), 7, 0x33)},
        MalformedCase{"bulkHeaderOnly", {0xF0, 0x43, 0x7D, 0x00, 0x00, 0x0C, 0xF7}},
        MalformedCase{"bulkOfOtherBlock", {0xF0, 0x43, 0x7D, 0x00, 0x00, 0x0C, 0x58, 0x48, 0x44, 0x32,
                                           'U',  'T',  'I',  'L',  0,    0,    0,    0,    0,    0xF7}}));

}  // namespace
}  // namespace velk::sim
