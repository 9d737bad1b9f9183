#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "common/VelkManager.h"

// Posts a window's requests to the device manager from a thread of its own, in order. The manager
// holds its queue for a whole pass, which waits up to 5 s for each reply of a silent amplifier;
// posting from the GUI thread would freeze the window for that long.
class RequestPoster {
public:
    // Runs on the poster's thread just before its request is posted: what the request sends is
    // staged in the same order as the requests.
    using Stage = std::function<void(CVelkManager&)>;

    RequestPoster();
    ~RequestPoster();
    RequestPoster(const RequestPoster&) = delete;
    RequestPoster& operator=(const RequestPoster&) = delete;

    // Posts the request after those posted before it; nothing once stopped.
    void post(eVelkRequestEvent kind, int32_t arg1, int32_t arg2, Stage stage = {});
    // Drops the jobs not yet run and waits for the one running.
    void stop();

private:
    using Job = std::function<void()>;

    void run();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};
