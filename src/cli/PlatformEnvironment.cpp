#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include "cli/Environment.h"
#include "sim/ServiceDevicePorts.h"

namespace velk::cli {

namespace {

// SIGINT and SIGTERM, taken by a wait instead of ending the process, so the simulator stops
// cleanly and prints its state.
class SignalStop : public StopRequest {
public:
    SignalStop() {
        sigemptyset(&m_Signals);
        sigaddset(&m_Signals, SIGINT);
        sigaddset(&m_Signals, SIGTERM);
    }

    // Threads started afterwards inherit the mask, so no other thread takes the signals.
    void prepare() override { pthread_sigmask(SIG_BLOCK, &m_Signals, nullptr); }

    void wait() override {
        int signal = 0;
        while (sigwait(&m_Signals, &signal) != 0) {
        }
    }

private:
    sigset_t m_Signals;
};

}  // namespace

Environment platformEnvironment() {
    Environment environment;
    environment.openService = midi::selectService;
    environment.makeDevicePorts = [](midi::ServiceChoice choice) {
        return std::make_unique<sim::ServiceDevicePorts>(choice);
    };
    environment.makeStopRequest = [] { return std::make_unique<SignalStop>(); };
    environment.interactive = isatty(STDERR_FILENO) != 0;
    return environment;
}

}  // namespace velk::cli
