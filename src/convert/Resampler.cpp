#include "convert/Resampler.h"

#include <soxr.h>

#include <cmath>

#include "convert/ConversionError.h"

namespace velk::convert {

AudioSignal resampled(AudioSignal signal, int sampleRate, const std::string& path) {
    if (signal.sampleRate == sampleRate)
        return signal;
    AudioSignal out;
    out.sampleRate = sampleRate;
    out.channels = signal.channels;
    const double ratio = static_cast<double>(sampleRate) / signal.sampleRate;
    const auto outFrames = static_cast<size_t>(std::lround(static_cast<double>(signal.frames()) * ratio));
    out.samples.resize(outFrames * static_cast<size_t>(out.channels));

    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    size_t produced = 0;
    const soxr_error_t error = soxr_oneshot(
        signal.sampleRate, sampleRate, static_cast<unsigned>(signal.channels), signal.samples.data(),
        signal.frames(), nullptr, out.samples.data(), outFrames, &produced, &io, &quality, nullptr);
    if (error)
        throw ConversionError(ConversionFault::ResampleFailed, path, error);
    out.samples.resize(produced * static_cast<size_t>(out.channels));
    return out;
}

}  // namespace velk::convert
