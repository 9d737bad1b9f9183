// The port manager's System Exclusive assembly, on this thread: arbitrary bytes, cut into packets
// of arbitrary sizes (empty ones too), with the partly received message discarded between some of
// them, under a length limit small enough to be outgrown. What comes out must be exactly the
// messages found by scanning the whole stream at once: each F0, then data bytes only, then F7,
// no longer than the limit. A discard counts as a stray status byte at that point of the stream.
//
// Input: byte 0 chooses the limit, byte 1 seeds the packet cuts and discards, the rest is the stream.

#include "common/SysexInputAssembler.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Message = std::span<const uint8_t>;

constexpr uint8_t kStart = 0xF0;
constexpr uint8_t kEnd = 0xF7;
constexpr uint8_t kStrayStatus = 0xF8;

std::vector<Message> scanForMessages(const Bytes& stream, size_t limit) {
    std::vector<Message> messages;
    size_t i = 0;
    while (i < stream.size()) {
        if (stream[i] != kStart) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < stream.size() && stream[end] < 0x80)
            ++end;
        if (end < stream.size() && stream[end] == kEnd && end - i <= limit)
            messages.push_back(Message(stream).subspan(i, end + 1 - i));
        i = end;
    }
    return messages;
}

// Cuts `stream` into packets of 0 to 47 bytes and decides before which of them the message in
// progress is discarded: visit(discard, packet) for each. A small deterministic generator seeded
// by `seed`, so that one input always makes the same cuts.
template <typename Visit>
void cutIntoPackets(uint8_t seed, Message stream, Visit&& visit) {
    uint32_t state = seed * 2654435761u + 1;
    size_t offset = 0;
    while (offset < stream.size()) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const size_t packetSize = std::min<size_t>(state / 8 % 48, stream.size() - offset);
        visit(state % 8 == 0, stream.subspan(offset, packetSize));
        offset += packetSize;
    }
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t limit = 1 + data[0] * 4u;  // up to 1021, beyond the protocol's 532
    const Message stream(data + 2, size - 2);

    Bytes seenStream;
    seenStream.reserve(stream.size() * 2);
    cutIntoPackets(data[1], stream, [&](bool discard, Message packet) {
        if (discard)
            seenStream.push_back(kStrayStatus);
        seenStream.insert(seenStream.end(), packet.begin(), packet.end());
    });
    const std::vector<Message> expected = scanForMessages(seenStream, limit);

    CSysexInputAssembler assembler(limit);
    size_t delivered = 0;
    cutIntoPackets(data[1], stream, [&](bool discard, Message packet) {
        if (discard)
            assembler.clear();
        require(assembler.feed(packet, [&](Message message) {
            require(delivered < expected.size() && std::ranges::equal(message, expected[delivered]));
            ++delivered;
            return true;
        }));
    });
    require(delivered == expected.size());
    return 0;
}
