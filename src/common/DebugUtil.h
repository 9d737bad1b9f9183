#pragma once

#include <cstdio>

namespace mstd {

// Strips directories and extension, so a log line names "VelkManager" rather than a path.
const char* debugFileStem(const char* path, char* out, size_t outSize);

// "%s (%s:%d)\n" on stderr: a tolerated failure of a platform call.
void logPlatformFailure(const char* message, const char* sourcePath, int line);

// "%s\n" on stderr: "[CATCH] ..." and "[ERROR] ..." lines.
void logLine(const char* line);

}  // namespace mstd

#define MSTD_LOG_FAILURE(message) ::mstd::logPlatformFailure((message), __FILE__, __LINE__)
