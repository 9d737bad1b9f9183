#include "convert/SoundFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "convert/ConversionError.h"

namespace velk::convert {

SoundFileReader::SoundFileReader(const std::string& path)
    : m_Path(path), m_File(sf_open(path.c_str(), SFM_READ, &m_Info)) {
    if (!m_File)
        throw ConversionError(ConversionFault::UnreadableInput, path, sf_strerror(nullptr));
    if (m_Info.frames <= 0 || m_Info.channels <= 0)
        throw ConversionError(ConversionFault::EmptyInput, path);
    m_FramesLeft = frames();
}

SampleCoding SoundFileReader::coding() const {
    switch (m_Info.format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
            return {8, false};
        case SF_FORMAT_PCM_16:
            return {16, false};
        case SF_FORMAT_PCM_24:
            return {24, false};
        case SF_FORMAT_PCM_32:
            return {32, false};
        case SF_FORMAT_FLOAT:
            return {32, true};
        case SF_FORMAT_DOUBLE:
            return {64, true};
        default:
            return {0, false};
    }
}

std::span<const float> SoundFileReader::read(std::span<float> block) {
    const size_t wanted = std::min(m_FramesLeft, block.size() / static_cast<size_t>(channels()));
    if (wanted == 0)
        return {};
    // Integer samples arrive scaled by their full scale: a 16-bit -32768 is exactly -1.0.
    if (sf_readf_float(m_File.get(), block.data(), static_cast<sf_count_t>(wanted)) !=
        static_cast<sf_count_t>(wanted))
        throw ConversionError(ConversionFault::UnreadableInput, m_Path, sf_strerror(m_File.get()));
    m_FramesLeft -= wanted;
    const std::span<const float> samples = block.first(wanted * static_cast<size_t>(channels()));
    // One such sample would spread through the resampler's filter into every sample near it.
    if (!std::all_of(samples.begin(), samples.end(), [](float sample) { return std::isfinite(sample); }))
        throw ConversionError(ConversionFault::NotFinite, m_Path);
    return samples;
}

namespace {

SF_INFO waveFormat(int sampleRate, int channels, int bits) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | (bits == 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
    return info;
}

}  // namespace

PcmWaveWriter::PcmWaveWriter(int descriptor, const std::string& path, int sampleRate, int channels, int bits)
    : m_Path(path), m_Channels(channels) {
    SF_INFO info = waveFormat(sampleRate, channels, bits);
    m_File.reset(sf_open_fd(descriptor, SFM_WRITE, &info, SF_FALSE));
    if (!m_File)
        throw ConversionError(ConversionFault::OutputNotWritten, path, sf_strerror(nullptr));
}

void PcmWaveWriter::write(std::span<const int32_t> samples) {
    const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<size_t>(m_Channels));
    if (sf_writef_int(m_File.get(), samples.data(), frames) != frames)
        throw ConversionError(ConversionFault::OutputNotWritten, m_Path, sf_strerror(m_File.get()));
}

void PcmWaveWriter::close() {
    const std::string reason = sf_strerror(m_File.get());
    if (sf_close(m_File.release()) != 0)
        throw ConversionError(ConversionFault::OutputNotWritten, m_Path, reason);
}

}  // namespace velk::convert
