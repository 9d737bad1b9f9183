#include "convert/SoundFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "convert/ConversionError.h"

namespace velk::convert {

namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

SampleCoding codingOf(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
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

}  // namespace

SoundFileContents readSoundFile(const std::string& path) {
    SF_INFO info{};
    const SndfileHandle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file)
        throw ConversionError(ConversionFault::UnreadableInput, path, sf_strerror(nullptr));
    if (info.frames <= 0 || info.channels <= 0)
        throw ConversionError(ConversionFault::EmptyInput, path);

    SoundFileContents contents;
    contents.coding = codingOf(info.format);
    contents.signal.sampleRate = info.samplerate;
    contents.signal.channels = info.channels;
    contents.signal.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    // Integer samples arrive scaled by their full scale: a 16-bit -32768 is exactly -1.0.
    if (sf_readf_float(file.get(), contents.signal.samples.data(), info.frames) != info.frames)
        throw ConversionError(ConversionFault::UnreadableInput, path, sf_strerror(file.get()));
    // One such sample would spread through the resampler's filter into every sample near it.
    const auto& samples = contents.signal.samples;
    if (!std::all_of(samples.begin(), samples.end(), [](float sample) { return std::isfinite(sample); }))
        throw ConversionError(ConversionFault::NotFinite, path);
    return contents;
}

void writePcmWave(int descriptor, const std::string& path, int sampleRate, int channels, int bits,
                  const std::vector<int32_t>& samples) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | (bits == 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
    SNDFILE* file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_FALSE);
    if (!file)
        throw ConversionError(ConversionFault::OutputNotWritten, path, sf_strerror(nullptr));
    const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<size_t>(channels));
    const bool written = sf_writef_int(file, samples.data(), frames) == frames;
    const std::string reason = sf_strerror(file);
    // Closing writes the header's final sizes, so its result counts as much as the samples'.
    if (sf_close(file) != 0 || !written)
        throw ConversionError(ConversionFault::OutputNotWritten, path, reason);
}

}  // namespace velk::convert
