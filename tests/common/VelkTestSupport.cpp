#include "VelkTestSupport.h"

#include "common/GenericException.h"
#include "common/SysexCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace sysex = velk::sysex;

size_t VelkManagerInspector::queuedRequests(CVelkManager& manager) {
    std::lock_guard requests(*manager.m_RequestLock);
    return manager.m_RequestQueue.size();
}

namespace velktest {

std::string hex(const Bytes& bytes) {
    std::string text;
    for (uint8_t byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        text += digits;
    }
    if (!text.empty())
        text.pop_back();
    return text;
}

Bytes heartBeatReply(uint8_t model) {
    return {0xF0, 0x43, 0x7D, 0x60, 0x58, 0x48, 0x44, model, 0xF7};
}

Bytes parameterChange(uint8_t group, uint8_t parameter, uint8_t data1, uint8_t data2) {
    Bytes message(sysex::kParameterChangeSize);
    sysex::writeParameterChange(message.data(), group, parameter, data1, data2);
    return message;
}

Bytes ampTypeChange(int amp, uint8_t ampType) {
    return parameterChange(0x00, amp == 0 ? 0x40 : 0x48, 0, ampType);
}

Bytes bulkDump(const char blockName[4], const Bytes& reserved, const Bytes& data) {
    Bytes body(sysex::kBodyTag, sysex::kBodyTag + 4);
    body.insert(body.end(), blockName, blockName + 4);
    body.insert(body.end(), reserved.begin(), reserved.end());
    body.insert(body.end(), data.begin(), data.end());
    return sysex::bulkDump(body.data(), body.size());
}

Bytes effectDump(const std::array<uint8_t, 16>& block) {
    return bulkDump("UTIL", {0, 0, 0x7F, 0x7F}, Bytes(block.begin(), block.end()));
}

Bytes firHeaderDump(int slot, const std::string& name, uint16_t gain) {
    uint8_t blockName[4];
    sysex::dumpName(slot, blockName);
    Bytes data(64, 0);
    std::copy_n(name.begin(), std::min<size_t>(name.size(), 64), data.begin());
    data.push_back(sysex::high7(gain));
    data.push_back(sysex::low7(gain));
    return bulkDump(reinterpret_cast<const char*>(blockName), {0, 0, 0, 0}, data);
}

Bytes dumpRequest(int index) {
    Bytes message = {0xF0, 0x43, 0x7D, 0x20, 0x58, 0x48, 0x44, 0x32, 0, 0, 0, 0, 0xF7};
    sysex::dumpName(index, message.data() + 8);
    return message;
}

bool decodePacket(const Bytes& message, SPacket& packet) {
    constexpr size_t kBody = sysex::kBulkHeaderSize;
    if (message.size() < kBody + sysex::kPacketHeaderSize + 2 || message[3] != sysex::kTypeBulkDump)
        return false;
    const size_t bodySize = sysex::join14(message[4], message[5]);
    if (message.size() != bodySize + sysex::kBulkFrameOverhead ||
        std::memcmp(message.data() + kBody, sysex::kBodyTag, 4) != 0 ||
        std::memcmp(message.data() + kBody + 4, sysex::kPacketTag, 4) != 0)
        return false;
    packet.number = sysex::join14(message[kBody + 8], message[kBody + 9]);
    packet.amp = sysex::join14(message[kBody + 10], message[kBody + 11]);
    const size_t packedSize = bodySize - sysex::kPacketHeaderSize;
    packet.payload.assign(sysex::unpackedSize(packedSize), 0);
    sysex::unpack7(message.data() + kBody + sysex::kPacketHeaderSize, packedSize, packet.payload.data());
    return true;
}

FIRCOE recordWithPattern(const char* name, int16_t gain, int seed) {
    FIRCOE record{};
    std::strncpy(record.name, name, sizeof record.name - 1);
    record.gain = gain;
    for (size_t i = 0; i < FIRCOE::kCoefficientCount; ++i)
        record.coe[i] = static_cast<int16_t>((static_cast<int>(i) * 7919 + seed * 104729) % 65536 - 32768);
    return record;
}

Bytes recordBytes(const FIRCOE& record) {
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    return Bytes(begin, begin + sizeof record);
}

int32_t errorCodeOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const mstd::CGenericException& exception) {
        return exception.getErrorCode();
    }
    return 0;
}

Background::Background(std::function<void()> work)
    : m_Thread([this, work = std::move(work)] {
          work();
          m_Done.set(true);
      }) {}

Background::~Background() {
    m_Thread.join();
}

bool Background::finished(std::chrono::milliseconds patience) {
    return m_Done.wait(patience).has_value();
}

void PrintTo(const SEvent& event, std::ostream* os) {
    *os << "{event " << event.id << ", data " << event.data << "}";
}

SEvent event(EVelkEventID id, int32_t data) {
    return SEvent{id, data, {}};
}

void EventRecorder::callback(EVelkEventID id, int32_t data, void* userData) {
    auto* recorder = static_cast<EventRecorder*>(userData);
    std::lock_guard lock(recorder->m_Lock);
    recorder->m_Events.push_back(SEvent{id, data, std::this_thread::get_id()});
    recorder->m_Changed.notify_all();
}

std::vector<SEvent> EventRecorder::events() const {
    std::lock_guard lock(m_Lock);
    return m_Events;
}

size_t EventRecorder::count(EVelkEventID id) const {
    std::lock_guard lock(m_Lock);
    return countLocked(id);
}

bool EventRecorder::waitFor(EVelkEventID id, size_t count, std::chrono::milliseconds patience) const {
    std::unique_lock lock(m_Lock);
    return m_Changed.wait_for(lock, patience, [&] { return countLocked(id) >= count; });
}

size_t EventRecorder::countLocked(EVelkEventID id) const {
    return std::count_if(m_Events.begin(), m_Events.end(), [id](const SEvent& e) { return e.id == id; });
}

void EventRecorder::clear() {
    std::lock_guard lock(m_Lock);
    m_Events.clear();
}

}  // namespace velktest
