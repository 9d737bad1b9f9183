#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the messages between the editor and the amplifier mean, in words a person reads: the one
// reading behind the MIDI monitor and `velkctl --trace`.
namespace velk::sysex {

// The meaning of one message: a string-table key ("Sysex_HeartBeat") and the values its text
// takes, in order. An empty key: the bytes are not one whole System Exclusive message (part of
// one, as a trace may see it), and there is nothing to say.
struct Meaning {
    std::string key;
    std::vector<std::string> args;

    bool operator==(const Meaning&) const = default;
};

// Reads the messages of one conversation in the order they passed, both ways: a coefficient
// packet's reply does not name the packet, so the interpreter remembers the last one sent.
class CSysexInterpreter {
public:
    Meaning interpret(std::span<const uint8_t> message);

private:
    Meaning interpretParameterChange(std::span<const uint8_t> message);
    Meaning interpretBulkDump(std::span<const uint8_t> message);
    Meaning interpretFirParameter(uint8_t parameter, uint8_t data1, uint8_t data2);

    int m_LastPacket = -1;
};

}  // namespace velk::sysex
