#pragma once

#include <algorithm>
#include <cstdint>

#include "eLibrary/AudioUtilities.h"
#include "eLibrary/InputStream.h"

namespace eLibrary {

// Containers nested deeper than this are skipped like unknown chunks: a file made of nested
// container headers would otherwise recurse once per twelve bytes until the stack runs out.
constexpr int kMaxContainerDepth = 8;

// Walks the chunks from the stream's position up to `end` (a 32-bit stream position), handing
// each non-empty chunk's ID, size and data position to `handleChunk`, which returns false to end
// the walk with failure. Every step moves forward, so the walk ends on any input; a chunk that
// runs past `end` (or past 32 bits) is cut at `end`. False on a short header read or failed seek.
template <typename Handler>
bool walkChunks(InputStream& stream, uint32_t end, ByteOrder order, Handler&& handleChunk) {
    if (end <= stream.tell())
        return true;
    do {
        uint32_t id = 0;
        uint32_t size = 0;
        if (!readFourCC(stream, id) || !readU32(stream, order, size))
            return false;
        if (size == 0)
            continue;  // an empty chunk is ignored whatever its ID
        const uint32_t position = stream.tell();
        if (!handleChunk(id, size, position))
            return false;
        const uint32_t padded = size + (size & 1);  // 0xFFFFFFFF pads to 0 in 32 bits
        const uint32_t chunkEnd = position + padded;
        const uint32_t next = chunkEnd < position ? end : std::min(chunkEnd, end);
        if (!seekFromBegin(stream, next))
            return false;
    } while (end > stream.tell());
    return true;
}

}  // namespace eLibrary
