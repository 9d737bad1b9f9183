#include "JackTestServer.h"

#include <fcntl.h>
#include <jack/jack.h>
#include <signal.h>
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

constexpr auto kStartLimit = 10s;
constexpr auto kTableLimit = 60s;
constexpr auto kTableRetry = 300ms;
// With clients still connected jackd takes seconds to stop; killing it instead would leave its entry
// in JACK's table of servers, which has room for only eight.
constexpr auto kStopLimit = 20s;

void quiet(const char*) {}

bool waitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// Runs jackd so that it is stopped with us even when a test crashes or is killed.
pid_t spawnTiedToUs(std::vector<char*>& argv) {
    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(1);
    int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
}

}  // namespace

bool JackTestServer::jackdInstalled() {
    const char* path = std::getenv("PATH");
    std::string directories = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= directories.size()) {
        size_t end = directories.find(':', start);
        std::string directory = directories.substr(start, end - start);
        if (!directory.empty() && access((directory + "/jackd").c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

std::unique_ptr<JackTestServer> JackTestServer::start(std::string& whyNot, const std::string& tag) {
    std::string name = "velk-test-" + std::to_string(getpid()) + tag;
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    std::vector<std::string> arguments{"jackd", "-n", name, "-d", "dummy", "-r", "48000", "-p", "64"};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // JACK keeps one table of running servers for the whole machine, with room for eight: while it
    // is full (tests running side by side), jackd exits at once, and we try again.
    const auto deadline = std::chrono::steady_clock::now() + kTableLimit;
    do {
        pid_t pid = spawnTiedToUs(argv);
        if (pid < 0) {
            whyNot = "cannot run jackd";
            return nullptr;
        }
        std::unique_ptr<JackTestServer> server(new JackTestServer(name, !tag.empty(), pid));
        if (server->waitUntilReady())
            return server;
        if (server->m_Pid > 0) {
            whyNot = "jackd did not accept clients within " + std::to_string(kStartLimit.count()) + " s";
            return nullptr;
        }
        std::this_thread::sleep_for(kTableRetry);
    } while (std::chrono::steady_clock::now() < deadline);
    whyNot = "jackd kept exiting at start for " + std::to_string(kTableLimit.count()) +
             " s (is JACK's table of servers full?)";
    return nullptr;
}

// False when jackd exits before it takes clients (m_Pid is then 0) or does not take them in time.
bool JackTestServer::waitUntilReady() {
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(m_Pid, nullptr, WNOHANG) == m_Pid) {
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
}

// Cleans up only after stopping: another server of the same name may run by now.
void JackTestServer::stop() {
    if (m_Pid <= 0)
        return;
    kill(m_Pid, SIGTERM);
    if (!waitForExit(m_Pid, kStopLimit)) {
        kill(m_Pid, SIGKILL);
        waitpid(m_Pid, nullptr, 0);
    }
    m_Pid = 0;
    removeLeftovers();
}

// jackd leaves its semaphores (jack_sem.*_NAME_*) and sometimes shared memory behind.
void JackTestServer::removeLeftovers() const {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind("jack", 0) == 0 && isOurs(file))
            std::filesystem::remove(entry.path(), error);
    }
}

// This server's files; the program's main server (stopped last) also takes what the clients of its
// other servers (NAME-tag) left behind after those stopped.
bool JackTestServer::isOurs(const std::string& file) const {
    return file.find("_" + m_Name + "_") != std::string::npos ||
           (!m_Tagged && file.find("_" + m_Name + "-") != std::string::npos);
}

}  // namespace midi::test
