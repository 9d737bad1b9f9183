#include "JackTestServer.h"

#include <fcntl.h>
#include <jack/jack.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace midi::test {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kNames = 4;
constexpr auto kStartLimit = 10s;
constexpr auto kTableLimit = 60s;
constexpr auto kTableRetry = 300ms;
// With clients still connected jackd takes seconds to stop; killing it instead would leave its entry
// in JACK's table of servers.
constexpr auto kStopLimit = 20s;

// The file descriptor of /tmp/NAME.lock locked with flock, or -1 when another holds it. Our jackd
// inherits it, so the name stays taken for as long as either of us lives.
int lockName(const std::string& name) {
    const int file = open(("/tmp/" + name + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (file >= 0 && flock(file, LOCK_EX | LOCK_NB) != 0) {
        close(file);
        return -1;
    }
    return file;
}

// jackd and its clients leave semaphores (jack_sem.*_NAME_*) and sometimes shared memory behind.
// Called only while the name is locked, when no live server or client of ours uses them.
void removeLeftovers(const std::string& name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind("jack", 0) == 0 && file.find("_" + name + "_") != std::string::npos)
            std::filesystem::remove(entry.path(), error);
    }
}

// Runs `arguments` as our child, ended with us even when a test crashes or is killed, its standard
// output into `output` (else nowhere, like its errors) and `inherited` left open for it.
pid_t spawnTiedToUs(std::vector<std::string> arguments, int output, int inherited = -1) {
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(1);
    if (inherited >= 0)
        fcntl(inherited, F_SETFD, 0);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(output >= 0 ? output : devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
}

// Sends `signal` to our child `pid` and reaps it, killing it when it has not ended within `limit`.
void endChild(pid_t pid, int signal, std::chrono::milliseconds limit) {
    kill(pid, signal);
    const auto deadline = Clock::now() + limit;
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
}

}  // namespace

bool JackTestServer::jackdInstalled() {
    return std::system("command -v jackd >/dev/null 2>&1") == 0;
}

std::unique_ptr<JackTestServer> JackTestServer::start(std::string& whyNot, const std::string& tag) {
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    // jackd exits at once while JACK's table of servers is full (tests running side by side), and
    // also when its name's entry names a live process that reused a dead server's pid: then the
    // next name is tried, and after the last one all of them again.
    const auto deadline = Clock::now() + kTableLimit;
    do {
        for (int index = 0; index < kNames; ++index) {
            const std::string name = "velk-test-" + std::to_string(index) + tag;
            const int nameLock = lockName(name);
            if (nameLock < 0)
                continue;
            std::unique_ptr<JackTestServer> server(new JackTestServer(name, nameLock));
            if (server->run())
                return server;
            if (server->m_Pid != 0) {  // hung
                whyNot = "jackd did not accept clients within " + std::to_string(kStartLimit.count()) + " s";
                return nullptr;
            }
        }
        std::this_thread::sleep_for(kTableRetry);
    } while (Clock::now() < deadline);
    whyNot = "for " + std::to_string(kTableLimit.count()) + " s no name velk-test-0" + tag + "..3" + tag +
             " was free or jackd exited at start (is JACK's table of servers full?)";
    return nullptr;
}

JackTestServer* JackTestServer::shared(std::string& whyNot, const std::string& tag) {
    static std::string startFailure;
    static std::unique_ptr<JackTestServer> server = start(startFailure, tag);
    whyNot = startFailure;
    return server.get();
}

bool JackTestServer::run() {
    removeLeftovers(m_Name);  // of a run that crashed
    setenv("JACK_DEFAULT_SERVER", m_Name.c_str(), 1);
    // Synchronous (-S): in the default mode a client that misses a cycle may make JACK lose or repeat
    // a MIDI event, and the suites are not about that.
    m_Pid = spawnTiedToUs({"jackd", "-n", m_Name, "-S", "-d", "dummy", "-r", "48000", "-p", "64"}, -1,
                          m_NameLock);
    const auto deadline = Clock::now() + kStartLimit;
    while (Clock::now() < deadline) {
        if (m_Pid < 0 || waitpid(m_Pid, nullptr, WNOHANG) == m_Pid) {
            m_Pid = 0;
            return false;
        }
        if (jack_client_t* probe = jack_client_open("velk-probe", JackNoStartServer, nullptr)) {
            jack_client_close(probe);
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

JackTestServer::~JackTestServer() {
    stop();
    close(m_NameLock);
    m_PreviousServer ? setenv("JACK_DEFAULT_SERVER", m_PreviousServer->c_str(), 1)
                     : unsetenv("JACK_DEFAULT_SERVER");
}

void JackTestServer::stop() {
    if (m_Pid > 0) {
        endChild(m_Pid, SIGTERM, kStopLimit);
        m_Pid = 0;
    }
    removeLeftovers(m_Name);
}

std::unique_ptr<JackEchoPeer> JackEchoPeer::start(const std::string& clientName) {
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

void JackEchoPeer::stop(bool abruptly) {
    if (m_Pid <= 0)
        return;
    // Closing a client whose server has gone can hang inside JACK: then the peer is killed.
    endChild(m_Pid, abruptly ? SIGKILL : SIGTERM, std::chrono::seconds(5));
    m_Pid = 0;
}

}  // namespace midi::test
