#include "midi/MessageRing.h"

#include "midi/MessageRecorder.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using midi::MessageRing;
using midi::test::Bytes;
using midi::test::numberedSysex;

// The writer keeps the ring full, so that messages and headers wrap at every offset and a write finds
// no room again and again; now and then a message takes the whole ring, and every third one is skipped.
TEST(MessageRing, carriesMessagesAcrossTheWrapBetweenTwoThreads) {
    MessageRing ring(2048);
    constexpr int kMessages = 5000;
    auto message = [&](int i) {
        return numberedSysex(i % 100 == 0 ? ring.maxLength() : 11 + (i * 37) % 500, static_cast<uint8_t>(i));
    };
    std::thread writer([&] {
        for (int i = 0; i < kMessages; ++i) {
            const Bytes bytes = message(i);
            while (!ring.write({static_cast<uint64_t>(i + 1), static_cast<uint32_t>(bytes.size()), -i},
                               bytes.data()))
                std::this_thread::yield();
        }
    });
    for (int received = 0; received < kMessages;) {
        MessageRing::Header header;
        if (!ring.peek(header)) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(header.sequence, static_cast<uint64_t>(received + 1));
        ASSERT_EQ(header.status, -received);
        if (received % 3 == 0) {  // as a cancelled send is
            ring.skip(header);
        } else {
            Bytes bytes(header.length);
            ring.read(header, bytes.data());
            ASSERT_EQ(bytes, message(received));
        }
        ++received;
    }
    writer.join();
}

}  // namespace
