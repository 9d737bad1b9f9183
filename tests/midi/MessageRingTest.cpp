#include "midi/MessageRing.h"

#include "midi/MessageRecorder.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using midi::MessageRing;
using midi::test::Bytes;
using midi::test::numberedSysex;

bool write(MessageRing& ring, uint64_t sequence, const Bytes& message, int32_t status = 0) {
    return ring.write({sequence, static_cast<uint32_t>(message.size()), status}, message.data());
}

// The next message with its header; nothing when there is none.
Bytes readNext(MessageRing& ring, MessageRing::Header& header) {
    if (!ring.peek(header))
        return {};
    Bytes bytes(header.length);
    ring.read(header, bytes.data());
    return bytes;
}

TEST(MessageRing, givesBackWholeMessagesWithTheirHeadersInOrderSkipsOneAndRefusesOneWithoutRoom) {
    MessageRing ring(1024);
    ASSERT_TRUE(write(ring, 7, numberedSysex(11, 1)));
    ASSERT_TRUE(write(ring, 0, numberedSysex(100, 2), -3));
    ASSERT_TRUE(write(ring, 2, numberedSysex(12, 6)));
    MessageRing::Header header;
    EXPECT_EQ(readNext(ring, header), numberedSysex(11, 1));
    EXPECT_EQ(header.sequence, 7u);
    ASSERT_TRUE(ring.peek(header));
    EXPECT_EQ(header.status, -3);
    ring.skip(header);
    EXPECT_EQ(readNext(ring, header), numberedSysex(12, 6));
    EXPECT_FALSE(ring.peek(header));

    const Bytes fits = numberedSysex(ring.maxLength(), 3);  // across the end of the ring
    ASSERT_TRUE(write(ring, 1, fits));
    EXPECT_FALSE(write(ring, 2, numberedSysex(11, 4)));
    EXPECT_EQ(readNext(ring, header), fits);
    EXPECT_TRUE(write(ring, 2, numberedSysex(11, 4)));
}

TEST(MessageRing, carriesMessagesAcrossTheWrapBetweenTwoThreads) {
    MessageRing ring(2048);
    constexpr int kMessages = 5000;
    auto message = [](int i) { return numberedSysex(11 + (i * 37) % 500, static_cast<uint8_t>(i)); };
    std::thread writer([&] {
        for (int i = 0; i < kMessages; ++i) {
            while (!write(ring, i + 1, message(i)))
                std::this_thread::yield();
        }
    });
    for (int received = 0; received < kMessages;) {
        MessageRing::Header header;
        const Bytes bytes = readNext(ring, header);
        if (bytes.empty()) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(header.sequence, static_cast<uint64_t>(received + 1));
        ASSERT_EQ(bytes, message(received));
        ++received;
    }
    writer.join();
}

}  // namespace
