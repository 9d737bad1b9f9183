#include "cli/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace velk::cli::test {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::start(const std::vector<std::string>& arguments) {
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return nullptr;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return nullptr;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(126);
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return nullptr;
    }
    return std::unique_ptr<ChildProcess>(new ChildProcess(pid, outPipe[0], errPipe[0]));
}

ChildProcess::~ChildProcess() {
    if (!m_ExitStatus) {
        kill(m_Pid, SIGKILL);
        waitpid(m_Pid, nullptr, 0);
    }
    if (m_OutFd >= 0)
        close(m_OutFd);
    if (m_ErrFd >= 0)
        close(m_ErrFd);
}

std::optional<int> ChildProcess::wait(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!m_ExitStatus && collect(deadline)) {
    }
    while (!m_ExitStatus) {
        int status = 0;
        const pid_t ended = waitpid(m_Pid, &status, WNOHANG);
        if (ended == m_Pid)
            m_ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        else if (Clock::now() >= deadline)
            break;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return m_ExitStatus;
}

bool ChildProcess::waitForError(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (m_Err.find(text) == std::string::npos) {
        if (!collect(deadline) || Clock::now() >= deadline)
            return m_Err.find(text) != std::string::npos;
    }
    return true;
}

void ChildProcess::signal(int number) const {
    kill(m_Pid, number);
}

bool ChildProcess::collect(Clock::time_point deadline) {
    int* fds[2] = {&m_OutFd, &m_ErrFd};
    std::string* sinks[2] = {&m_Out, &m_Err};
    // A pipe at its end is closed and left out (poll skips negative descriptors).
    pollfd pipes[2] = {{m_OutFd, POLLIN, 0}, {m_ErrFd, POLLIN, 0}};
    if (m_OutFd < 0 && m_ErrFd < 0)
        return false;
    const int ready = poll(pipes, 2, millisecondsUntil(deadline));
    if (ready < 0)
        return errno == EINTR;
    for (int i = 0; i < 2; ++i) {
        if (pipes[i].fd < 0 || pipes[i].revents == 0)
            continue;
        char buffer[4096];
        const ssize_t count = read(pipes[i].fd, buffer, sizeof buffer);
        if (count > 0) {
            sinks[i]->append(buffer, static_cast<size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            close(*fds[i]);
            *fds[i] = -1;
        }
    }
    return ready > 0 || Clock::now() < deadline;
}

ProgramRun runProgram(const std::vector<std::string>& arguments, std::chrono::milliseconds limit) {
    std::unique_ptr<ChildProcess> process = ChildProcess::start(arguments);
    if (!process)
        return {};
    const std::optional<int> status = process->wait(limit);
    return {status.value_or(-1), process->out(), process->err()};
}

}  // namespace velk::cli::test
