#include "midi/MessageRing.h"

#include "midi/MessageRecorder.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using midi::MessageRing;
using midi::test::Bytes;
using midi::test::numberedSysex;

Bytes readNext(MessageRing& ring, MessageRing::Header& header) {
    if (!ring.peek(header))
        return {};
    Bytes bytes(header.length);
    ring.read(header, bytes.data());
    return bytes;
}

TEST(MessageRing, givesBackWholeMessagesWithTheirHeadersInOrder) {
    MessageRing ring(1024);
    const Bytes first = numberedSysex(11, 1);
    const Bytes second = numberedSysex(100, 2);
    ASSERT_TRUE(ring.write({7, static_cast<uint32_t>(first.size()), 0}, first.data()));
    ASSERT_TRUE(ring.write({0, static_cast<uint32_t>(second.size()), -3}, second.data()));
    MessageRing::Header header;

    EXPECT_EQ(readNext(ring, header), first);
    EXPECT_EQ(header.sequence, 7u);
    EXPECT_EQ(readNext(ring, header), second);
    EXPECT_EQ(header.status, -3);
    EXPECT_FALSE(ring.peek(header));
}

TEST(MessageRing, refusesAMessageWithoutRoomAndKeepsWhatItHas) {
    MessageRing ring(256);
    const Bytes fits = numberedSysex(ring.maxLength(), 3);
    const Bytes tooMany = numberedSysex(11, 4);

    ASSERT_TRUE(ring.write({1, static_cast<uint32_t>(fits.size()), 0}, fits.data()));
    EXPECT_FALSE(ring.write({2, static_cast<uint32_t>(tooMany.size()), 0}, tooMany.data()));
    MessageRing::Header header;
    EXPECT_EQ(readNext(ring, header), fits);
    EXPECT_TRUE(ring.write({2, static_cast<uint32_t>(tooMany.size()), 0}, tooMany.data()));
}

TEST(MessageRing, skipDropsExactlyOneMessage) {
    MessageRing ring(1024);
    const Bytes dropped = numberedSysex(30, 5);
    const Bytes kept = numberedSysex(12, 6);
    ring.write({1, static_cast<uint32_t>(dropped.size()), 0}, dropped.data());
    ring.write({2, static_cast<uint32_t>(kept.size()), 0}, kept.data());
    MessageRing::Header header;

    ASSERT_TRUE(ring.peek(header));
    ring.skip(header);

    EXPECT_EQ(readNext(ring, header), kept);
}

TEST(MessageRing, carriesMessagesAcrossTheWrapBetweenTwoThreads) {
    MessageRing ring(2048);
    constexpr int kMessages = 5000;
    std::thread writer([&] {
        for (int i = 0; i < kMessages; ++i) {
            const Bytes message = numberedSysex(11 + (i * 37) % 500, static_cast<uint8_t>(i));
            while (!ring.write({static_cast<uint64_t>(i + 1), static_cast<uint32_t>(message.size()), 0},
                               message.data()))
                std::this_thread::yield();
        }
    });
    int received = 0;
    while (received < kMessages) {
        MessageRing::Header header;
        Bytes message = readNext(ring, header);
        if (message.empty()) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(header.sequence, static_cast<uint64_t>(received + 1));
        ASSERT_EQ(message, numberedSysex(11 + (received * 37) % 500, static_cast<uint8_t>(received)));
        ++received;
    }
    writer.join();
}

}  // namespace
