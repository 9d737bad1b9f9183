#include "JackEchoPeer.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace midi::test {

namespace {
constexpr int kReadyLimitMs = 10000;
}

std::unique_ptr<JackEchoPeer> JackEchoPeer::start(const std::string& clientName) {
    int ready[2];
    if (pipe(ready) != 0)
        return nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    std::string program = VELK_JACK_ECHO_PEER;
    std::string name = clientName;
    std::vector<char*> argv{program.data(), name.data(), nullptr};
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    if (spawned != 0) {
        close(ready[0]);
        return nullptr;
    }
    std::unique_ptr<JackEchoPeer> peer(new JackEchoPeer(clientName, pid));
    // The peer writes one line once its ports are active, and nothing if it fails.
    pollfd readable{ready[0], POLLIN, 0};
    char line[8] = {};
    bool isReady = poll(&readable, 1, kReadyLimitMs) == 1 && read(ready[0], line, sizeof line) > 0;
    close(ready[0]);
    return isReady ? std::move(peer) : nullptr;
}

JackEchoPeer::~JackEchoPeer() {
    stop();
}

void JackEchoPeer::stop(bool abruptly) {
    if (m_Pid <= 0)
        return;
    kill(m_Pid, abruptly ? SIGKILL : SIGTERM);
    waitpid(m_Pid, nullptr, 0);
    m_Pid = 0;
}

}  // namespace midi::test
