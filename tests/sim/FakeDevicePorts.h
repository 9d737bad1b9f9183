#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "midi/MessageRecorder.h"
#include "sim/DevicePorts.h"

namespace velk::sim::test {

// Device ports with the computer played by the test: it injects bytes, which the handler takes on
// the injecting thread, and hears everything the device sends, plugged or not.
class FakeDevicePorts : public DevicePorts {
public:
    struct Computer {
        // Delivers bytes to the device; false when it is not plugged.
        bool inject(const std::vector<uint8_t>& bytes) {
            std::lock_guard lock(mutex);
            if (handler)
                handler(bytes);
            return static_cast<bool>(handler);
        }

        bool waitUntilUnplugged(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
            std::unique_lock lock(mutex);
            return unplugged.wait_for(lock, timeout, [&] { return !handler; });
        }

        std::mutex mutex;  // held while the handler runs, as a MIDI input holds its port
        std::condition_variable unplugged;
        ReceiveHandler handler;
        std::string name;
        midi::test::MessageRecorder sent;
    };

    explicit FakeDevicePorts(Computer& computer) : m_Computer(computer) {}

    int plug(const std::string& name, ReceiveHandler handler) override {
        std::lock_guard lock(m_Computer.mutex);
        m_Computer.name = name;
        m_Computer.handler = std::move(handler);
        return 0;
    }

    void unplug() override {
        std::lock_guard lock(m_Computer.mutex);
        m_Computer.handler = nullptr;
        m_Computer.unplugged.notify_all();
    }

    int send(std::span<const uint8_t> bytes) override {
        m_Computer.sent.record({bytes.begin(), bytes.end()});
        return 0;
    }

private:
    Computer& m_Computer;
};

}  // namespace velk::sim::test
