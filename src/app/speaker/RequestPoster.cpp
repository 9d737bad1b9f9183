#include "app/speaker/RequestPoster.h"

RequestPoster::RequestPoster() : m_thread([this] { run(); }) {}

RequestPoster::~RequestPoster() {
    stop();
}

void RequestPoster::post(Job job) {
    {
        std::lock_guard guard(m_lock);
        if (m_stopping)
            return;
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void RequestPoster::stop() {
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void RequestPoster::run() {
    std::unique_lock guard(m_lock);
    for (;;) {
        m_wake.wait(guard, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_stopping)
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        guard.unlock();
        job();
        guard.lock();
    }
}
