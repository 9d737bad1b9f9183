// The port manager's System Exclusive assembly, on this thread: arbitrary bytes, cut into packets
// of arbitrary sizes (empty ones too), with the partly received message discarded between some of
// them, under a length limit small enough to be outgrown. What comes out must be exactly the
// messages found by scanning the whole stream at once: each F0, then data bytes only, then F7,
// no longer than the limit. A discard counts as a stray status byte at that point of the stream.
//
// Input: byte 0 chooses the limit, byte 1 seeds the packet cuts and discards, the rest is the stream.

#include "common/SysexInputAssembler.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Messages = std::vector<Bytes>;

constexpr uint8_t kStart = 0xF0;
constexpr uint8_t kEnd = 0xF7;
constexpr uint8_t kStrayStatus = 0xF8;

Messages scanForMessages(const Bytes& stream, size_t limit) {
    Messages messages;
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
            messages.emplace_back(stream.begin() + i, stream.begin() + end + 1);
        i = end;
    }
    return messages;
}

// A small deterministic generator, so that one input always makes the same cuts.
class CCuts {
public:
    explicit CCuts(uint8_t seed) : m_State(seed * 2654435761u + 1) {}
    uint32_t next() {
        m_State ^= m_State << 13;
        m_State ^= m_State >> 17;
        m_State ^= m_State << 5;
        return m_State;
    }

private:
    uint32_t m_State;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t limit = 1 + data[0] * 4u;  // up to 1021, beyond the protocol's 532
    CCuts cuts(data[1]);
    const std::span<const uint8_t> stream(data + 2, size - 2);

    CSysexInputAssembler assembler(limit);
    Messages delivered;
    Bytes seenStream;
    size_t offset = 0;
    while (offset < stream.size()) {
        const uint32_t cut = cuts.next();
        if (cut % 8 == 0) {
            assembler.clear();
            seenStream.push_back(kStrayStatus);
        }
        const size_t packetSize = std::min<size_t>(cut / 8 % 48, stream.size() - offset);
        const std::span<const uint8_t> packet = stream.subspan(offset, packetSize);
        const bool whole = assembler.feed(packet, [&](std::span<const uint8_t> message) {
            delivered.emplace_back(message.begin(), message.end());
            return true;
        });
        if (!whole)
            std::abort();
        seenStream.insert(seenStream.end(), packet.begin(), packet.end());
        offset += packetSize;
    }
    if (delivered != scanForMessages(seenStream, limit))
        std::abort();
    return 0;
}
