#include "midi/AlsaEventBytes.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const snd_seq_event_t& event) {
    Bytes bytes;
    midi::alsa::appendEventBytes(event, bytes);
    return bytes;
}

bool toEvent(const Bytes& bytes, snd_seq_event_t& event) {
    return midi::alsa::shortMessageEvent(bytes.data(), static_cast<uint32_t>(bytes.size()), event);
}

TEST(AlsaShortMessageEvent, becomesItsEventAndTheEventGivesBackTheSameBytesOrIsRefused) {
    const std::pair<Bytes, std::optional<snd_seq_event_type_t>> messages[] = {
        {{0x93, 0x40, 0x7F}, SND_SEQ_EVENT_NOTEON},
        {{0x90, 0x40, 0x00}, SND_SEQ_EVENT_NOTEON},
        {{0x8F, 0x3C, 0x10}, SND_SEQ_EVENT_NOTEOFF},
        {{0xA1, 0x3C, 0x22}, SND_SEQ_EVENT_KEYPRESS},
        {{0xB5, 0x07, 0x64}, SND_SEQ_EVENT_CONTROLLER},
        {{0xC2, 0x05}, SND_SEQ_EVENT_PGMCHANGE},
        {{0xDA, 0x33}, SND_SEQ_EVENT_CHANPRESS},
        {{0xE0, 0x00, 0x00}, SND_SEQ_EVENT_PITCHBEND},
        {{0xE3, 0x7F, 0x7F}, SND_SEQ_EVENT_PITCHBEND},
        {{0xE3, 0x01, 0x40}, SND_SEQ_EVENT_PITCHBEND},
        {{0xF1, 0x35}, SND_SEQ_EVENT_QFRAME},
        {{0xF2, 0x01, 0x02}, SND_SEQ_EVENT_SONGPOS},
        {{0xF3, 0x09}, SND_SEQ_EVENT_SONGSEL},
        {{0xF6}, SND_SEQ_EVENT_TUNE_REQUEST},
        {{0xF8}, SND_SEQ_EVENT_CLOCK},
        {{0xFA}, SND_SEQ_EVENT_START},
        {{0xFB}, SND_SEQ_EVENT_CONTINUE},
        {{0xFC}, SND_SEQ_EVENT_STOP},
        {{0xFE}, SND_SEQ_EVENT_SENSING},
        {{0xFF}, SND_SEQ_EVENT_RESET},
        // Refused: SysEx (it goes as a SysEx event), no status, too short or long, a status where data
        // belongs, undefined.
        {{}, std::nullopt},
        {{0xF0, 0x01, 0xF7}, std::nullopt},
        {{0xF7}, std::nullopt},
        {{0x40, 0x01}, std::nullopt},
        {{0x90, 0x40}, std::nullopt},
        {{0x90, 0x40, 0x7F, 0x00}, std::nullopt},
        {{0xC0, 0x05, 0x00}, std::nullopt},
        {{0x90, 0x80, 0x10}, std::nullopt},
        {{0xF4}, std::nullopt},
        {{0xF5}, std::nullopt},
        {{0xFD}, std::nullopt},
    };
    for (const auto& [bytes, type] : messages) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        snd_seq_event_t event;
        const bool taken = toEvent(bytes, event);
        EXPECT_EQ(taken, type.has_value());
        if (taken && type) {
            EXPECT_EQ(event.type, *type);
            EXPECT_EQ(bytesOf(event), bytes);
        }
    }
}

TEST(AlsaShortMessageEvent, carriesChannelAndValuesAsTheSequencerExpects) {
    snd_seq_event_t event;
    ASSERT_TRUE(toEvent({0x93, 0x40, 0x7F}, event));
    EXPECT_EQ(event.data.note.channel, 3);
    EXPECT_EQ(event.data.note.note, 0x40);
    EXPECT_EQ(event.data.note.velocity, 0x7F);
    EXPECT_EQ(event.flags & SND_SEQ_EVENT_LENGTH_MASK, SND_SEQ_EVENT_LENGTH_FIXED);
    ASSERT_TRUE(toEvent({0xE2, 0x00, 0x40}, event));
    EXPECT_EQ(event.data.control.channel, 2);
    EXPECT_EQ(event.data.control.value, 0);  // the centre
    ASSERT_TRUE(toEvent({0xF2, 0x01, 0x02}, event));
    EXPECT_EQ(event.data.control.value, 0x101);
}

TEST(AlsaEventBytes, sysexChunksComeThroughAsTheyArriveAndEventsWithoutMidiAddNothing) {
    Bytes bytes;
    for (Bytes chunk : {Bytes{0xF0, 0x43, 0x7D, 0x60}, Bytes{0x58, 0x48, 0x44, 0x31, 0xF7}}) {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_seq_ev_set_sysex(&event, static_cast<unsigned>(chunk.size()), chunk.data());
        midi::alsa::appendEventBytes(event, bytes);
    }
    EXPECT_EQ(bytes, (Bytes{0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, 0x31, 0xF7}));
    for (snd_seq_event_type_t type : {SND_SEQ_EVENT_PORT_START, SND_SEQ_EVENT_CLIENT_EXIT,
                                      SND_SEQ_EVENT_PORT_SUBSCRIBED, SND_SEQ_EVENT_ECHO}) {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        event.type = type;
        EXPECT_TRUE(bytesOf(event).empty()) << static_cast<int>(type);
    }
}

TEST(AlsaEventBytes, outOfRangeValuesNeverProduceAStatusByteInTheData) {
    snd_seq_event_t event;
    ASSERT_TRUE(toEvent({0xB0, 0x05, 0x00}, event));
    event.data.control.param = 0x85;
    event.data.control.value = 0x1FF;
    const Bytes bytes = bytesOf(event);
    ASSERT_EQ(bytes.size(), 3u);
    EXPECT_LT(bytes[1], 0x80);
    EXPECT_LT(bytes[2], 0x80);
}

}  // namespace
