// Arbitrary bytes, cut after every F7 into messages, go straight into the device manager's receive
// entry on this thread: no hub thread, no wait. Each message ends where a heap buffer ends, so a
// read past its end is caught (the receive path reads forward only). The manager finds no amplifier and so
// sends nothing; it is put back in the state of a new one before every input (a new one per input would cost
// more than the input), so that each input is independent of the ones before it.
//
// Each message arrives while a reply is awaited: a dump while its own block is, any other message
// while one of the replies a request waits for is, in turn. Beyond memory safety, the effect of
// each message is checked against the amplifier's dump layout: a dump of a known block sets that
// block's response ID and is stored exactly when its length is the block's and its checksum holds; a main
// version reply stores its version; the model is only ever one of the two heads.

#include "common/VelkTestSupport.h"

#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "midi/VirtualMidiHub.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <span>

namespace {

using Message = std::span<const uint8_t>;

constexpr int kEffectBlock = 10;
constexpr size_t kEffectDumpSize = 36;
constexpr size_t kFIRHeaderDumpSize = 86;
constexpr size_t kBodyStart = 6;
constexpr size_t kDataStart = 18;

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool startsWith(Message message, size_t offset, std::initializer_list<uint8_t> bytes) {
    return message.size() >= offset + bytes.size() &&
           std::equal(bytes.begin(), bytes.end(), message.begin() + offset);
}

bool hasAmplifierLeadIn(Message message, uint8_t kind) {
    return startsWith(message, 0, {0xF0, 0x43, 0x7D}) && message.size() > 3 && (message[3] & 0xF0) == kind;
}

uint16_t join14(uint8_t high, uint8_t low) {
    return static_cast<uint16_t>((high & 0x7F) << 7 | (low & 0x7F));
}

// The block a bulk dump carries by its header alone (0 to 9 FIR headers, 10 effect data), or -1.
int dumpBlock(Message message) {
    if (message.size() < kDataStart || !hasAmplifierLeadIn(message, 0x00) ||
        !startsWith(message, kBodyStart, {0x58, 0x48, 0x44, 0x32}) || message[14] != 0 || message[15] != 0)
        return -1;
    if (startsWith(message, 10, {'U', 'T', 'I', 'L', 0, 0, 0x7F, 0x7F}))
        return startsWith(message, 4, {0x00, 0x1C}) ? kEffectBlock : -1;
    const uint8_t side = message[12];
    const uint8_t digit = message[13];
    if (!startsWith(message, 10, {'F', 'H'}) || (side != 'L' && side != 'R') || digit < '0' || digit > '4')
        return -1;
    return startsWith(message, 4, {0x00, 0x4E}) ? (side == 'R' ? 5 : 0) + (digit - '0') : -1;
}

// Of exactly the block's length, with body and checksum summing to 0 modulo 128.
bool dumpIsWhole(Message message, int block) {
    const size_t size = block == kEffectBlock ? kEffectDumpSize : kFIRHeaderDumpSize;
    if (message.size() != size)
        return false;
    unsigned sum = 0;
    for (size_t i = kBodyStart; i < size - 1; ++i)
        sum += message[i];
    return sum % 128 == 0;
}

void checkStoredDump(CVelkManager& manager, Message message, int block) {
    if (block == kEffectBlock) {
        require(manager.getAmpType(0) == message[kDataStart] &&
                manager.getAmpType(1) == message[kDataStart + 8]);
        return;
    }
    FIRCOE slot{};
    require(manager.getFirSlot(block, slot));
    require(std::memcmp(slot.name, message.data() + kDataStart, sizeof slot.name - 1) == 0 &&
            slot.name[sizeof slot.name - 1] == '\0');
    require(slot.gain == join14(message[82], message[83]));
}

void checkDump(CVelkManager& manager, Message message) {
    const int block = dumpBlock(message);
    const int32_t error = VelkManagerInspector::receiveError(manager);
    if (block < 0) {
        require(error == -1);
        return;
    }
    require(VelkManagerInspector::receivedID(manager) == block);
    const bool whole = dumpIsWhole(message, block);
    require(error == (whole ? 0 : 1));
    if (whole)
        checkStoredDump(manager, message, block);
}

void checkMainVersion(CVelkManager& manager, Message message) {
    if (message.size() >= 10 && hasAmplifierLeadIn(message, 0x10) &&
        startsWith(message, 4, {0x58, 0x32, 0x70, 0x61}))
        require(manager.getMainVer() == join14(message[8], message[9]));
}

// Flash write, initialisation, coefficient packet, main version, amp type change.
constexpr int32_t kAwaitedReplies[] = {21, 23, 24, 25, 12};

// `room` is as long as the whole input: one allocation per input rather than one per message.
void receive(CVelkManager& manager, std::span<uint8_t> room, Message message, size_t index) {
    const std::span<uint8_t> copy = room.last(message.size());
    std::copy(message.begin(), message.end(), copy.begin());
    VelkManagerInspector::clearReply(manager);
    const int block = dumpBlock(message);
    VelkManagerInspector::expectReply(
        manager, block >= 0 ? block : kAwaitedReplies[index % std::size(kAwaitedReplies)]);
    CVelkManager::procMIDIIn(&manager, copy.data(), static_cast<uint32_t>(copy.size()));
    checkDump(manager, message);
    checkMainVersion(manager, message);
    const unsigned char model = manager.getModel();
    require(model == 0 || model == 0x31 || model == 0x32);
}

// On a MIDI service with no devices: the manager opens no ports, so whatever it would send goes
// nowhere.
CVelkManager& managerWithoutAmplifier() {
    static midi::VirtualMidiHub hub;
    CMIDIManager::setServiceProvider([] { return hub.openService(); });
    return *CVelkManager::instance();
}

void forgetEverything(CVelkManager& manager) {
    manager.disconnected();
    manager.initInfo();
    manager.initEffectData();
    manager.initFIRCOE();
    VelkManagerInspector::clearReply(manager);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CVelkManager& manager = managerWithoutAmplifier();
    forgetEverything(manager);
    const Message input(data, size);
    const auto room = std::make_unique_for_overwrite<uint8_t[]>(size);
    size_t start = 0;
    size_t index = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xF7) {
            receive(manager, {room.get(), size}, input.subspan(start, i + 1 - start), index++);
            start = i + 1;
        }
    }
    if (start < size)
        receive(manager, {room.get(), size}, input.subspan(start), index);
    return 0;
}
