#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "eLibrary/AudioUtilities.h"
#include "eLibrary/InputStream.h"

namespace eLibrary {

// Where the sample frames lie in the stream, and the frame arithmetic both formats share. The
// arithmetic is 64-bit so that absurd sizes and frame numbers clamp instead of overflowing.
class PcmDataLayout {
public:
    PcmDataLayout(int64_t start, int64_t length, uint16_t frameSize)
        : m_Start(start), m_Length(std::max<int64_t>(length, 0)), m_FrameSize(frameSize) {}

    // The frame holding a byte position, clamped to the data.
    int64_t frameAt(int64_t position) const {
        if (m_FrameSize <= 0)
            return 0;
        return std::clamp<int64_t>(position - m_Start, 0, m_Length) / m_FrameSize;
    }

    // The first byte of a frame, clamped to the data.
    int64_t positionOf(int32_t frame) const {
        if (m_FrameSize <= 0)
            return 0;
        return std::clamp<int64_t>(frame * m_FrameSize, 0, m_Length) + m_Start;
    }

    // The number of whole frames in the data.
    int64_t totalFrames() const { return frameAt(m_Start + m_Length); }

    int32_t tell(InputStream& stream) const { return saturate(frameAt(stream.tell())); }
    bool seek(InputStream& stream, int32_t frame) const { return seekFromBegin(stream, positionOf(frame)); }

    static int32_t saturate(int64_t value) {
        return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    }

private:
    int64_t m_Start;
    int64_t m_Length;
    int64_t m_FrameSize;
};

// Bytes of the staging buffer that every PCM read goes through; a frame larger than this is
// refused, since no whole frame would fit a block.
constexpr int32_t kPcmStagingBytes = 1024;

// Reads up to `frames` frames from the stream's position, a staging buffer's worth of whole frames
// at a time, and hands each block to `convert` (a converter over this block and the destination
// range still free). All or nothing: a short read or a converter refusing a block returns 0.
template <typename T, typename Converter>
int32_t readPcmBlocks(InputStream& stream, const PcmDataLayout& layout, int32_t fileChannels,
                      int32_t sampleBytes, T** buffers, int32_t channels, int32_t frames,
                      Converter&& convert) {
    if (!buffers || channels == 0 || frames == 0 || fileChannels == 0 || sampleBytes == 0)
        return 0;
    const int64_t current = layout.frameAt(stream.tell());
    const int64_t count = std::min<int64_t>(frames, layout.totalFrames() - current);
    const int64_t bytesPerFrame = int64_t{sampleBytes} * fileChannels;
    if (count < 1 || bytesPerFrame <= 0 || bytesPerFrame > kPcmStagingBytes)
        return 0;
    const auto n = static_cast<int32_t>(count);
    const auto framesPerBlock = static_cast<int32_t>(kPcmStagingBytes / bytesPerFrame);
    uint8_t staging[kPcmStagingBytes];
    for (int32_t done = 0; done < n;) {
        const int32_t block = std::min(framesPerBlock, n - done);
        const auto blockBytes = static_cast<uint32_t>(block * bytesPerFrame);
        if (stream.readBuffer(staging, blockBytes) != blockBytes)
            return 0;
        if (convert(staging, fileChannels, 0, block, buffers, channels, done, n - done) != block)
            return 0;
        done += block;
    }
    return n;
}

// The frame operations of a sample-data chunk record, the same for every format. Record supplies
// layout(format), where its frames lie, and readPcm<T>(stream, format, buffers, channels, frames),
// its block read with the format's converter.
template <typename Record, typename Format>
struct PcmChunkOperations {
    int32_t streamToSample(uint32_t streamPosition, const Format& format) const {
        return PcmDataLayout::saturate(self().layout(format).frameAt(streamPosition));
    }
    int64_t sampleToStream(int32_t frame, const Format& format) const {
        return self().layout(format).positionOf(frame);
    }
    int32_t tellPcm(InputStream& stream, const Format& format) const {
        return self().layout(format).tell(stream);
    }
    bool seekPcm(InputStream& stream, const Format& format, int32_t frame) const {
        return self().layout(format).seek(stream, frame);
    }
    int32_t readPcm16s(InputStream& stream, const Format& format, int16_t** buffers, int32_t channels,
                       int32_t frames) const {
        return self().readPcm(stream, format, buffers, channels, frames);
    }
    int32_t readPcm32s(InputStream& stream, const Format& format, int32_t** buffers, int32_t channels,
                       int32_t frames) const {
        return self().readPcm(stream, format, buffers, channels, frames);
    }
    int32_t readPcm32f(InputStream& stream, const Format& format, float** buffers, int32_t channels,
                       int32_t frames) const {
        return self().readPcm(stream, format, buffers, channels, frames);
    }

private:
    const Record& self() const { return static_cast<const Record&>(*this); }
};

}  // namespace eLibrary
