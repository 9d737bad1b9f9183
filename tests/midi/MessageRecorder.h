#pragma once

#include "midi/MidiService.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace midi::test {

using Bytes = std::vector<uint8_t>;

// Collects what arrives on other threads (messages, events), so tests can wait for it and look at it.
template <typename T>
class Recorder {
public:
    void record(T item) {
        std::lock_guard lock(m_Mutex);
        m_Items.push_back(std::move(item));
        m_Threads.push_back(std::this_thread::get_id());
        m_Changed.notify_all();
    }

    // Until `done` holds for what has arrived, or `timeout`; returns whether it holds.
    template <typename Predicate>
    bool waitUntil(Predicate done, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        std::unique_lock lock(m_Mutex);
        return m_Changed.wait_for(lock, timeout, [&] { return done(m_Items); });
    }
    bool waitForCount(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        return waitUntil([&](const std::vector<T>& items) { return items.size() >= count; }, timeout);
    }

    std::vector<T> messages() const {
        std::lock_guard lock(m_Mutex);
        return m_Items;
    }
    size_t count() const {
        std::lock_guard lock(m_Mutex);
        return m_Items.size();
    }
    std::vector<std::thread::id> threads() const {
        std::lock_guard lock(m_Mutex);
        return m_Threads;
    }
    void clear() {
        std::lock_guard lock(m_Mutex);
        m_Items.clear();
        m_Threads.clear();
    }

private:
    mutable std::mutex m_Mutex;
    mutable std::condition_variable m_Changed;
    std::vector<T> m_Items;
    std::vector<std::thread::id> m_Threads;
};

using MessageRecorder = Recorder<Bytes>;

// A port manager input callback that records into the MessageRecorder given as its user data.
inline void recordMessage(void* recorder, const uint8_t* bytes, uint32_t length) {
    static_cast<MessageRecorder*>(recorder)->record(Bytes(bytes, bytes + length));
}

// One value handed from one thread to another: the first one set. (std::promise is not used in
// tests: ThreadSanitizer cannot see its synchronisation in the prebuilt standard library.)
template <typename T>
class Handoff {
public:
    void set(T value) { m_Values.record(std::move(value)); }
    // The value, or nothing after `timeout`.
    std::optional<T> wait(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        if (!m_Values.waitForCount(1, timeout))
            return std::nullopt;
        return m_Values.messages().front();
    }

private:
    Recorder<T> m_Values;
};

// A SysEx message of `length` bytes (at least 3) whose body counts up from `seed`, so that a lost,
// repeated, reordered or damaged byte shows.
inline Bytes numberedSysex(size_t length, uint8_t seed) {
    Bytes message(length);
    message.front() = 0xF0;
    for (size_t i = 1; i + 1 < length; ++i)
        message[i] = static_cast<uint8_t>((seed + i) & 0x7F);
    message.back() = 0xF7;
    return message;
}

// Sends like the port manager does: the status the send completed with, the refusal of a send the
// service did not take, or -1 when it never completed.
inline int sendSysexAndWait(MidiService& service, const Bytes& message) {
    Handoff<int> done;
    SysexRequest request;
    request.data = message.data();
    request.length = static_cast<uint32_t>(message.size());
    request.completionRefCon = &done;
    request.completion = [](SysexRequest* sent) {
        static_cast<Handoff<int>*>(sent->completionRefCon)->set(sent->status);
    };
    if (const int refused = service.sendSysex(request))
        return refused;
    return done.wait().value_or(-1);
}

// An input handler that records every packet of every delivery.
inline MidiService::InputHandler recorderFor(MessageRecorder& recorder) {
    return [&recorder](const PacketList& packets) {
        for (const Packet& packet : packets)
            recorder.record(packet.bytes);
    };
}

// The first endpoint whose name contains `text`.
inline std::optional<Endpoint> findEndpoint(const std::vector<Endpoint>& endpoints, const std::string& text) {
    const auto found = std::ranges::find_if(
        endpoints, [&](const Endpoint& e) { return e.name.find(text) != std::string::npos; });
    return found == endpoints.end() ? std::nullopt : std::optional(*found);
}

}  // namespace midi::test
