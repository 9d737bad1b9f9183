#include "convert/IrConversion.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "convert/AtomicOutputFile.h"
#include "convert/ConversionError.h"
#include "convert/Resampler.h"
#include "convert/SignalOperations.h"
#include "convert/SoundFile.h"

namespace velk::convert {

namespace {

// Frames read at a time: small enough that the blocks stay in pages already in use.
constexpr size_t kBlockFrames = 4096;

// The first of the channels kept, and how many.
struct KeptChannels {
    int first = 0;
    int count = 0;
};

KeptChannels chosenChannels(int channels, ChannelChoice choice, const std::string& path) {
    if (choice == ChannelChoice::Both) {
        if (channels > 2)
            throw ConversionError(ConversionFault::TooManyChannels, path, std::to_string(channels));
        return {0, channels};
    }
    const int channel = choice == ChannelChoice::Left ? 0 : 1;
    if (channel >= channels)
        throw ConversionError(ConversionFault::MissingChannel, path);
    return {channel, 1};
}

// The chosen channels of the input at the amplifier's rate, and the input's peak over all its
// channels.
AudioSignal resampledInput(SoundFileReader& input, ChannelChoice choice, const std::string& path,
                           double& peak) {
    const KeptChannels kept = chosenChannels(input.channels(), choice, path);
    Resampler resampler(input.sampleRate(), kAmpSampleRate, kept.count, input.frames(), path);
    std::vector<float> block(kBlockFrames * static_cast<size_t>(input.channels()));
    for (std::span<const float> samples; !(samples = input.read(block)).empty();) {
        peak = std::max(peak, peakOf(samples));
        if (kept.count == input.channels())
            resampler.push(samples);
        else
            resampler.push(channelsOf(samples, input.channels(), kept.first, kept.count));
    }
    return resampler.finish();
}

void normalize(AudioSignal& signal, double decibels, const std::string& path) {
    const double peak = peakOf(signal.samples);
    if (peak == 0)
        throw ConversionError(ConversionFault::SilentInput, path);
    scale(signal, std::pow(10.0, decibels / 20) / peak);
}

// The signal as PCM of `bits` bits into the writer, a block at a time; what quantizing clipped and
// the peak (the samples themselves are gone).
PcmSamples writePcm(const AudioSignal& signal, int bits, PcmWaveWriter writer) {
    PcmSamples total;
    const std::span<const float> samples = signal.samples;
    const size_t blockSize = kBlockFrames * static_cast<size_t>(signal.channels);
    for (size_t at = 0; at < samples.size(); at += blockSize) {
        const PcmSamples pcm = quantized(samples.subspan(at, std::min(blockSize, samples.size() - at)), bits);
        writer.write(pcm.samples);
        total.clipped += pcm.clipped;
        total.peak = std::max(total.peak, pcm.peak);
    }
    writer.close();
    return total;
}

AudioDescription describe(const AudioSignal& signal, SampleCoding coding, double peak) {
    return {signal.sampleRate, signal.channels, signal.frames(), coding, peak};
}

}  // namespace

// The input streams through the resampler and the output through quantizing, and the signal moves
// from step to step instead of being copied: in a short-lived process each fresh page of a second
// of stereo audio costs more than the step itself.
ConversionReport convertImpulseResponse(const ConversionRequest& request) {
    SoundFileReader input(request.input);
    ConversionReport report;
    report.from = {input.sampleRate(), input.channels(), input.frames(), input.coding(), 0};
    AudioSignal signal = resampledInput(input, request.channel, request.input, report.from.peak);
    if (request.trim)
        keepFrames(signal, kAmpFrames);
    if (request.normalizeDb)
        normalize(signal, *request.normalizeDb, request.input);

    report.output = request.output.empty() ? defaultOutputPath(request.input) : request.output;
    AtomicOutputFile file(report.output);
    const PcmSamples pcm = writePcm(
        signal, request.bits,
        PcmWaveWriter(file.descriptor(), report.output, signal.sampleRate, signal.channels, request.bits));
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
