#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <vector>

// Conversions between ALSA sequencer events and MIDI bytes. They touch no device, so tests reach
// them on machines without a sequencer.
namespace midi::alsa {

// Appends the MIDI bytes an incoming event stands for: a SysEx event's bytes as they came (a long
// message arrives as several chunks), any other MIDI event as its status and data bytes. Events
// that carry no MIDI (announcements, queue control) append nothing.
void appendEventBytes(const snd_seq_event_t& event, std::vector<uint8_t>& bytes);

// Sets `event`'s type and data for one complete short message (a channel message, or a system
// common or real-time message other than SysEx); false when `bytes` are not exactly one.
bool shortMessageEvent(const uint8_t* bytes, uint32_t length, snd_seq_event_t& event);

}  // namespace midi::alsa
