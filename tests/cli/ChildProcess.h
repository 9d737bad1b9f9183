#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velk::cli::test {

// A program the test runs as a process of its own (as a user would), with its stdout and stderr
// collected. It is killed when the test process ends, even by a crash.
class ChildProcess {
public:
    // Null when the program cannot be started.
    static std::unique_ptr<ChildProcess> start(const std::vector<std::string>& arguments);
    ~ChildProcess();  // kills it if it still runs

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Its exit status, or nothing when it has not ended within `limit` (it keeps running).
    std::optional<int> wait(std::chrono::milliseconds limit);
    // Whether `text` appeared on its stderr within `limit`.
    bool waitForError(const std::string& text, std::chrono::milliseconds limit);
    void signal(int number) const;

    const std::string& out() const { return m_Out; }
    const std::string& err() const { return m_Err; }

private:
    ChildProcess(pid_t pid, int outFd, int errFd) : m_Pid(pid), m_OutFd(outFd), m_ErrFd(errFd) {}
    // Reads what is there, waiting at most until `deadline`; false once both pipes are closed.
    bool collect(std::chrono::steady_clock::time_point deadline);

    pid_t m_Pid;
    int m_OutFd;
    int m_ErrFd;
    std::optional<int> m_ExitStatus;
    std::string m_Out;
    std::string m_Err;
};

// One run of a program to its end.
struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not end in time (it was killed)
    std::string out;
    std::string err;
};

ProgramRun runProgram(const std::vector<std::string>& arguments, std::chrono::milliseconds limit);

}  // namespace velk::cli::test
