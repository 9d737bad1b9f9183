#include "sim/ServiceDevicePorts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

namespace velk::sim {
namespace {

// Points JACK clients of this process at a server that does not run, for one test.
class NoJackServer {
public:
    NoJackServer() {
        if (const char* current = std::getenv("JACK_DEFAULT_SERVER"))
            m_Previous = current;
        setenv("JACK_DEFAULT_SERVER", "velk-no-such-server", 1);
    }
    ~NoJackServer() {
        m_Previous ? setenv("JACK_DEFAULT_SERVER", m_Previous->c_str(), 1) : unsetenv("JACK_DEFAULT_SERVER");
    }

private:
    std::optional<std::string> m_Previous;
};

TEST(ServiceDevicePorts, plugFailsWithTheServicesReasonWhenThereIsNoService) {
    NoJackServer noServer;
    ServiceDevicePorts ports(midi::ServiceChoice::Jack);
    EXPECT_EQ(ports.plug("VelkSolvo/Dual", [](std::span<const uint8_t>) {}), -ENODEV);
    EXPECT_THAT(ports.plugFailure(), testing::HasSubstr("JACK"));
    EXPECT_EQ(ports.serviceName(), "");
    const uint8_t message[] = {0xF0, 0xF7};
    EXPECT_EQ(ports.send(message), -ENOTCONN);
    ports.unplug();
}

}  // namespace
}  // namespace velk::sim
