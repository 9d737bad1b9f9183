// Arbitrary bytes from the computer, cut into messages as the head's MIDI input does, through
// both heads' protocol handling: no crash, no out-of-bounds access, and every answer is a
// clean System Exclusive message.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sim/AmpModel.h"
#include "sim/SysexAssembler.h"

namespace {

void checkReply(const velk::sim::Bytes& reply) {
    if (reply.size() < 9 || reply.front() != 0xF0 || reply.back() != 0xF7)
        std::abort();
    for (size_t i = 1; i + 1 < reply.size(); ++i)
        if (reply[i] & 0x80)
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk::sim;
    static const AmpState kSingle = AmpState::factory(HeadModel::Single, 110);
    static const AmpState kDual = AmpState::factory(HeadModel::Dual, 110);
    AmpModel single{kSingle};
    AmpModel dual{kDual};
    SysexAssembler assembler;
    assembler.feed(std::span(data, size), [&](std::span<const uint8_t> message) {
        for (AmpModel* model : {&single, &dual}) {
            const Exchange exchange = model->handleMessage(message);
            if (exchange.reply)
                checkReply(*exchange.reply);
        }
    });
    return 0;
}
