#pragma once

#include <cstdint>

#include "eLibrary/AudioFormat.h"
#include "eLibrary/InputStream.h"
#include "eLibrary/WaveChunks.h"

namespace eLibrary {

// The reader of RIFF WAVE files. Construction walks the chunks at once; the stream must outlive
// the reader. Accepts 44100 Hz integer PCM of one or two channels and 16, 24 or 32 bits.
class WaveFormatReader : public AudioFormatReader {
public:
    explicit WaveFormatReader(InputStream& stream);

    bool fail() const override;
    bool valid() const override;
    bool validSampeRate() const override;
    bool validChannels() const override;
    bool validSampleSize() const override;

    int32_t getChannels() const override;
    int32_t getSampleFrames() const override;
    int32_t getSampleRate() const override;
    int32_t getSampleSize() const override;
    int32_t getBitRate() const override;

    int32_t tellPcm() override;
    bool seekPcm(int32_t frame) override;

    int32_t readPcm16s(int16_t** buffers, int32_t channels, int32_t frames) override;
    int32_t readPcm32s(int32_t** buffers, int32_t channels, int32_t frames) override;
    int32_t readPcm32f(float** buffers, int32_t channels, int32_t frames) override;

    bool hasFormat() const override;

    const WaveRiffChunk& riffChunk() const { return m_Riff; }
    const WaveFmtChunk& fmtChunk() const { return m_Fmt; }
    const WaveDataChunk& dataChunk() const { return m_Data; }

private:
    bool readContainerChunk(uint32_t end, int depth);
    bool readSubChunk(uint32_t id, uint32_t size, uint32_t position, int depth);

    InputStream& m_Stream;
    WaveRiffChunk m_Riff;
    WaveFmtChunk m_Fmt;
    WaveDataChunk m_Data;
};

}  // namespace eLibrary
