#include "sim/AmpModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <optional>
#include <set>

#include "sim/EditorMessages.h"
#include "sim/StockCabinets.h"

namespace velk::sim {
namespace {

using namespace velk::sim::test;
using enum HeadModel;
using enum Request;

bool sameState(const AmpState& a, const AmpState& b) {
    return a.model == b.model && a.mainVersion == b.mainVersion && a.effectBlock == b.effectBlock &&
           std::memcmp(a.firSlots.data(), b.firSlots.data(), sizeof a.firSlots) == 0 &&
           std::memcmp(a.playBuffers.data(), b.playBuffers.data(), sizeof a.playBuffers) == 0;
}

Bytes fir(uint8_t parameter, uint8_t data1, uint8_t data2) {
    return parameterChange(0x04, parameter, data1, data2);
}

Bytes framed(std::initializer_list<uint8_t> afterLeadIn) {
    Bytes message = {0xF0, 0x43, 0x7D};
    std::copy(afterLeadIn.begin(), afterLeadIn.end(), std::back_inserter(message));
    return message;
}

// Version 300, amp types 2 and 1 (slots 2 and 6), slot 7 named "AB" with a gain of 5181, and play
// buffers unlike any slot.
AmpState usedHead(HeadModel model) {
    AmpState state = AmpState::factory(model, 300);
    state.effectBlock = {2, 1, 1, 3, 2, 4, 5, 0, 1, 2, 0, 1, 3, 0, 0, 0};
    state.firSlots[7] = FIRCOE{.name = "AB", .gain = 5181, .coe = {}};
    state.playBuffers = {sampleRecord("Preview I", 4115), sampleRecord("Preview II", 8211)};
    return state;
}

TEST(AmpModel, answersRequestsAndChangesItsStateAsTheHeadDoes) {
    const Bytes payload(448, 0x55);
    const auto packet = [&](int number, int amp, size_t length) {
        return coefficientPacket(number, amp, payload.data(), length);
    };
    const Bytes gain = fir(0x04, 0x28, 0x3D);
    Bytes headerDump =
        framed({0x00, 0x00, 0x4E, 0x58, 0x48, 0x44, 0x32, 'F', 'H', 'R', '2', 0, 0, 0, 0, 'A', 'B'});
    headerDump.resize(headerDump.size() + 62, 0);
    headerDump.insert(headerDump.end(), {0x28, 0x3D, 0x70, 0xF7});
    const struct {
        const char* name;
        HeadModel model;
        Bytes message;
        Request request = Ignored;
        std::optional<Bytes> reply = std::nullopt;
        std::function<void(AmpState&)> change = nullptr;
    } cases[] = {
        {"heartBeatOfDual", Dual, kHeartBeatRequest, HeartBeat, framed({0x60, 0x58, 0x48, 0x44, 0x32, 0xF7})},
        {"mainVersion", Dual, kMainVersionRequest, MainVersion, parameterChange(0x70, 0x61, 0x02, 0x2C)},
        {"effectDump", Dual, dumpRequest(10),
         Dump, framed({0x00, 0x00, 0x1C, 0x58, 0x48, 0x44, 0x32, 'U', 'T', 'I',  'L',
                       0x00, 0x00, 0x7F, 0x7F, 2,    1,    1,    3,   2,   4,    5,
                       0,    1,    2,    0,    1,    3,    0,    0,   0,   0x15, 0xF7})},
        {"firHeaderDump", Dual, dumpRequest(7), Dump, headerDump},
        {"selectStoredIr", Dual, fir(0x00, 1, 8), SelectStoredIr, std::nullopt,
         [](AmpState& s) { s.playBuffers[1] = stockCabinet(8); }},
        {"nameCharacterOfAmpI", Dual, fir(0x03, 0, 'Z'), IrName, std::nullopt,
         [](AmpState& s) { s.playBuffers[0].name[0] = 'Z'; }},
        {"nameCharacterOfAmpII", Dual, fir(0x05, 62, 'Q'), IrName, std::nullopt,
         [](AmpState& s) { s.playBuffers[1].name[62] = 'Q'; }},
        {"gainOfAmpI", Dual, fir(0x04, 0x28, 0x3D), IrGain, std::nullopt,
         [](AmpState& s) { s.playBuffers[0].gain = 5181; }},
        {"gainOfAmpII", Dual, fir(0x06, 0x7F, 0x7F), IrGain, std::nullopt,
         [](AmpState& s) { s.playBuffers[1].gain = 16383; }},
        {"flashWrite", Dual, fir(0x07, 1, 7), FlashWrite, fir(0x47, 1, 0),
         [](AmpState& s) { s.firSlots[7] = sampleRecord("Preview II", 8211); }},
        {"initialisation", Dual, fir(0x08, 0, 0), InitIrData, fir(0x48, 0, 0),
         [](AmpState& s) {
             for (int slot = 0; slot < AmpState::kSlots; ++slot)
                 s.firSlots[slot] = stockCabinet(slot);
             s.playBuffers = {stockCabinet(2), stockCabinet(6)};
         }},
        // Commands for an amp the head lacks.
        {"selectSlotOfAbsentAmp", Single, fir(0x00, 1, 5)},
        {"nameOfAbsentAmp", Single, fir(0x05, 0, 'X')},
        {"gainOfAbsentAmp", Single, fir(0x06, 0x7F, 0x7F)},
        {"dumpOfAbsentAmp", Single, dumpRequest(5)},
        // Every flash write is answered, a refused one as failed.
        {"flashWriteIntoOtherAmpsSlot", Single, fir(0x07, 0, 5), FlashWrite, fir(0x47, 0, 1)},
        {"flashWriteOfAbsentAmp", Single, fir(0x07, 1, 5), FlashWrite, fir(0x47, 1, 1)},
        {"flashWriteOfAmpTwo", Dual, fir(0x07, 2, 0), FlashWrite, fir(0x47, 2, 1)},
        // Every packet is answered; one that is damaged or does not fit is refused and changes nothing.
        {"packetWithBadChecksum", Dual, edited(packet(0, 0, 448), [](Bytes& p) { p[p.size() - 2] ^= 1; }),
         CoefficientPacket, fir(0x42, 0, 1)},
        {"packetWhoseSizeFieldDisagrees", Dual,
         edited(packet(9, 0, 130), [](Bytes& p) { p.insert(p.end() - 2, 2, 0); }), CoefficientPacket,
         fir(0x42, 0, 1)},
        {"emptyPacket", Dual, packet(0, 0, 0), CoefficientPacket, fir(0x42, 0, 1)},
        {"shortPacket", Dual, packet(3, 0, 441), CoefficientPacket, fir(0x42, 0, 1)},
        {"fullLastPacket", Dual, packet(9, 0, 448), CoefficientPacket, fir(0x42, 0, 1)},
        {"packetTen", Dual, packet(10, 0, 130), CoefficientPacket, fir(0x42, 0, 1)},
        {"packetForAmpTwo", Dual, packet(0, 2, 448), CoefficientPacket, fir(0x42, 2, 1)},
        {"packetForAbsentAmp", Single, packet(0, 1, 448), CoefficientPacket, fir(0x42, 1, 1)},
        // What is none of its messages is ignored.
        {"empty", Dual, {}},
        {"leadInOnly", Dual, {0xF0, 0x43, 0x7D}},
        {"noEnd", Dual, edited(gain, [](Bytes& m) { m.pop_back(); })},
        {"otherManufacturer", Dual, edited(gain, [](Bytes& m) { m[1] = 0x44; })},
        {"statusByteInside", Dual, edited(gain, [](Bytes& m) { m[8] = 0x90; })},
        {"otherParameterTag", Dual, edited(gain, [](Bytes& m) { m[5] = 0x33; })},
        {"shortParameterChange", Dual, edited(gain, [](Bytes& m) { m.erase(m.begin() + 9); })},
        {"longParameterChange", Dual, edited(gain, [](Bytes& m) { m.insert(m.end() - 1, 0); })},
        {"unknownGroup", Dual, parameterChange(0x05, 0x04, 0x28, 0x3D)},
        {"unknownSystemParameter", Dual, parameterChange(0x70, 0x02, 0, 0)},
        {"unknownFirParameter", Dual, fir(0x09, 0, 0)},
        {"effectByteWithDataOneSet", Dual, parameterChange(0x00, 0x01, 1, 2)},
        {"selectOtherAmpsSlot", Dual, fir(0x00, 0, 5)},
        {"selectOtherAmpsSlotII", Dual, fir(0x00, 1, 4)},
        {"nameTerminator", Dual, fir(0x03, 63, 'X')},
        {"ownHeartBeatReply", Dual, framed({0x60, 0x58, 0x48, 0x44, 0x32, 0xF7})},
        {"shortDumpRequest", Dual, edited(dumpRequest(10), [](Bytes& m) { m.resize(m.size() - 2); })},
        {"dumpRequestOtherTag", Dual, edited(dumpRequest(10), [](Bytes& m) { m[7] = 0x33; })},
        {"dumpOfFHL5", Dual, edited(dumpRequest(0), [](Bytes& m) { std::memcpy(&m[8], "FHL5", 4); })},
        {"bulkHeaderAlone", Dual, framed({0x00, 0x00, 0x0C, 0xF7})},
        {"bulkOfOtherBlock", Dual,
         framed({0x00, 0x00, 0x0C, 0x58, 0x48, 0x44, 0x32, 'U', 'T', 'I', 'L', 0, 0, 0, 0, 0, 0xF7})},
    };
    const AmpState dual = usedHead(Dual), single = usedHead(Single);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AmpModel model(c.model == Dual ? dual : single);
        AmpState expected = model.state();
        if (c.change)
            c.change(expected);
        const Exchange exchange = model.handleMessage(c.message);
        EXPECT_EQ(exchange.request, c.request);
        EXPECT_EQ(exchange.reply, c.reply);
        EXPECT_TRUE(sameState(model.state(), expected));
    }
}

TEST(AmpModel, setsOnlyTheEffectBytesTheEditorMaySetOfAmpsItHas) {
    const std::set<int> settableOfDual = {1, 2, 3, 4, 5, 6, 9, 10, 11, 12},
                        settableOfSingle = {1, 2, 3, 4, 5, 6};
    for (const HeadModel headModel : {Dual, Single}) {
        const AmpState fresh = AmpState::factory(headModel, 110);
        for (uint8_t index = 0; index < 0x50; ++index) {
            SCOPED_TRACE(int(index));
            AmpModel model(fresh);
            AmpState expected = fresh;
            const bool settable = (headModel == Dual ? settableOfDual : settableOfSingle).contains(index);
            if (settable)
                expected.effectBlock[index] = 3;
            const Exchange exchange = model.handleMessage(parameterChange(0x00, index, 0, 3));
            EXPECT_EQ(exchange.request, settable ? EffectParameter : Ignored);
            EXPECT_FALSE(exchange.reply.has_value());
            EXPECT_TRUE(sameState(model.state(), expected));
        }
    }
}

TEST(AmpModel, switchedModelAnswersAsFactoryFreshOtherHead) {
    AmpModel model(usedHead(Single));
    model.switchModel(Dual);
    EXPECT_EQ(model.handleMessage(kHeartBeatRequest).reply->at(7), 0x32);
    EXPECT_TRUE(sameState(model.state(), AmpState::factory(Dual, 300)));
}

}  // namespace
}  // namespace velk::sim
