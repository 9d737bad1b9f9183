#pragma once

#include <cstdint>

namespace mstd {

// Fits UTF-8 text into destSize bytes, each complete multi-byte character becoming one '?'.
// The rest of the destination is zero-filled; it is not terminated when exactly destSize bytes
// were written, so callers reserve one more zeroed byte.
void adjustUTF8String(char* dest, int32_t destSize, const char* source, int32_t sourceLength);

// The same conversion in place, the buffer's size being the source length.
void adjustUTF8String(char* buffer, int32_t size);

}  // namespace mstd
