#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace midi {

// A thread of our own that runs posted tasks one after another, in the order they were posted.
// Backends use one per receiving side, so input is never delivered on the caller's thread.
class SerialWorker {
public:
    SerialWorker();
    ~SerialWorker();  // stop()

    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Ignored once stop() has been called.
    void post(std::function<void()> task);

    // Drops the tasks not yet started and ends the thread. From another thread it returns once the
    // running task (if any) has finished; from inside a task it returns at once and the thread ends
    // when that task returns.
    void stop();

    bool onWorkerThread() const;

private:
    struct State;
    static void run(const std::shared_ptr<State>& state);

    // Shared with the thread, so that a worker stopped from inside its own task can be destroyed
    // while that task is still unwinding.
    std::shared_ptr<State> m_State;
    std::thread m_Thread;
    std::thread::id m_ThreadId;  // kept apart from m_Thread, which join and detach change
};

}  // namespace midi
