#pragma once

#include <memory>

#include "eLibrary/AudioFormat.h"
#include "eLibrary/InputFileStream.h"

namespace eLibrary {

// Owns a file opened from a path and the reader that parses it. The reader refers to the
// decorator's own stream, so a decorator is never copied or moved: create it on the heap.
template <typename Reader>
class AudioFormatReaderFileDecorator : public AudioFormatReader {
public:
    explicit AudioFormatReaderFileDecorator(const char* path) : m_Stream(path) {
        if (!m_Stream.fail())
            m_Reader = std::make_unique<Reader>(m_Stream);
    }

    AudioFormatReaderFileDecorator(const AudioFormatReaderFileDecorator&) = delete;
    AudioFormatReaderFileDecorator& operator=(const AudioFormatReaderFileDecorator&) = delete;

    bool fail() const override { return m_Reader ? m_Reader->fail() : true; }
    bool valid() const override { return m_Reader && m_Reader->valid(); }
    bool validSampeRate() const override { return m_Reader && m_Reader->validSampeRate(); }
    bool validChannels() const override { return m_Reader && m_Reader->validChannels(); }
    bool validSampleSize() const override { return m_Reader && m_Reader->validSampleSize(); }

    int32_t getChannels() const override { return m_Reader ? m_Reader->getChannels() : 0; }
    int32_t getSampleFrames() const override { return m_Reader ? m_Reader->getSampleFrames() : 0; }
    int32_t getSampleRate() const override { return m_Reader ? m_Reader->getSampleRate() : 0; }
    int32_t getSampleSize() const override { return m_Reader ? m_Reader->getSampleSize() : 0; }
    int32_t getBitRate() const override { return m_Reader ? m_Reader->getBitRate() : 0; }

    int32_t tellPcm() override { return m_Reader ? m_Reader->tellPcm() : 0; }
    bool seekPcm(int32_t frame) override { return m_Reader && m_Reader->seekPcm(frame); }

    int32_t readPcm16s(int16_t** buffers, int32_t channels, int32_t frames) override {
        return m_Reader ? m_Reader->readPcm16s(buffers, channels, frames) : 0;
    }
    int32_t readPcm32s(int32_t** buffers, int32_t channels, int32_t frames) override {
        return m_Reader ? m_Reader->readPcm32s(buffers, channels, frames) : 0;
    }
    int32_t readPcm32f(float** buffers, int32_t channels, int32_t frames) override {
        return m_Reader ? m_Reader->readPcm32f(buffers, channels, frames) : 0;
    }

    bool hasFormat() const override { return m_Reader && m_Reader->hasFormat(); }

private:
    // Declared in this order so that the reader goes before the stream it reads.
    InputFileStream m_Stream;
    std::unique_ptr<Reader> m_Reader;
};

}  // namespace eLibrary
