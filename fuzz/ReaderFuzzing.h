#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "eLibrary/MemoryInputStream.h"

// Feeds arbitrary bytes to a reader as a file and drives every operation a client may call,
// validity aside: the reads below also run on files the reader judges invalid.
template <typename Reader>
void exerciseReader(const uint8_t* data, size_t size) {
    constexpr int32_t kFrames = 700;  // several staging blocks of every frame size
    MemoryInputStream stream(data, size);
    Reader reader(stream);
    const bool queries[] = {reader.fail(),          reader.valid(),           reader.validSampeRate(),
                            reader.validChannels(), reader.validSampleSize(), reader.hasFormat()};
    const int32_t format[] = {reader.getChannels(), reader.getSampleFrames(), reader.getSampleRate(),
                              reader.getSampleSize(), reader.getBitRate()};
    (void)queries;
    (void)format;

    static int16_t shorts[2][kFrames];
    static int32_t ints[2][kFrames];
    static float floats[2][kFrames];
    int16_t* shortBuffers[] = {shorts[0], shorts[1]};
    int32_t* intBuffers[] = {ints[0], ints[1]};
    float* floatBuffers[] = {floats[0], floats[1]};
    for (int32_t channels : {1, 2}) {
        reader.seekPcm(0);
        reader.readPcm16s(shortBuffers, channels, kFrames);
        reader.seekPcm(1);
        reader.readPcm32s(intBuffers, channels, kFrames);
        reader.seekPcm(-1);
        reader.readPcm32f(floatBuffers, channels, kFrames);
        reader.tellPcm();
    }
    reader.seekPcm(std::numeric_limits<int32_t>::max());
    reader.readPcm16s(shortBuffers, 2, kFrames);
}
