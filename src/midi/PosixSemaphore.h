#pragma once

#include <semaphore.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <system_error>

namespace midi {

// A counting semaphore that a real-time thread may post (sem_post is async-signal-safe, a condition
// variable's notify is not). Waits that fail for any reason but a signal throw std::system_error:
// a thread that can no longer wait cannot do its work.
class PosixSemaphore {
public:
    PosixSemaphore() : m_Valid(sem_init(&m_Semaphore, 0, 0) == 0) {}
    ~PosixSemaphore() {
        if (m_Valid)
            sem_destroy(&m_Semaphore);
    }
    PosixSemaphore(const PosixSemaphore&) = delete;
    PosixSemaphore& operator=(const PosixSemaphore&) = delete;

    // False when the system had none to give; nothing else may be called then.
    bool valid() const { return m_Valid; }

    void post() { sem_post(&m_Semaphore); }
    bool tryWait() { return sem_trywait(&m_Semaphore) == 0; }
    void wait() {
        while (sem_wait(&m_Semaphore) < 0)
            throwUnlessInterrupted("sem_wait");
    }
    // At most `limit` on the monotonic clock, which a change of the wall clock cannot stretch or cut.
    void waitFor(std::chrono::nanoseconds limit) {
        timespec deadline{};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        const auto total = std::chrono::nanoseconds(deadline.tv_nsec) + limit;
        deadline.tv_sec +=
            static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(total).count());
        deadline.tv_nsec = static_cast<long>((total % std::chrono::seconds(1)).count());
        while (sem_clockwait(&m_Semaphore, CLOCK_MONOTONIC, &deadline) < 0) {
            if (errno == ETIMEDOUT)
                return;
            throwUnlessInterrupted("sem_clockwait");
        }
    }

private:
    static void throwUnlessInterrupted(const char* call) {
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), call);
    }

    sem_t m_Semaphore;
    const bool m_Valid;
};

}  // namespace midi
