#include "DebugUtil.h"

#include <cstring>

namespace mstd {

const char* debugFileStem(const char* path, char* out, size_t outSize) {
    if (outSize == 0)
        return out;
    const char* base = std::strrchr(path, '/');
    base = base ? base + 1 : path;
    const char* backslash = std::strrchr(base, '\\');
    if (backslash)
        base = backslash + 1;
    const char* dot = std::strrchr(base, '.');
    size_t length = dot ? static_cast<size_t>(dot - base) : std::strlen(base);
    if (length >= outSize)
        length = outSize - 1;
    std::memcpy(out, base, length);
    out[length] = '\0';
    return out;
}

void logPlatformFailure(const char* message, const char* sourcePath, int line) {
    char stem[128];
    std::fprintf(stderr, "%s (%s:%d)\n", message, debugFileStem(sourcePath, stem, sizeof stem), line);
}

void logLine(const char* line) { std::fprintf(stderr, "%s\n", line); }

}  // namespace mstd
