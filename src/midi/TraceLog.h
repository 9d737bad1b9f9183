#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
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

// Where a traced service reports each message it sends and each delivery it receives. Called on
// the service's threads; must not block.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void write(TraceDirection direction, std::span<const uint8_t> bytes) = 0;
};

// One line per message for --trace: the wall-clock time to the microsecond (so the traces of two
// processes line up), the direction and every byte in hex. Safe from any thread; lines never
// interleave.
// A line may end with what the message means, as `annotate` says it (in the order the messages
// passed, never from two threads at once).
class TraceLog : public TraceSink {
public:
    using Annotator = std::function<std::string(std::span<const uint8_t> bytes)>;

    explicit TraceLog(std::ostream& out, Annotator annotate = nullptr)
        : m_Out(out), m_Annotate(std::move(annotate)) {}

    void write(TraceDirection direction, std::span<const uint8_t> bytes) override;

private:
    std::mutex m_Mutex;
    std::ostream& m_Out;
    const Annotator m_Annotate;
};

// "13:05:20.123456 out F0 43 7D 10 58 32 70 01 00 00 F7" (local time), without a newline.
std::string traceLine(std::chrono::system_clock::time_point when, TraceDirection direction,
                      std::span<const uint8_t> bytes);

}  // namespace midi
