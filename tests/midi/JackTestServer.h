#pragma once

#include <sys/types.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace midi::test {

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
    // stop(), the name is free again and JACK clients look for the server they looked for before.
    ~JackTestServer();

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
    // The server named before ours, restored when ours goes.
    std::optional<std::string> m_PreviousServer = previousServer();
    static std::optional<std::string> previousServer() {
        const char* name = std::getenv("JACK_DEFAULT_SERVER");
        return name ? std::optional<std::string>(name) : std::nullopt;
    }
};

// A JACK client standing in for an amplifier, in a process of its own (as a real peer is): every
// MIDI event reaching its port "in" leaves its port "out" in the same process cycle.
class JackEchoPeer {
public:
    // Starts the peer as client `clientName` on the current server; returns once its ports exist.
    static std::unique_ptr<JackEchoPeer> start(const std::string& clientName);
    ~JackEchoPeer() { stop(); }

    std::string inputName() const { return m_ClientName + ":in"; }
    std::string outputName() const { return m_ClientName + ":out"; }

    // The client closes and its ports go; `abruptly` kills it instead, as when a device is pulled.
    void stop(bool abruptly = false);

private:
    JackEchoPeer(std::string clientName, pid_t pid) : m_ClientName(std::move(clientName)), m_Pid(pid) {}

    std::string m_ClientName;
    pid_t m_Pid;
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
