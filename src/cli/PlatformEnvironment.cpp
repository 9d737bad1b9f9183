#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

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

    bool waitFor(std::chrono::milliseconds timeout) override {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
        const timespec limit{static_cast<time_t>(seconds.count()),
                             static_cast<long>(std::chrono::nanoseconds(timeout - seconds).count())};
        int signal = 0;
        do {
            signal = sigtimedwait(&m_Signals, nullptr, &limit);
        } while (signal < 0 && errno == EINTR);
        return signal > 0;
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
