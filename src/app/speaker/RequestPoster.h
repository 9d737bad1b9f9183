#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Posts a panel's requests to the device manager from a thread of its own, in order. The manager
// holds its queue for a whole pass, which waits up to 5 s for each reply of a silent amplifier;
// posting from the GUI thread would freeze the window for that long.
class RequestPoster {
public:
    using Job = std::function<void()>;

    RequestPoster();
    ~RequestPoster();
    RequestPoster(const RequestPoster&) = delete;
    RequestPoster& operator=(const RequestPoster&) = delete;

    // Runs `job` after the jobs posted before it; nothing once stopped.
    void post(Job job);
    // Drops the jobs not yet run and waits for the one running.
    void stop();

private:
    void run();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};
