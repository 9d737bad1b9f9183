#include "midi/TraceLog.h"

#include <cstdio>
#include <ctime>

namespace midi {

void TraceLog::write(TraceDirection direction, std::span<const uint8_t> bytes) {
    const std::string line = traceLine(std::chrono::system_clock::now(), direction, bytes);
    std::lock_guard lock(m_Mutex);
    m_Out << line;
    if (m_Annotate) {
        if (const std::string meaning = m_Annotate(bytes); !meaning.empty())
            m_Out << "  " << meaning;
    }
    m_Out << '\n' << std::flush;
}

std::string traceLine(std::chrono::system_clock::time_point when, TraceDirection direction,
                      std::span<const uint8_t> bytes) {
    using namespace std::chrono;
    const time_t seconds = system_clock::to_time_t(when);
    const auto micros = duration_cast<microseconds>(when.time_since_epoch()).count() % 1'000'000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%06lld", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<long long>(micros));

    std::string line = stamp;
    line += direction == TraceDirection::Out ? " out" : " in ";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const uint8_t byte : bytes) {
        line += ' ';
        line += kHex[byte >> 4];
        line += kHex[byte & 0x0F];
    }
    return line;
}

}  // namespace midi
