// A head's ports on a MIDI service that does not run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "sim/ServiceDevicePorts.h"

namespace velk::sim {
namespace {

TEST(ServiceDevicePorts, plugFailsWithTheServicesReasonWhenThereIsNoService) {
    // JACK clients of this process look for a server that does not run, for this test only.
    const char* const current = std::getenv("JACK_DEFAULT_SERVER");
    const std::optional<std::string> previous = current ? std::optional<std::string>(current) : std::nullopt;
    setenv("JACK_DEFAULT_SERVER", "velk-no-such-server", 1);

    ServiceDevicePorts ports(midi::ServiceChoice::Jack);
    EXPECT_EQ(ports.plug("VelkSolvo/Dual", [](std::span<const uint8_t>) {}), -ENODEV);
    EXPECT_THAT(ports.plugFailure(), testing::HasSubstr("JACK"));
    EXPECT_EQ(ports.serviceName(), "");
    EXPECT_EQ(ports.send(std::vector<uint8_t>{0xF0, 0xF7}), -ENOTCONN);
    ports.unplug();

    previous ? setenv("JACK_DEFAULT_SERVER", previous->c_str(), 1) : unsetenv("JACK_DEFAULT_SERVER");
}

}  // namespace
}  // namespace velk::sim
