// mstd::adjustUTF8String on arbitrary bytes and destination sizes. Source and destination are
// buffers of exactly their sizes, so no byte is read or written outside them. Walking the source
// character by character, the output must hold each ASCII byte unchanged, exactly one "?" for each
// complete multi-byte character (a lead byte followed by all its continuation bytes), any other
// byte unchanged, and nothing else; it stops at the destination size and zeros fill the rest. The
// in-place form must agree with the two-buffer form.
//
// Input: byte 0 is the destination size, the rest is the source.

#include "common/StringUtil.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// The bytes of the character starting at `i` when it is a complete multi-byte one, else 0.
size_t multiByteLength(const std::vector<char>& source, size_t i) {
    const auto lead = static_cast<uint8_t>(source[i]);
    size_t length = 0;
    for (uint8_t bit = 0x80; lead & bit; bit >>= 1)
        ++length;
    if (length < 2 || length > 6 || i + length > source.size())
        return 0;
    for (size_t next = i + 1; next < i + length; ++next) {
        if ((static_cast<uint8_t>(source[next]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

void checkConversion(const std::vector<char>& source, const char* dest, size_t destSize) {
    size_t o = 0;
    for (size_t i = 0; i < source.size() && o < destSize; ++o) {
        const size_t length = multiByteLength(source, i);
        require(dest[o] == (length > 0 ? '?' : source[i]));
        i += length > 0 ? length : 1;
    }
    for (; o < destSize; ++o)
        require(dest[o] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const size_t destSize = data[0];
    const std::vector<char> source(data + 1, data + size);
    auto exactSource = std::make_unique<char[]>(source.size());
    std::copy(source.begin(), source.end(), exactSource.get());
    auto dest = std::make_unique<char[]>(destSize);
    mstd::adjustUTF8String(dest.get(), static_cast<int32_t>(destSize), exactSource.get(),
                           static_cast<int32_t>(source.size()));
    checkConversion(source, dest.get(), destSize);

    mstd::adjustUTF8String(exactSource.get(), static_cast<int32_t>(source.size()));
    auto twoBuffers = std::make_unique<char[]>(source.size());
    mstd::adjustUTF8String(twoBuffers.get(), static_cast<int32_t>(source.size()), source.data(),
                           static_cast<int32_t>(source.size()));
    require(std::equal(twoBuffers.get(), twoBuffers.get() + source.size(), exactSource.get()));
    return 0;
}
