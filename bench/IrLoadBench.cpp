// Loading a 2048-frame impulse response (open, validate, read one channel as 16-bit coefficients)
// through our loader, side by side with libsndfile reading the same frames of the same file.
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <array>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchDirectory.h"
#include "common/FIRFile.h"

namespace {

using velk::bench::benchDirectory;

constexpr int kFrames = 2048;
constexpr int kChannels = 2;

struct IrFile {
    const char* label;
    int format;  // libsndfile major format | subtype
    int bits;
    const char* extension;
};

const IrFile kFiles[] = {
    {"wav16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 16, "wav"},
    {"wav24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 24, "wav"},
    {"wav32", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 32, "wav"},
    {"aiff16", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 16, "aiff"},
    {"aiff24", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 24, "aiff"},
    {"aiff32", SF_FORMAT_AIFF | SF_FORMAT_PCM_32, 32, "aiff"},
};

// A stereo file of noise written by libsndfile, so both readers face a file neither wrote.
std::string writeFile(const IrFile& file) {
    const std::string path = benchDirectory() + "/" + file.label + "." + file.extension;
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = kChannels;
    info.format = file.format;
    SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!out)
        throw std::runtime_error(sf_strerror(nullptr));
    std::mt19937 generator(1);
    std::vector<int> samples(kFrames * kChannels);
    for (int& sample : samples)
        sample = static_cast<int>(generator());
    sf_writef_int(out, samples.data(), kFrames);
    sf_close(out);
    return path;
}

void loadWithFIRFile(benchmark::State& state, const std::string& path) {
    std::array<int16_t, kFrames> coefficients;
    for (auto _ : state) {
        CFIRFile file;
        file.open(path.c_str());
        benchmark::DoNotOptimize(file.getChannels());  // the panel asks before choosing the channel
        file.read(coefficients.data(), 0);
        file.close();
        benchmark::DoNotOptimize(coefficients.data());
    }
}

// The same work through libsndfile: open, check the format the amplifier accepts, read 2048 frames
// as 16-bit (16-bit files) or 32-bit samples and keep the upper 16 bits of the left channel.
void loadWithSndfile(benchmark::State& state, const std::string& path, int bits) {
    std::array<int16_t, kFrames> coefficients;
    std::vector<short> shorts(kFrames * kChannels);
    std::vector<int> ints(kFrames * kChannels);
    for (auto _ : state) {
        SF_INFO info{};
        SNDFILE* in = sf_open(path.c_str(), SFM_READ, &info);
        if (!in || info.samplerate != 44100 || info.channels < 1 || info.channels > 2) {
            state.SkipWithError("libsndfile refused the file");
            break;
        }
        const sf_count_t frames =
            bits == 16 ? sf_readf_short(in, shorts.data(), kFrames) : sf_readf_int(in, ints.data(), kFrames);
        for (sf_count_t i = 0; i < frames; ++i)
            coefficients[i] =
                bits == 16 ? shorts[i * info.channels] : static_cast<int16_t>(ints[i * info.channels] >> 16);
        sf_close(in);
        benchmark::DoNotOptimize(coefficients.data());
    }
}

const bool kRegistered = [] {
    for (const IrFile& file : kFiles) {
        const std::string path = writeFile(file);
        benchmark::RegisterBenchmark((std::string("IrLoad/velk/") + file.label).c_str(), loadWithFIRFile,
                                     path);
        benchmark::RegisterBenchmark((std::string("IrLoad/sndfile/") + file.label).c_str(), loadWithSndfile,
                                     path, file.bits);
    }
    return true;
}();

}  // namespace
