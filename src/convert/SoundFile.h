#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "convert/AudioSignal.h"

namespace velk::convert {

// Any file libsndfile reads (WAVE of any kind, AIFF, FLAC...), read a block at a time: the whole
// file never sits in memory, whose fresh pages cost a short-lived process more than reading does.
class SoundFileReader {
public:
    // Throws ConversionError: UnreadableInput, EmptyInput for a file without frames.
    explicit SoundFileReader(const std::string& path);

    int sampleRate() const { return m_Info.samplerate; }
    int channels() const { return m_Info.channels; }
    size_t frames() const { return static_cast<size_t>(m_Info.frames); }
    SampleCoding coding() const;

    // The next frames, interleaved at full scale ±1.0, as many as fit into `block`; empty after the
    // last. Throws ConversionError: UnreadableInput when the file ends early, NotFinite.
    std::span<const float> read(std::span<float> block);

    struct Closer {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };

private:
    std::string m_Path;
    SF_INFO m_Info{};
    std::unique_ptr<SNDFILE, Closer> m_File;
    size_t m_FramesLeft = 0;
};

// Plain integer PCM WAVE (format tag 1) of 16 or 24 bits, written block by block to the open file
// `descriptor`, which stays open. Throws ConversionError OutputNotWritten naming `path`.
class PcmWaveWriter {
public:
    PcmWaveWriter(int descriptor, const std::string& path, int sampleRate, int channels, int bits);

    // Interleaved samples, left-justified in 32 bits, so that only their top `bits` bits are written.
    void write(std::span<const int32_t> samples);
    // Writes the header's final sizes, so its result counts as much as the samples'.
    void close();

private:
    std::string m_Path;
    int m_Channels;
    std::unique_ptr<SNDFILE, SoundFileReader::Closer> m_File;
};

}  // namespace velk::convert
