#include "midi/SerialWorker.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>

namespace midi {

struct SerialWorker::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    bool stopping = false;
};

SerialWorker::SerialWorker() : m_State(std::make_shared<State>()) {
    m_Thread = std::thread([state = m_State] { run(state); });
    m_ThreadId = m_Thread.get_id();
}

SerialWorker::~SerialWorker() {
    stop();
}

void SerialWorker::post(std::function<void()> task) {
    // Notified under the lock: once the task is queued it may destroy this worker.
    std::lock_guard lock(m_State->mutex);
    if (m_State->stopping)
        return;
    m_State->tasks.push_back(std::move(task));
    m_State->wake.notify_one();
}

void SerialWorker::stop() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(m_State->mutex);
        m_State->stopping = true;
        dropped.swap(m_State->tasks);
    }
    m_State->wake.notify_one();
    dropped.clear();  // outside the lock: a task's captures may own anything
    if (!m_Thread.joinable())
        return;
    if (onWorkerThread())
        m_Thread.detach();
    else
        m_Thread.join();
}

bool SerialWorker::onWorkerThread() const {
    return std::this_thread::get_id() == m_ThreadId;
}

void SerialWorker::run(const std::shared_ptr<State>& state) {
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stopping || !state->tasks.empty(); });
        if (state->stopping)
            return;
        std::function<void()> task = std::move(state->tasks.front());
        state->tasks.pop_front();
        lock.unlock();
        try {
            task();
        } catch (...) {
            std::fprintf(stderr, "%s\n", "[CATCH] Exception! - midi::SerialWorker::run()");
        }
        task = nullptr;
        lock.lock();
    }
}

}  // namespace midi
