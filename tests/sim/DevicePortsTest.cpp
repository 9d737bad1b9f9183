// A head's ports on each MIDI service, as the computer meets them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/FakeDevicePorts.h"
#include "sim/ServiceDevicePorts.h"
#include "sim/TracingDevicePorts.h"
#include "sim/VirtualDevicePorts.h"

namespace velk::sim {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(VirtualDevicePorts, showTheHeadUnderItsModelsNameWhilePlugged) {
    midi::VirtualMidiHub hub;
    AmpSimulator head(std::make_unique<VirtualDevicePorts>(hub), {HeadModel::Dual, 110, {}});
    ASSERT_EQ(head.plug(), 0);
    const auto service = hub.openService();
    ASSERT_EQ(service->sources().size(), 1u);
    EXPECT_EQ(service->sources()[0].name, "VelkSolvo/Dual");
    EXPECT_EQ(service->destinations().at(0).name, "VelkSolvo/Dual");

    head.unplug();
    EXPECT_TRUE(service->sources().empty());
    EXPECT_TRUE(service->destinations().empty());
    ASSERT_EQ(head.plug(), 0);
    EXPECT_EQ(service->sources().size(), 1u);
}

TEST(TracingDevicePorts, traceWhatTheHeadReceivesAndSendsAndPassItOn) {
    test::FakeDevicePorts::Computer computer;
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
    EXPECT_EQ(ports.send(Bytes{0xF0, 0x02, 0xF7}), 0);
    EXPECT_EQ(atHead, (std::vector<Bytes>{{0xF0, 0x01, 0xF7}}));
    EXPECT_EQ(computer.sent.messages(), (std::vector<Bytes>{{0xF0, 0x02, 0xF7}}));
    const std::string lines = trace.str();
    const size_t in = lines.find(" in  F0 01 F7\n");
    EXPECT_NE(in, std::string::npos) << lines;
    EXPECT_LT(in, lines.find(" out F0 02 F7\n")) << lines;

    ports.unplug();
    EXPECT_FALSE(computer.inject({0xF0, 0x01, 0xF7}));
}

TEST(ServiceDevicePorts, plugFailsWithTheServicesReasonWhenThereIsNoService) {
    // JACK clients of this process look for a server that does not run, for this test only.
    const char* const current = std::getenv("JACK_DEFAULT_SERVER");
    const std::optional<std::string> previous = current ? std::optional<std::string>(current) : std::nullopt;
    setenv("JACK_DEFAULT_SERVER", "velk-no-such-server", 1);

    ServiceDevicePorts ports(midi::ServiceChoice::Jack);
    EXPECT_EQ(ports.plug("VelkSolvo/Dual", [](std::span<const uint8_t>) {}), -ENODEV);
    EXPECT_THAT(ports.plugFailure(), testing::HasSubstr("JACK"));
    EXPECT_EQ(ports.serviceName(), "");
    EXPECT_EQ(ports.send(Bytes{0xF0, 0xF7}), -ENOTCONN);
    ports.unplug();

    previous ? setenv("JACK_DEFAULT_SERVER", previous->c_str(), 1) : unsetenv("JACK_DEFAULT_SERVER");
}

}  // namespace
}  // namespace velk::sim
