#pragma once

#include "common/MIDIManager.h"
#include "midi/MessageRecorder.h"
#include "midi/ServiceSelection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace midi::test {

// Polls `done` until it holds or `timeout` passes, for what nothing signals; returns whether it holds.
template <typename Predicate>
bool eventually(Predicate done, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The port manager on a real MIDI service, talking to a peer of the test that echoes what it gets.
class PortManagerFixture : public testing::Test {
protected:
    void startManager(ServiceChoice choice) {
        CMIDIManager::setServiceChoice(choice);
        CMIDIManager::initialize(
            [](const void*, void* changes) { ++*static_cast<std::atomic<int>*>(changes); }, &changes);
        manager = CMIDIManager::instance();
        ASSERT_NE(manager->service(), nullptr) << manager->serviceUnavailableReason();
    }
    void TearDown() override {
        CMIDIManager::terminate();
        CMIDIManager::setServiceProvider(nullptr);
    }

    // Opens the first source and destination whose names contain `text`, as the device manager
    // finds the amplifier; what arrives goes to `echoes`.
    void openPortsNamed(const std::string& text) {
        std::vector<std::string> sources;
        std::vector<std::string> destinations;
        manager->getMidiInDevices(sources);
        manager->getMidiOutDevices(destinations);
        const int source = indexContaining(sources, text);
        const int destination = indexContaining(destinations, text);
        ASSERT_TRUE(source >= 0 && destination >= 0) << text;
        ASSERT_EQ(manager->openMidiIn(static_cast<uint32_t>(source), recordMessage, &echoes, 512), 0);
        ASSERT_EQ(manager->openMidiOut(static_cast<uint32_t>(destination)), 0);
    }

    int send(const Bytes& message) {
        return manager->sendLongMessage(message.data(), static_cast<int32_t>(message.size()));
    }

    bool portsOpen() const { return manager->isOpenedMidiIn() || manager->isOpenedMidiOut(); }

    // Every service announces an endpoint that appears.
    template <typename Appear>
    void expectAnnounced(Appear appear) {
        const int before = changes;
        auto appeared = appear();
        ASSERT_TRUE(appeared);
        EXPECT_TRUE(eventually([&] { return changes > before; }));
    }

    std::atomic<int> changes{0};
    CMIDIManager* manager = nullptr;
    MessageRecorder echoes;

private:
    static int indexContaining(const std::vector<std::string>& names, const std::string& text) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i].find(text) != std::string::npos)
                return static_cast<int>(i);
        }
        return -1;
    }
};

}  // namespace midi::test
