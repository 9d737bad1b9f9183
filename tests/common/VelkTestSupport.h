#pragma once

// Helpers shared by the device manager's tests: the amplifier's messages, an event recorder, work
// on a helper thread and access to the reply bookkeeping.

#include "common/FIRCOE.h"
#include "common/VelkManager.h"
#include "midi/MessageRecorder.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The reply bookkeeping has no accessors; tests read and set it here.
struct VelkManagerInspector {
    static int32_t receivedID(const CVelkManager& manager) { return manager.m_ReceivedID; }
    static int32_t expectedID(const CVelkManager& manager) { return manager.m_ExpectedID; }
    static int32_t receiveError(const CVelkManager& manager) { return manager.m_ReceiveError; }
    static int32_t receivedValue(const CVelkManager& manager) { return manager.m_ReceivedValue; }
    static void setExpectedID(CVelkManager& manager, int32_t id) { manager.m_ExpectedID = id; }
    static const uint8_t* sendBegin(const CVelkManager& manager) { return manager.m_SendBegin; }
    static size_t queuedRequests(CVelkManager& manager);
};

namespace velktest {

using namespace std::chrono_literals;

std::string hex(const Bytes& bytes);

// ---- Messages

Bytes heartBeatReply(uint8_t model);
Bytes parameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2);
Bytes ampTypeChange(int amp, uint8_t ampType);
// A bulk dump of the given block name and body data with a correct checksum.
Bytes bulkDump(const char blockName[4], const Bytes& reserved, const Bytes& data);
Bytes effectDump(const std::array<uint8_t, 16>& block);
Bytes firHeaderDump(int slot, const std::string& name, uint16_t gain);
Bytes dumpRequest(int index);

// A coefficient packet's header fields and unpacked payload (padding included).
struct SPacket {
    uint16_t number = 0;
    uint16_t amp = 0;
    Bytes payload;
};
bool decodePacket(const Bytes& message, SPacket& packet);

FIRCOE recordWithPattern(const char* name, int16_t gain, int seed);
Bytes recordBytes(const FIRCOE& record);

// Calls `operation` and returns the error code it throws, or 0.
int32_t errorCodeOf(const std::function<void()>& operation);

// Runs `work` on its own thread; the destructor waits for it.
class Background {
public:
    explicit Background(std::function<void()> work);
    ~Background();
    // True once `work` has returned, waiting at most `patience`.
    bool finished(std::chrono::milliseconds patience = 5s);

private:
    midi::test::Handoff<bool> m_Done;
    std::thread m_Thread;
};

// ---- Listener events

struct SEvent {
    EVelkEventID id;
    int32_t data;
    std::thread::id thread;

    bool operator==(const SEvent& other) const { return id == other.id && data == other.data; }
};
void PrintTo(const SEvent& event, std::ostream* os);
SEvent event(EVelkEventID id, int32_t data = 0);

class EventRecorder {
public:
    static void callback(EVelkEventID id, int32_t data, void* userData);

    std::vector<SEvent> events() const;
    size_t count(EVelkEventID id) const;
    // Waits in real time until `count` events of `id` have been recorded.
    bool waitFor(EVelkEventID id, size_t count = 1, std::chrono::milliseconds patience = 5s) const;
    void clear();

private:
    size_t countLocked(EVelkEventID id) const;

    mutable std::mutex m_Lock;
    mutable std::condition_variable m_Changed;
    std::vector<SEvent> m_Events;
};

}  // namespace velktest
