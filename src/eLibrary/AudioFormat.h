#pragma once

#include <cstdint>

namespace eLibrary {

// What every audio file reader offers: format queries, validity rules, PCM positioning and PCM
// reads into one buffer per channel. Readers report failure through false or 0, never by throwing.
class AudioFormatReader {
public:
    virtual ~AudioFormatReader() = default;

    // The stream could not be opened.
    virtual bool fail() const = 0;
    // The whole structure passed every check of the format.
    virtual bool valid() const = 0;
    // The narrower checks, independent of each other, tell a user why a file was refused.
    virtual bool validSampeRate() const = 0;
    virtual bool validChannels() const = 0;
    virtual bool validSampleSize() const = 0;

    virtual int32_t getChannels() const = 0;
    virtual int32_t getSampleFrames() const = 0;
    virtual int32_t getSampleRate() const = 0;
    virtual int32_t getSampleSize() const = 0;
    virtual int32_t getBitRate() const = 0;

    // Frame indices count from the first frame of the sample data.
    virtual int32_t tellPcm() = 0;
    virtual bool seekPcm(int32_t frame) = 0;

    // Read up to `frames` frames from the current position into `channels` buffers, one per
    // channel, and return the number of frames delivered (0 when nothing was).
    virtual int32_t readPcm16s(int16_t** buffers, int32_t channels, int32_t frames) = 0;
    virtual int32_t readPcm32s(int32_t** buffers, int32_t channels, int32_t frames) = 0;
    virtual int32_t readPcm32f(float** buffers, int32_t channels, int32_t frames) = 0;

    // The file is this format's container and holds a complete format chunk. Only then do the
    // narrower checks judge values the file states rather than fields it never filled.
    virtual bool hasFormat() const = 0;
};

}  // namespace eLibrary
