#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <span>
#include <string>

namespace midi {

// Which way a traced message went, seen from the side that traces it.
enum class TraceDirection {
    Out,  // handed to the service
    In,   // delivered by the service
};

// One line per message for --trace: the wall-clock time to the microsecond (so the traces of two
// processes line up), the direction and every byte in hex. Safe from any thread; lines never
// interleave.
class TraceLog {
public:
    explicit TraceLog(std::ostream& out) : m_Out(out) {}

    void write(TraceDirection direction, std::span<const uint8_t> bytes);

private:
    std::mutex m_Mutex;
    std::ostream& m_Out;
};

// "13:05:20.123456 out F0 43 7D 10 58 32 70 01 00 00 F7" (local time), without a newline.
std::string traceLine(std::chrono::system_clock::time_point when, TraceDirection direction,
                      std::span<const uint8_t> bytes);

}  // namespace midi
