// What the MIDI monitor and `velkctl --trace` say about the messages of one conversation, read in
// the order they passed.
#include "strings/SysexText.h"

#include <gtest/gtest.h>

#include "common/SysexCodec.h"
#include "sim/EditorMessages.h"

namespace {

namespace sysex = velk::sysex;
using Bytes = std::vector<uint8_t>;

using velk::sim::test::coefficientPacket;
using velk::sim::test::parameterChange;

const uint8_t kPayload[] = {0x01, 0x02, 0x03};

Bytes effectDump() {
    Bytes body = {0x58, 0x48, 0x44, 0x32, 'U', 'T', 'I', 'L', 0, 0, 0x7F, 0x7F};
    body.resize(sysex::kEffectDumpBodySize);
    return sysex::bulkDump(body.data(), body.size());
}

Bytes damaged(Bytes message) {
    message[message.size() - 2] ^= 0x01;  // the checksum
    return message;
}

// Each message with what is said of it.
using Conversation = std::vector<std::pair<Bytes, const char*>>;

const Conversation kConversations[] = {
    {
        {velk::sim::test::kHeartBeatRequest, "heartbeat"},
        {{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x32, 0xF7}, "heartbeat reply, dual-amp head"},
        {{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x33, 0xF7}, "heartbeat reply, unknown model 33"},
        {parameterChange(0x70, 0x21, 0, 0), "firmware version request"},
        {parameterChange(0x70, 0x61, 0, 110), "firmware version 110"},
        {velk::sim::test::dumpRequest(sysex::kDumpEffectData), "dump request UTIL"},
        {effectDump(), "dump UTIL"},
        {damaged(effectDump()), "dump UTIL, damaged (size or checksum wrong)"},
    },
    {
        {parameterChange(0x00, 0x09, 0, 2), "Amp II booster type 2"},
        {parameterChange(0x00, 0x05, 0, 1), "FX loop send connection 1"},
        {parameterChange(0x00, 0x48, 0, 3), "Amp II amp type turned to 3"},
        {parameterChange(0x04, 0x03, 5, 'Q'), "Amp I IR name, character 5 is Q"},
        {parameterChange(0x04, 0x06, 0x7F, 0x7F), "Amp II IR gain 16383"},
    },
    {
        {coefficientPacket(2, 1, kPayload, 3), "coefficient packet 3 of 10 for Amp II"},
        {parameterChange(0x04, 0x42, 1, 0), "coefficient packet 3 of 10, accepted"},
        {damaged(coefficientPacket(3, 1, kPayload, 3)),
         "coefficient packet 4 of 10 for Amp II, damaged (size or checksum wrong)"},
        {parameterChange(0x04, 0x42, 1, 1), "coefficient packet 4 of 10, rejected"},
        {parameterChange(0x04, 0x07, 1, 7), "flash write, Amp II into slot 7"},
        {parameterChange(0x04, 0x47, 1, 0), "flash write done"},
        {parameterChange(0x04, 0x47, 1, 1), "flash write failed"},
        {parameterChange(0x04, 0x08, 0, 0), "reset of all stored IRs"},
        {parameterChange(0x04, 0x48, 0, 0), "stored IRs reset"},
    },
    {
        {{0xF0, 0x43, 0x7D, 0x10, 0x58}, ""},  // the first part of a message cut by a delivery
        {{0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}, "not a message of the amplifier"},
        {parameterChange(0x70, 0x33, 0, 0), "not a message of the amplifier"},
    }};

TEST(SysexNarration, saysWhatEachMessageMeans) {
    for (const Conversation& conversation : kConversations) {
        velk::strings::SysexNarrator narrator;
        for (const auto& [message, words] : conversation)
            EXPECT_EQ(narrator.describe(message), words);
    }
}

}  // namespace
