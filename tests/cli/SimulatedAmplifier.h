#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "cli/CommandDispatcher.h"
#include "cli/Environment.h"
#include "midi/VirtualMidiHub.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualDevicePorts.h"

namespace velk::cli::test {

// A stop of `velkctl simulate` that the test gives.
class TestStop {
public:
    void request() {
        std::lock_guard lock(m_Mutex);
        m_Requested = true;
        m_Changed.notify_all();
    }
    void wait() {
        std::unique_lock lock(m_Mutex);
        m_Changed.wait(lock, [this] { return m_Requested; });
    }

private:
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    bool m_Requested = false;
};

// velkctl in the test's process, on the in-process MIDI hub, where a simulated head may be
// plugged in.
class VelkctlOnHub : public CliTest {
protected:
    Environment environment() {
        Environment environment;
        environment.openService = [this](midi::ServiceChoice) {
            return midi::ServiceSelection{hub.openService(), ""};
        };
        environment.makeDevicePorts = [this](midi::ServiceChoice) {
            return std::make_unique<sim::VirtualDevicePorts>(hub);
        };
        environment.makeStopRequest = [this] {
            struct Stop : StopRequest {
                explicit Stop(TestStop& stop) : stop(stop) {}
                void wait() override { stop.wait(); }
                TestStop& stop;
            };
            return std::make_unique<Stop>(stop);
        };
        environment.interactive = interactive;
        return environment;
    }

    void plugHead(sim::HeadModel model = sim::HeadModel::Dual, uint16_t mainVersion = 110,
                  const std::string& portName = {}) {
        head = std::make_unique<sim::AmpSimulator>(std::make_unique<sim::VirtualDevicePorts>(hub),
                                                   sim::AmpSimulator::Options{model, mainVersion, portName});
        ASSERT_EQ(head->plug(), 0);
    }

    // Runs one velkctl command line; its output is in `out` and `err`.
    int run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        return makeVelkctl(environment()).run(arguments, out, err);
    }

    midi::VirtualMidiHub hub;
    std::unique_ptr<sim::AmpSimulator> head;
    TestStop stop;
    bool interactive = false;
    std::ostringstream out, err;
};

}  // namespace velk::cli::test
