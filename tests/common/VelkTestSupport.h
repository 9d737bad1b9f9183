#pragma once

// Helpers shared by the device manager's tests: the amplifier's messages, an event recorder, work
// on a helper thread and access to the reply bookkeeping.

#include "common/FIRCOE.h"
#include "common/GenericException.h"
#include "common/SysexCodec.h"
#include "common/VelkManager.h"
#include "midi/MessageRecorder.h"
#include "sim/EditorMessages.h"

#include <algorithm>
#include <array>
#include <functional>
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
    static void expectReply(CVelkManager& manager, int32_t id) { manager.expectReply(id); }
    // No response ID and an error flag that no receive routine stores, to see what one message sets.
    static void clearReply(CVelkManager& manager) {
        manager.m_ReceivedID = -1;
        manager.m_ReceiveError = -1;
        manager.m_ReceivedValue = 0;
    }
    static const uint8_t* sendBegin(const CVelkManager& manager) { return manager.m_SendBegin; }
    // Queued for the current pass and posted for the next.
    static size_t queuedRequests(CVelkManager& manager) {
        std::lock_guard requests(*manager.m_RequestLock);
        std::lock_guard posted(manager.m_WakeLock);
        return manager.m_RequestQueue.size() + manager.m_PostedRequests.size();
    }
};

namespace velktest {

namespace sysex = velk::sysex;
using namespace std::chrono_literals;

// ---- Messages

inline Bytes heartBeatReply(uint8_t model) {
    return {0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, model, 0xF7};
}

using velk::sim::test::dumpRequest;
using velk::sim::test::edited;
using velk::sim::test::kHeartBeatRequest;
using velk::sim::test::parameterChange;
using velk::sim::test::sampleRecord;

inline Bytes ampTypeChange(int amp, uint8_t ampType) {
    return parameterChange(0x00, amp == 0 ? 0x40 : 0x48, 0, ampType);
}

// A bulk dump of the given block name and body data with a correct checksum.
inline Bytes bulkDump(const char blockName[4], const Bytes& reserved, const Bytes& data) {
    Bytes body(8 + reserved.size() + data.size());
    std::copy_n(sysex::kBodyTag, 4, body.begin());
    std::copy_n(blockName, 4, body.begin() + 4);
    std::copy(data.begin(), data.end(), std::copy(reserved.begin(), reserved.end(), body.begin() + 8));
    return sysex::bulkDump(body.data(), body.size());
}

inline Bytes effectDump(const std::array<uint8_t, 16>& block) {
    return bulkDump("UTIL", {0, 0, 0x7F, 0x7F}, Bytes(block.begin(), block.end()));
}

inline Bytes firHeaderDump(int slot, const std::string& name, uint16_t gain) {
    char blockName[4];
    sysex::dumpName(slot, reinterpret_cast<uint8_t*>(blockName));
    Bytes data(66, 0);
    std::copy_n(name.begin(), std::min<size_t>(name.size(), 64), data.begin());
    data[64] = sysex::high7(gain);
    data[65] = sysex::low7(gain);
    return bulkDump(blockName, {0, 0, 0, 0}, data);
}

// ---- Records

inline Bytes recordBytes(const FIRCOE& record) {
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    return Bytes(begin, begin + sizeof record);
}

// ---- Threads and errors

// Calls `operation` and returns the error code it throws, or 0.
inline int32_t errorCodeOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const mstd::CGenericException& exception) {
        return exception.getErrorCode();
    }
    return 0;
}

// Runs `work` on its own thread; the destructor waits for it.
class Background {
public:
    explicit Background(std::function<void()> work)
        : m_Thread([this, work = std::move(work)] {
              work();
              m_Done.set(true);
          }) {}
    ~Background() { m_Thread.join(); }
    // True once `work` has returned, waiting at most `patience`.
    bool finished(std::chrono::milliseconds patience = 5s) { return m_Done.wait(patience).has_value(); }

private:
    midi::test::Handoff<bool> m_Done;
    std::thread m_Thread;
};

// ---- Listener events

struct SEvent {
    EVelkEventID id;
    int32_t data = 0;
    std::thread::id thread{};

    bool operator==(const SEvent& other) const { return id == other.id && data == other.data; }
    friend void PrintTo(const SEvent& event, std::ostream* os) {
        *os << "{event " << event.id << ", data " << event.data << "}";
    }
};
using Events = std::vector<SEvent>;

class EventRecorder : public midi::test::Recorder<SEvent> {
public:
    static void callback(EVelkEventID id, int32_t data, void* userData) {
        static_cast<EventRecorder*>(userData)->record({id, data, std::this_thread::get_id()});
    }

    Events events() const { return messages(); }
    size_t count(EVelkEventID id) const { return countOf(id, messages()); }
    // Waits in real time until `count` events of `id` have been recorded.
    bool waitFor(EVelkEventID id, size_t count = 1, std::chrono::milliseconds patience = 5s) const {
        return waitUntil([&](const Events& events) { return countOf(id, events) >= count; }, patience);
    }

private:
    static size_t countOf(EVelkEventID id, const Events& events) {
        return std::count_if(events.begin(), events.end(), [id](const SEvent& e) { return e.id == id; });
    }
};

}  // namespace velktest
