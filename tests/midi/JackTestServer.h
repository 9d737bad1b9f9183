#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace midi::test {

// Runs `arguments` as our child, ended with us even when a test crashes or is killed, its standard
// output into `output` (else nowhere, like its errors) and `inherited` left open for it.
pid_t spawnTiedToUs(std::vector<std::string> arguments, int output, int inherited = -1);
// Sends `signal` to our child `pid` and reaps it, killing it when it has not ended within `limit`.
void endChild(pid_t pid, int signal, std::chrono::milliseconds limit);

// A private JACK server with the dummy driver. Starting it points JACK_DEFAULT_SERVER at it, so that
// every JACK client of this process finds it and no other.
class JackTestServer {
public:
    static bool jackdInstalled();

    // Starts `jackd -n NAME -S -d dummy -r 48000 -p 64` and returns once it accepts clients; null with
    // `whyNot` set when it does not. NAME is the first of "velk-test-0TAG".."velk-test-3TAG" that no
    // live server holds: JACK's machine-wide table of servers keeps the entry of a server that was
    // killed until a server of the same name starts, so a few fixed names keep the table from filling.
    static std::unique_ptr<JackTestServer> start(std::string& whyNot, const std::string& tag = "");
    // The test program's server, started by the first call and stopped at exit.
    static JackTestServer* shared(std::string& whyNot, const std::string& tag = "");
    ~JackTestServer();  // stop(), and the name is free again

    const std::string& name() const { return m_Name; }

    // TERM, wait, and remove what the server leaves in /dev/shm. Close clients first.
    void stop();

private:
    JackTestServer(std::string name, int nameLock) : m_Name(std::move(name)), m_NameLock(nameLock) {}
    // jackd, until it accepts clients; false with m_Pid 0 when it exited, else hung.
    bool run();

    std::string m_Name;
    int m_NameLock;  // a file locked for as long as we or our jackd use the name
    pid_t m_Pid = 0;
};

}  // namespace midi::test

// Skips the calling test where jackd is not installed; fails it where the program's server does not start.
#define VELK_REQUIRE_JACK_SERVER(tag)                                                            \
    do {                                                                                         \
        if (!midi::test::JackTestServer::jackdInstalled())                                       \
            GTEST_SKIP() << "jackd is not installed (Debian package jackd2): no JACK tests";     \
        std::string whyNoServer;                                                                 \
        ASSERT_NE(midi::test::JackTestServer::shared(whyNoServer, tag), nullptr) << whyNoServer; \
    } while (false)
