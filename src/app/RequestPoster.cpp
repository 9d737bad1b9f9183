#include "app/RequestPoster.h"

#include "common/MIDIManager.h"

RequestPoster::RequestPoster() : m_thread([this] { run(); }) {}

RequestPoster::~RequestPoster() {
    stop();
}

void RequestPoster::post(eVelkRequestEvent kind, int32_t arg1, int32_t arg2, Stage stage) {
    Job job = [kind, arg1, arg2, stage = std::move(stage)] {
        // Once the managers are gone (the application quits), asking for one would make a new one.
        if (!CMIDIManager::instance())
            return;
        CVelkManager& manager = *CVelkManager::instance();
        if (stage)
            stage(manager);
        manager.sendRequest(kind, arg1, arg2);
    };
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
