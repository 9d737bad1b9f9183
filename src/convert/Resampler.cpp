#include "convert/Resampler.h"

#include <soxr.h>

#include <cmath>

#include "convert/ConversionError.h"

namespace velk::convert {

Resampler::Resampler(int fromRate, int toRate, int channels, size_t inputFrames, const std::string& path)
    : m_Path(path) {
    m_Out.sampleRate = toRate;
    m_Out.channels = channels;
    if (fromRate == toRate) {
        m_Out.samples.reserve(inputFrames * static_cast<size_t>(channels));
        return;
    }
    const double ratio = static_cast<double>(toRate) / fromRate;
    const auto outFrames = static_cast<size_t>(std::lround(static_cast<double>(inputFrames) * ratio));
    m_Out.samples.resize(outFrames * static_cast<size_t>(channels));
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    m_Soxr = soxr_create(fromRate, toRate, static_cast<unsigned>(channels), &error, &io, &quality, nullptr);
    if (error)
        throw ConversionError(ConversionFault::ResampleFailed, path, error);
}

Resampler::~Resampler() {
    soxr_delete(m_Soxr);
}

void Resampler::push(std::span<const float> samples) {
    if (m_Soxr)
        process(samples.data(), samples.size() / static_cast<size_t>(m_Out.channels));
    else
        m_Out.samples.insert(m_Out.samples.end(), samples.begin(), samples.end());
}

AudioSignal Resampler::finish() {
    if (m_Soxr) {
        process(nullptr, 0);
        m_Out.samples.resize(m_Produced * static_cast<size_t>(m_Out.channels));
    }
    return std::move(m_Out);
}

// The output has room for exactly the frames the input makes; libsoxr takes no more input than
// that room allows, so each call runs until the input is taken or the filter drained.
void Resampler::process(const float* samples, size_t frames) {
    const auto channels = static_cast<size_t>(m_Out.channels);
    const size_t capacity = m_Out.samples.size() / channels;
    for (;;) {
        size_t taken = 0, produced = 0;
        const soxr_error_t error =
            soxr_process(m_Soxr, samples, frames, samples ? &taken : nullptr,
                         m_Out.samples.data() + m_Produced * channels, capacity - m_Produced, &produced);
        if (error)
            throw ConversionError(ConversionFault::ResampleFailed, m_Path, error);
        m_Produced += produced;
        frames -= taken;
        if (samples)
            samples += taken * channels;
        if (produced == 0 && (taken == 0 || frames == 0))
            return;
    }
}

}  // namespace velk::convert
