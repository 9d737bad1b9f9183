#include "sim/FakeDevicePorts.h"

#include <cerrno>

namespace velk::sim::test {

bool FakeDevicePorts::Shared::inject(const std::vector<uint8_t>& bytes) {
    std::lock_guard lock(handlerMutex);
    if (!handler)
        return false;
    handler(bytes);
    return true;
}

bool FakeDevicePorts::Shared::isPlugged() {
    std::lock_guard lock(handlerMutex);
    return static_cast<bool>(handler);
}

bool FakeDevicePorts::Shared::waitForSent(size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(sentMutex);
    return sentChanged.wait_for(lock, timeout, [&] { return sent.size() >= count; });
}

std::vector<std::vector<uint8_t>> FakeDevicePorts::Shared::sentMessages() {
    std::lock_guard lock(sentMutex);
    return sent;
}

int FakeDevicePorts::plug(const std::string& name, ReceiveHandler handler) {
    std::lock_guard lock(m_Shared.handlerMutex);
    m_Shared.name = name;
    m_Shared.handler = std::move(handler);
    ++m_Shared.plugCount;
    std::lock_guard sentLock(m_Shared.sentMutex);
    m_Shared.plugged = true;
    return 0;
}

void FakeDevicePorts::unplug() {
    std::lock_guard lock(m_Shared.handlerMutex);
    m_Shared.handler = nullptr;
    std::lock_guard sentLock(m_Shared.sentMutex);
    m_Shared.plugged = false;
}

int FakeDevicePorts::send(std::span<const uint8_t> bytes) {
    std::lock_guard lock(m_Shared.sentMutex);
    if (!m_Shared.plugged)
        return -ENOTCONN;
    m_Shared.sent.emplace_back(bytes.begin(), bytes.end());
    m_Shared.sentAt.push_back(std::chrono::steady_clock::now());
    m_Shared.sentChanged.notify_all();
    return 0;
}

}  // namespace velk::sim::test
