#include "StringUtil.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace mstd {

namespace {

int sequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    if ((lead & 0xFC) == 0xF8) return 5;
    if ((lead & 0xFE) == 0xFC) return 6;
    return 0;
}

bool isContinuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

// How many continuation bytes directly follow the lead byte at i, looking no further than `end`.
int followingContinuations(const unsigned char* source, int32_t i, int32_t end) {
    int count = 0;
    for (int32_t j = i + 1; j < end && isContinuation(source[j]); ++j)
        ++count;
    return count;
}

}  // namespace

void adjustUTF8String(char* dest, int32_t destSize, const char* source, int32_t sourceLength) {
    const auto* in = reinterpret_cast<const unsigned char*>(source);
    int32_t o = 0;
    if (sourceLength > 0) {
        int32_t i = 0;
        while (o < destSize) {
            unsigned char c = in[i];
            unsigned char out = c;
            int32_t advance = 1;
            if (int k = sequenceLength(c); k > 0) {
                int32_t end = std::min<int32_t>(sourceLength, i + k);
                if (followingContinuations(in, i, end) == k - 1) {
                    out = '?';
                    advance = k;
                }
            }
            dest[o++] = static_cast<char>(out);
            i += advance;
            if (i >= sourceLength)
                break;
        }
    }
    if (o < destSize)
        std::memset(dest + o, 0, static_cast<size_t>(destSize - o));
}

void adjustUTF8String(char* buffer, int32_t size) {
    if (size <= 0)
        return;
    std::vector<char> source(buffer, buffer + size);
    adjustUTF8String(buffer, size, source.data(), size);
}

}  // namespace mstd
