#pragma once

#include <chrono>
#include <cstdint>

namespace midi {

// Packet timestamps: monotonic nanoseconds.
inline uint64_t hostTimeNs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

}  // namespace midi
