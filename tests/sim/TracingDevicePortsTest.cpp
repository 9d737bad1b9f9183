#include "sim/TracingDevicePorts.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/FakeDevicePorts.h"

namespace velk::sim {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(TracingDevicePorts, tracesWhatTheHeadReceivesAndSendsAndPassesItOn) {
    test::FakeDevicePorts::Shared computer;
    std::ostringstream trace;
    TracingDevicePorts ports(std::make_unique<test::FakeDevicePorts>(computer),
                             std::make_shared<midi::TraceLog>(trace));
    std::vector<Bytes> atHead;
    ASSERT_EQ(
        ports.plug("VelkSolvo/Single",
                   [&](std::span<const uint8_t> bytes) { atHead.emplace_back(bytes.begin(), bytes.end()); }),
        0);
    EXPECT_EQ(computer.name, "VelkSolvo/Single");

    ASSERT_TRUE(computer.inject({0xF0, 0x01, 0xF7}));
    const Bytes reply = {0xF0, 0x02, 0xF7};
    EXPECT_EQ(ports.send(reply), 0);

    EXPECT_EQ(atHead, (std::vector<Bytes>{Bytes{0xF0, 0x01, 0xF7}}));
    EXPECT_EQ(computer.sentMessages(), (std::vector<Bytes>{reply}));
    const std::string lines = trace.str();
    const size_t in = lines.find(" in  F0 01 F7\n");
    const size_t out = lines.find(" out F0 02 F7\n");
    EXPECT_NE(in, std::string::npos) << lines;
    EXPECT_NE(out, std::string::npos) << lines;
    EXPECT_LT(in, out);

    ports.unplug();
    EXPECT_FALSE(computer.isPlugged());
}

}  // namespace
}  // namespace velk::sim
