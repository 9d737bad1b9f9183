// Converting a 1 s, 96 kHz, stereo, 32-bit float impulse response to 44100 Hz 24-bit PCM WAVE,
// side by side with sox doing the same conversion (its default high-quality rate, 24 bits, no
// dither, since the conversion adds none). Each iteration runs sox and ours back to back, so a
// machine shared with other work slows both alike; ratio_vs_sox is our median time over sox's.
//   IrConvert/library_vs_sox: the conversion in this process (read, resample, write, rename);
//   IrConvert/velkctl_vs_sox: "velkctl ir convert" as a process, as sox is one. Its label says
//   whether it met the command line's targets: under 20 ms, and at most 1.5 times sox's time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sndfile.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchDirectory.h"
#include "convert/IrConversion.h"

extern char** environ;

namespace {

using velk::bench::benchDirectory;

constexpr int kSourceRate = 96000;
constexpr int kChannels = 2;

// A cabinet-like impulse response: decaying noise over one second.
std::string sourceFile() {
    static const std::string path = [] {
        const std::string file = benchDirectory() + "/cab 96k.wav";
        SF_INFO info{};
        info.samplerate = kSourceRate;
        info.channels = kChannels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
        if (!out)
            throw std::runtime_error(sf_strerror(nullptr));
        std::mt19937 generator(1);
        std::normal_distribution<float> noise(0, 0.3f);
        std::vector<float> samples(kSourceRate * kChannels);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = noise(generator) * std::exp(-float(i / kChannels) / 4000);
        sf_writef_float(out, samples.data(), kSourceRate);
        sf_close(out);
        return file;
    }();
    return path;
}

// What one conversion took, from start to finished file.
struct Cost {
    double seconds = 0;
    bool succeeded = true;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs a program with its output discarded; it succeeds when it exits with 0.
Cost runQuietly(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const bool waited = spawned == 0 && waitpid(pid, &status, 0) == pid;
    return {secondsSince(start), waited && WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

std::string outputFile(const char* name) {
    const std::string path = benchDirectory() + "/" + name;
    std::filesystem::remove(path);
    return path;
}

Cost convertWithSox() {
    return runQuietly({"sox", "-D", sourceFile(), "-b", "24", outputFile("sox.wav"), "rate", "-h", "44100"});
}

Cost convertInProcess() {
    velk::convert::ConversionRequest request;
    request.input = sourceFile();
    request.output = outputFile("library.wav");
    const auto start = std::chrono::steady_clock::now();
    const bool succeeded = velk::convert::convertImpulseResponse(request).to.frames == 44100;
    return {secondsSince(start), succeeded};
}

Cost convertWithVelkctl() {
    return runQuietly({VELKCTL, "ir", "convert", sourceFile(), outputFile("velkctl.wav")});
}

// The conversions of one side: their mean, their median, which a few runs slowed by the other work
// on a shared machine do not move, and the fastest, which that work inflates least.
struct Tally {
    std::vector<double> seconds;
    bool succeeded = true;

    void add(const Cost& cost) {
        seconds.push_back(cost.seconds);
        succeeded = succeeded && cost.succeeded;
    }
    double meanMs() const {
        return 1000 * std::accumulate(seconds.begin(), seconds.end(), 0.0) / seconds.size();
    }
    double fastestMs() const { return 1000 * *std::min_element(seconds.begin(), seconds.end()); }
    double medianMs() const {
        std::vector<double> sorted = seconds;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        return 1000 * sorted[sorted.size() / 2];
    }
};

// What "velkctl ir convert" must take as a process, by the medians of one run.
constexpr double kVelkctlLimitMs = 20;
constexpr double kVelkctlLimitVsSox = 1.5;

std::string targetVerdict(double oursMs, double ratio) {
    const auto verdict = [](bool met) { return met ? "PASS" : "FAIL"; };
    return std::string(verdict(oursMs < kVelkctlLimitMs)) + " under 20 ms, " +
           verdict(ratio <= kVelkctlLimitVsSox) + " at most 1.5x sox";
}

// Every output is removed before its conversion, so both write a new file.
void convertBesideSox(benchmark::State& state, const std::function<Cost()>& ours, bool hasTargets) {
    Tally oursTally, soxTally;
    for (auto _ : state) {
        soxTally.add(convertWithSox());
        const Cost cost = ours();
        oursTally.add(cost);
        state.SetIterationTime(cost.seconds);
    }
    if (!oursTally.succeeded || !soxTally.succeeded) {
        state.SkipWithError("a conversion failed (is sox installed?)");
        return;
    }
    const double ratio = oursTally.medianMs() / soxTally.medianMs();
    state.counters["ours_ms"] = oursTally.meanMs();
    state.counters["sox_ms"] = soxTally.meanMs();
    state.counters["ours_median_ms"] = oursTally.medianMs();
    state.counters["sox_median_ms"] = soxTally.medianMs();
    state.counters["ratio_vs_sox"] = ratio;
    state.counters["ours_fastest_ms"] = oursTally.fastestMs();
    state.counters["sox_fastest_ms"] = soxTally.fastestMs();
    if (hasTargets)
        state.SetLabel(targetVerdict(oursTally.medianMs(), ratio));
}

BENCHMARK_CAPTURE(convertBesideSox, library_vs_sox, convertInProcess, false)
    ->Name("IrConvert/library_vs_sox")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(convertBesideSox, velkctl_vs_sox, convertWithVelkctl, true)
    ->Name("IrConvert/velkctl_vs_sox")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
