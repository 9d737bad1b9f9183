#include "app/speaker/IrResponse.h"

#include <kissfft/kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace velk::browse {

namespace {

// Zero-padding to four times the record's length smooths the curve between the 2048-point bins.
constexpr int kTransformSize = 8192;
constexpr double kFullScale = 32768.0;
constexpr double kBandHalfWidth = 1.0 / 24.0;  // octaves either side

struct FftrConfigDeleter {
    void operator()(kiss_fftr_cfg config) const { kiss_fftr_free(config); }
};

std::vector<kiss_fft_cpx> spectrum(std::span<const int16_t> coefficients) {
    std::vector<kiss_fft_scalar> signal(kTransformSize, 0);
    const size_t count = std::min<size_t>(coefficients.size(), kTransformSize);
    for (size_t i = 0; i < count; ++i)
        signal[i] = static_cast<kiss_fft_scalar>(coefficients[i] / kFullScale);
    std::unique_ptr<kiss_fftr_state, FftrConfigDeleter> config(
        kiss_fftr_alloc(kTransformSize, 0, nullptr, nullptr));
    std::vector<kiss_fft_cpx> bins(kTransformSize / 2 + 1);
    kiss_fftr(config.get(), signal.data(), bins.data());
    return bins;
}

}  // namespace

std::vector<double> magnitudeResponseDB(std::span<const int16_t> coefficients,
                                        std::span<const double> frequencies) {
    const std::vector<kiss_fft_cpx> bins = spectrum(coefficients);
    const double floorPower = std::pow(10.0, kFloorDB / 10.0);
    const long lastBin = static_cast<long>(bins.size()) - 1;
    const auto binOf = [&](double hz) {
        return std::clamp<long>(std::lround(hz / kIrSampleRate * kTransformSize), 0, lastBin);
    };
    std::vector<double> levels;
    levels.reserve(frequencies.size());
    for (double frequency : frequencies) {
        const long low = binOf(frequency * std::exp2(-kBandHalfWidth));
        const long high = std::max(low, binOf(frequency * std::exp2(kBandHalfWidth)));
        double power = 0;
        for (long bin = low; bin <= high; ++bin)
            power += bins[bin].r * bins[bin].r + bins[bin].i * bins[bin].i;
        power /= static_cast<double>(high - low + 1);
        levels.push_back(10.0 * std::log10(std::max(power, floorPower)));
    }
    return levels;
}

std::vector<double> logFrequencies(double lowest, double highest, int count) {
    std::vector<double> frequencies;
    frequencies.reserve(count);
    const double ratio = std::log(highest / lowest);
    for (int i = 0; i < count; ++i)
        frequencies.push_back(lowest * std::exp(ratio * i / std::max(count - 1, 1)));
    return frequencies;
}

}  // namespace velk::browse
