#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velk::browse {

// The magnitude response of an impulse response of 16-bit coefficients, in dB relative to a unit
// impulse of full scale (so the bypass record reads 0 dB everywhere), at each of `frequencies`
// (Hz), each the power average over a twelfth of an octave around it, as responses are read by
// ear. Levels below `kFloorDB` read as the floor.
inline constexpr double kIrSampleRate = 44100.0;
inline constexpr double kFloorDB = -60.0;
std::vector<double> magnitudeResponseDB(std::span<const int16_t> coefficients,
                                        std::span<const double> frequencies);

// `count` frequencies spaced evenly on a log axis from `lowest` to `highest`, both included.
std::vector<double> logFrequencies(double lowest, double highest, int count);

}  // namespace velk::browse
