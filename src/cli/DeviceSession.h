#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/DeviceOptions.h"
#include "cli/Environment.h"
#include "cli/EventQueue.h"
#include "common/VelkManager.h"

namespace velk::cli {

// One run of the device manager for a command: velkctl's side of what the main window does.
// It connects the way the window does, then the command posts requests and waits for their
// events. Every wait ends in a CommandFailure when the amplifier reports an error, drops the
// connection or falls silent.
class DeviceSession {
public:
    using Observer = std::function<void(const DeviceEvent&)>;

    // Opens the MIDI service (traced with --trace) for the device manager; throws CommandFailure
    // (exit 3) when there is none.
    DeviceSession(const DeviceOptions& options, const Environment& environment, std::ostream& err);
    ~DeviceSession();

    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Open, heartbeat, main version, full read. Exit 3 when no amplifier answers within the
    // timeout, 4 when it fails after answering.
    void connect();

    CVelkManager& manager() const { return *m_Manager; }
    int model() const { return m_Model; }  // 1 single-amp head, 2 dual-amp head
    uint16_t mainVersion() const { return m_MainVersion; }
    // Progress may be drawn (a terminal, and no trace lines to mix with).
    bool showsProgress() const { return m_ShowsProgress; }
    std::ostream& err() const { return m_Err; }

    // Exit 1 when the connected head has no such amp or no FX loop connection setting.
    void requireAmp(int amp) const;
    void requireFxLoopConnection() const;

    void post(eVelkRequestEvent kind, int32_t arg1 = 0, int32_t arg2 = 0);
    // The next of `events` (with `data`, when given); every other event goes to `observe`.
    DeviceEvent awaitOneOf(std::initializer_list<EVelkEventID> events,
                           std::optional<int32_t> data = std::nullopt, const Observer& observe = {});
    // The same, but nothing when none has come within `limit` of the last event.
    std::optional<DeviceEvent> awaitWithin(std::chrono::milliseconds limit,
                                           std::initializer_list<EVelkEventID> events,
                                           std::optional<int32_t> data = std::nullopt,
                                           const Observer& observe = {});
    // Returns once everything posted so far has been carried out: the amplifier answers nothing
    // to a setting, so a firmware version request queued behind the requests is asked and awaited.
    void settle();

private:
    void awaitConnection();
    std::optional<DeviceEvent> nextEvent(EventQueue::Clock::time_point deadline);
    [[noreturn]] void failNotFound(bool portsOpened) const;

    const DeviceOptions m_Options;
    std::ostream& m_Err;
    const bool m_ShowsProgress;
    std::string m_ServiceName;
    EventQueue m_Events;
    CVelkManager* m_Manager = nullptr;
    int m_Model = 0;
    uint16_t m_MainVersion = 0;
};

}  // namespace velk::cli
