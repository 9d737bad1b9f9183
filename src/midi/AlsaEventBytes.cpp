#include "midi/AlsaEventBytes.h"

#include <utility>

namespace midi::alsa {

namespace {

uint8_t data7(int value) {
    return static_cast<uint8_t>(value & 0x7F);
}
uint8_t channelStatus(uint8_t status, int channel) {
    return static_cast<uint8_t>(status | (channel & 0x0F));
}

void appendControlChange(int channel, int controller, int value, std::vector<uint8_t>& bytes) {
    bytes.insert(bytes.end(), {channelStatus(0xB0, channel), data7(controller), data7(value)});
}

// A parameter number and a 14-bit value as the four controller messages that carry them.
void appendParameter(int channel, uint8_t numberMsb, uint8_t numberLsb, const snd_seq_ev_ctrl_t& control,
                     std::vector<uint8_t>& bytes) {
    appendControlChange(channel, numberMsb, control.param >> 7, bytes);
    appendControlChange(channel, numberLsb, control.param, bytes);
    appendControlChange(channel, 0x06, control.value >> 7, bytes);
    appendControlChange(channel, 0x26, control.value, bytes);
}

void appendControl14(const snd_seq_ev_ctrl_t& control, std::vector<uint8_t>& bytes) {
    if (control.param < 0x20) {
        appendControlChange(control.channel, control.param, control.value >> 7, bytes);
        appendControlChange(control.channel, control.param + 0x20, control.value, bytes);
    } else {
        appendControlChange(control.channel, control.param, control.value, bytes);
    }
}

// Single-byte messages and the events that carry them.
constexpr std::pair<snd_seq_event_type_t, uint8_t> kSingleByteMessages[] = {
    {SND_SEQ_EVENT_TUNE_REQUEST, 0xF6}, {SND_SEQ_EVENT_CLOCK, 0xF8},    {SND_SEQ_EVENT_TICK, 0xF9},
    {SND_SEQ_EVENT_START, 0xFA},        {SND_SEQ_EVENT_CONTINUE, 0xFB}, {SND_SEQ_EVENT_STOP, 0xFC},
    {SND_SEQ_EVENT_SENSING, 0xFE},      {SND_SEQ_EVENT_RESET, 0xFF},
};

uint8_t realTimeStatus(snd_seq_event_type_t type) {
    for (const auto& [eventType, status] : kSingleByteMessages) {
        if (eventType == type)
            return status;
    }
    return 0;
}

snd_seq_event_type_t realTimeType(uint8_t status) {
    for (const auto& [eventType, eventStatus] : kSingleByteMessages) {
        if (eventStatus == status)
            return eventType;
    }
    return SND_SEQ_EVENT_NONE;
}

// The length of the short message that starts with `status`; 0 for SysEx and undefined statuses.
uint32_t shortMessageLength(uint8_t status) {
    if (status >= 0x80 && status < 0xF0)
        return (status & 0xE0) == 0xC0 ? 2 : 3;
    switch (status) {
        case 0xF1:
        case 0xF3:
            return 2;
        case 0xF2:
            return 3;
        default:
            return realTimeType(status) == SND_SEQ_EVENT_NONE ? 0 : 1;
    }
}

}  // namespace

void appendEventBytes(const snd_seq_event_t& event, std::vector<uint8_t>& bytes) {
    const snd_seq_ev_note_t& note = event.data.note;
    const snd_seq_ev_ctrl_t& control = event.data.control;
    switch (event.type) {
        case SND_SEQ_EVENT_NOTEON:
            bytes.insert(bytes.end(),
                         {channelStatus(0x90, note.channel), data7(note.note), data7(note.velocity)});
            return;
        case SND_SEQ_EVENT_NOTEOFF:
            bytes.insert(bytes.end(),
                         {channelStatus(0x80, note.channel), data7(note.note), data7(note.velocity)});
            return;
        case SND_SEQ_EVENT_KEYPRESS:
            bytes.insert(bytes.end(),
                         {channelStatus(0xA0, note.channel), data7(note.note), data7(note.velocity)});
            return;
        case SND_SEQ_EVENT_CONTROLLER:
            appendControlChange(control.channel, control.param, control.value, bytes);
            return;
        case SND_SEQ_EVENT_PGMCHANGE:
            bytes.insert(bytes.end(), {channelStatus(0xC0, control.channel), data7(control.value)});
            return;
        case SND_SEQ_EVENT_CHANPRESS:
            bytes.insert(bytes.end(), {channelStatus(0xD0, control.channel), data7(control.value)});
            return;
        case SND_SEQ_EVENT_PITCHBEND: {
            int value = control.value + 0x2000;
            bytes.insert(bytes.end(),
                         {channelStatus(0xE0, control.channel), data7(value), data7(value >> 7)});
            return;
        }
        case SND_SEQ_EVENT_CONTROL14:
            appendControl14(control, bytes);
            return;
        case SND_SEQ_EVENT_NONREGPARAM:
            appendParameter(control.channel, 0x63, 0x62, control, bytes);
            return;
        case SND_SEQ_EVENT_REGPARAM:
            appendParameter(control.channel, 0x65, 0x64, control, bytes);
            return;
        case SND_SEQ_EVENT_QFRAME:
            bytes.insert(bytes.end(), {0xF1, data7(control.value)});
            return;
        case SND_SEQ_EVENT_SONGPOS:
            bytes.insert(bytes.end(), {0xF2, data7(control.value), data7(control.value >> 7)});
            return;
        case SND_SEQ_EVENT_SONGSEL:
            bytes.insert(bytes.end(), {0xF3, data7(control.value)});
            return;
        case SND_SEQ_EVENT_SYSEX: {
            const auto* data = static_cast<const uint8_t*>(event.data.ext.ptr);
            if (data)
                bytes.insert(bytes.end(), data, data + event.data.ext.len);
            return;
        }
        default:
            if (uint8_t status = realTimeStatus(event.type))
                bytes.push_back(status);
            return;
    }
}

bool shortMessageEvent(const uint8_t* bytes, uint32_t length, snd_seq_event_t& event) {
    if (!bytes || length == 0 || shortMessageLength(bytes[0]) != length)
        return false;
    for (uint32_t i = 1; i < length; ++i) {
        if (bytes[i] >= 0x80)
            return false;
    }
    const uint8_t status = bytes[0];
    const int channel = status & 0x0F;
    const int data1 = length > 1 ? bytes[1] : 0;
    const int data2 = length > 2 ? bytes[2] : 0;
    snd_seq_ev_clear(&event);
    switch (status & 0xF0) {
        case 0x80:
            snd_seq_ev_set_noteoff(&event, channel, data1, data2);
            return true;
        case 0x90:
            snd_seq_ev_set_noteon(&event, channel, data1, data2);
            return true;
        case 0xA0:
            snd_seq_ev_set_keypress(&event, channel, data1, data2);
            return true;
        case 0xB0:
            snd_seq_ev_set_controller(&event, channel, data1, data2);
            return true;
        case 0xC0:
            snd_seq_ev_set_pgmchange(&event, channel, data1);
            return true;
        case 0xD0:
            snd_seq_ev_set_chanpress(&event, channel, data1);
            return true;
        case 0xE0:
            snd_seq_ev_set_pitchbend(&event, channel, (data1 | (data2 << 7)) - 0x2000);
            return true;
        default:
            break;
    }
    snd_seq_ev_set_fixed(&event);
    switch (status) {
        case 0xF1:
            event.type = SND_SEQ_EVENT_QFRAME;
            break;
        case 0xF2:
            event.type = SND_SEQ_EVENT_SONGPOS;
            break;
        case 0xF3:
            event.type = SND_SEQ_EVENT_SONGSEL;
            break;
        default:
            event.type = realTimeType(status);
            return true;
    }
    event.data.control.value = data1 | (data2 << 7);
    return true;
}

}  // namespace midi::alsa
