// velk-soak: randomized scenarios of requests and faults played against the simulated head
// through the real device manager and transport.
//
//     velk-soak --scenarios N [--seed S] [--trace]
//
// Scenario i plays seed S + i (S is 1 unless given), so `--seed S --scenarios 1` replays one.
// Each failing scenario prints its seed and what broke; the last line is "N passed, M failed",
// and the exit status is 1 when any failed. --trace writes every step and event to stderr.

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "SoakScenario.h"

namespace {

// Real time a scenario may take before it counts as hung: its waits are on a clock that only
// moves while the manager waits, so only a deadlock comes near this.
constexpr auto kScenarioRealTimeLimit = std::chrono::minutes(3);

struct Options {
    uint64_t scenarios = 0;
    uint64_t firstSeed = 1;
    bool trace = false;
};

bool parseCount(const char* text, uint64_t& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

bool parseOptions(int argc, char** argv, Options& options) {
    bool haveCount = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--trace")
            options.trace = true;
        else if (i + 1 == argc)
            return false;
        else if (name == "--scenarios")
            haveCount = parseCount(argv[++i], options.scenarios);
        else if (name != "--seed" || !parseCount(argv[++i], options.firstSeed))
            return false;
    }
    return haveCount;
}

// What a crash or a hang prints: written before each scenario, so that a signal handler or a
// sanitizer's last words need no formatting.
char gCrashLine[96];
std::atomic<uint64_t> gPassed{0};
std::atomic<uint64_t> gFailed{0};

void printCrashLine() {
    const ssize_t ignored = write(STDOUT_FILENO, gCrashLine, strnlen(gCrashLine, sizeof gCrashLine));
    (void)ignored;
}

extern "C" void onFatalSignal(int signal) {
    printCrashLine();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

// The sanitizers call this before they end the process.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

void reportCrashes() {
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(signal, onFatalSignal);
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(printCrashLine);
}

// Ends the process when a scenario outlives the real-time limit: a deadlock cannot be unwound.
class Watchdog {
public:
    Watchdog() : m_Thread([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_Mutex);
            m_Stop = true;
        }
        m_Changed.notify_all();
        m_Thread.join();
    }
    void scenarioStarts() {
        std::lock_guard lock(m_Mutex);
        m_Deadline = std::chrono::steady_clock::now() + kScenarioRealTimeLimit;
        m_Changed.notify_all();
    }

private:
    void watch() {
        std::unique_lock lock(m_Mutex);
        while (!m_Stop) {
            if (m_Changed.wait_until(lock, m_Deadline, [this] { return m_Stop; }))
                return;
            if (std::chrono::steady_clock::now() < m_Deadline)
                continue;
            std::printf("%s", gCrashLine);
            std::printf("%llu passed, %llu failed\n", static_cast<unsigned long long>(gPassed.load()),
                        static_cast<unsigned long long>(gFailed.load() + 1));
            std::fflush(stdout);
            std::_Exit(1);
        }
    }

    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::chrono::steady_clock::time_point m_Deadline = std::chrono::steady_clock::time_point::max();
    bool m_Stop = false;
    std::thread m_Thread;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: velk-soak --scenarios N [--seed S] [--trace]\n");
        return 2;
    }
    reportCrashes();
    Watchdog watchdog;
    for (uint64_t n = 0; n < options.scenarios; ++n) {
        const uint64_t seed = options.firstSeed + n;
        std::snprintf(gCrashLine, sizeof gCrashLine, "seed %llu: crashed or hung\n",
                      static_cast<unsigned long long>(seed));
        watchdog.scenarioStarts();
        const std::vector<std::string> failures = velk::soak::runScenario(seed, options.trace);
        for (const std::string& failure : failures)
            std::printf("seed %llu: %s\n", static_cast<unsigned long long>(seed), failure.c_str());
        std::fflush(stdout);
        ++(failures.empty() ? gPassed : gFailed);
    }
    std::printf("%llu passed, %llu failed\n", static_cast<unsigned long long>(gPassed.load()),
                static_cast<unsigned long long>(gFailed.load()));
    return gFailed > 0 ? 1 : 0;
}
