#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "sim/DevicePorts.h"

namespace velk::sim::test {

// Device ports with the computer played by the test: it injects bytes (the handler runs on the
// injecting thread) and reads what the device sent.
class FakeDevicePorts : public DevicePorts {
public:
    struct Shared {
        std::mutex handlerMutex;  // held while the handler runs
        ReceiveHandler handler;
        std::string name;
        int plugCount = 0;

        std::mutex sentMutex;
        std::condition_variable sentChanged;
        bool plugged = false;
        std::vector<std::vector<uint8_t>> sent;
        std::vector<std::chrono::steady_clock::time_point> sentAt;

        // Delivers bytes to the device; false when it is not plugged.
        bool inject(const std::vector<uint8_t>& bytes);
        bool isPlugged();
        bool waitForSent(size_t count, std::chrono::milliseconds timeout);
        std::vector<std::vector<uint8_t>> sentMessages();
    };

    explicit FakeDevicePorts(Shared& shared) : m_Shared(shared) {}

    int plug(const std::string& name, ReceiveHandler handler) override;
    void unplug() override;
    int send(std::span<const uint8_t> bytes) override;

private:
    Shared& m_Shared;
};

}  // namespace velk::sim::test
