#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

namespace midi::test {

// A private JACK server with the dummy driver, for one test program. Starting it points
// JACK_DEFAULT_SERVER at it, so that every JACK client of this process finds it and no other.
class JackTestServer {
public:
    static bool jackdInstalled();

    // Starts `jackd -n NAME -d dummy -r 48000 -p 64` (NAME unique to this process and `tag`) and
    // returns once it accepts clients; null with `whyNot` set when it does not.
    static std::unique_ptr<JackTestServer> start(std::string& whyNot, const std::string& tag = "");
    ~JackTestServer();  // stop()

    const std::string& name() const { return m_Name; }

    // TERM, wait, and remove what the server leaves in /dev/shm. Close clients first.
    void stop();

private:
    JackTestServer(std::string name, bool tagged, pid_t pid)
        : m_Name(std::move(name)), m_Tagged(tagged), m_Pid(pid) {}
    bool waitUntilReady();
    void removeLeftovers() const;
    bool isOurs(const std::string& file) const;

    std::string m_Name;
    bool m_Tagged;
    pid_t m_Pid;
};

}  // namespace midi::test
