#pragma once

#include "JackTestServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>

namespace midi::test {

// A JACK client standing in for an amplifier, in a process of its own (as a real peer is): every
// MIDI event reaching its port "in" leaves its port "out" in the same process cycle.
class JackEchoPeer {
public:
    // Starts the peer as client `clientName` on the current server; returns once its ports exist.
    static std::unique_ptr<JackEchoPeer> start(const std::string& clientName) {
        int ready[2];
        if (pipe2(ready, O_CLOEXEC) != 0)
            return nullptr;
        const pid_t pid = spawnTiedToUs({VELK_JACK_ECHO_PEER, clientName}, ready[1]);
        close(ready[1]);
        std::unique_ptr<JackEchoPeer> peer(pid > 0 ? new JackEchoPeer(clientName, pid) : nullptr);
        // The peer writes one line once its ports are active, and nothing if it fails.
        pollfd readable{ready[0], POLLIN, 0};
        char line[8] = {};
        const bool isReady = peer && poll(&readable, 1, 10000) == 1 && read(ready[0], line, sizeof line) > 0;
        close(ready[0]);
        return isReady ? std::move(peer) : nullptr;
    }
    ~JackEchoPeer() { stop(); }

    std::string inputName() const { return m_ClientName + ":in"; }
    std::string outputName() const { return m_ClientName + ":out"; }

    // The client closes and its ports go; `abruptly` kills it instead, as when a device is pulled.
    void stop(bool abruptly = false) {
        if (m_Pid <= 0)
            return;
        // Closing a client whose server has gone can hang inside JACK: then the peer is killed.
        endChild(m_Pid, abruptly ? SIGKILL : SIGTERM, std::chrono::seconds(5));
        m_Pid = 0;
    }

private:
    JackEchoPeer(std::string clientName, pid_t pid) : m_ClientName(std::move(clientName)), m_Pid(pid) {}

    std::string m_ClientName;
    pid_t m_Pid;
};

}  // namespace midi::test
