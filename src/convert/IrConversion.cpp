#include "convert/IrConversion.h"

#include <cmath>
#include <filesystem>

#include "convert/AtomicOutputFile.h"
#include "convert/ConversionError.h"
#include "convert/Resampler.h"
#include "convert/SignalOperations.h"
#include "convert/SoundFile.h"

namespace velk::convert {

namespace {

AudioSignal chosenChannels(AudioSignal signal, ChannelChoice choice, const std::string& path) {
    if (choice == ChannelChoice::Both) {
        if (signal.channels > 2)
            throw ConversionError(ConversionFault::TooManyChannels, path, std::to_string(signal.channels));
        return signal;
    }
    const int channel = choice == ChannelChoice::Left ? 0 : 1;
    if (channel >= signal.channels)
        throw ConversionError(ConversionFault::MissingChannel, path);
    return channelsOf(signal, channel, 1);
}

void normalize(AudioSignal& signal, double decibels, const std::string& path) {
    const double peak = peakOf(signal.samples);
    if (peak == 0)
        throw ConversionError(ConversionFault::SilentInput, path);
    scale(signal, std::pow(10.0, decibels / 20) / peak);
}

AudioDescription describe(const AudioSignal& signal, SampleCoding coding, double peak) {
    return {signal.sampleRate, signal.channels, signal.frames(), coding, peak};
}

}  // namespace

// The signal moves from step to step instead of being copied: each copy of a second of stereo
// audio costs more in fresh pages than the step itself.
ConversionReport convertImpulseResponse(const ConversionRequest& request) {
    SoundFileContents input = readSoundFile(request.input);
    ConversionReport report;
    report.from = describe(input.signal, input.coding, peakOf(input.signal.samples));
    AudioSignal signal = resampled(chosenChannels(std::move(input.signal), request.channel, request.input),
                                   kAmpSampleRate, request.input);
    if (request.trim)
        keepFrames(signal, kAmpFrames);
    if (request.normalizeDb)
        normalize(signal, *request.normalizeDb, request.input);
    const PcmSamples pcm = quantized(signal.samples, request.bits);

    report.output = request.output.empty() ? defaultOutputPath(request.input) : request.output;
    AtomicOutputFile file(report.output);
    writePcmWave(file.descriptor(), report.output, signal.sampleRate, signal.channels, request.bits,
                 pcm.samples);
    file.commit(request.overwrite);

    report.to = describe(signal, {request.bits, false}, pcm.peak);
    report.clippedSamples = pcm.clipped;
    return report;
}

std::string defaultOutputPath(const std::string& input) {
    const std::filesystem::path path(input);
    return (path.parent_path() / (path.stem().string() + " 44k1.wav")).string();
}

std::optional<double> decibelsFullScale(double peak) {
    if (peak <= 0)
        return std::nullopt;
    return 20 * std::log10(peak);
}

}  // namespace velk::convert
