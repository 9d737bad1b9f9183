#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

namespace midi::test {

// A JACK client standing in for an amplifier, in a process of its own (as a real peer is): every
// MIDI event reaching its port "in" leaves its port "out" in the same process cycle.
class JackEchoPeer {
public:
    // Starts the peer as client `clientName` on the current server; returns once its ports exist.
    static std::unique_ptr<JackEchoPeer> start(const std::string& clientName);
    ~JackEchoPeer();  // stop()

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
