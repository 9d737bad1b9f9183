#include "controls/LogarithmicScale.h"

#include <cmath>

namespace {

// Integers pass through single precision first, as the dial's arithmetic always has.
double log10Of(int32_t value) {
    return std::log10(static_cast<double>(static_cast<float>(value)));
}

}  // namespace

float transValueToLogarithmicValue(int32_t value, int32_t max, int32_t min) {
    return static_cast<float>((log10Of(value) - log10Of(min)) / (log10Of(max) - log10Of(min)));
}

namespace velk::controls {

float logarithmicValueOfFraction(float fraction, int32_t max, int32_t min) {
    const double logMin = log10Of(min);
    const double value = std::pow(10.0, (log10Of(max) - logMin) * fraction + logMin) + 0.5;
    return static_cast<float>(std::trunc(value));
}

}  // namespace velk::controls
