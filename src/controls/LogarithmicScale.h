#pragma once

#include <cstdint>

// The sweep fraction (0..1 for min <= value <= max) of a value on a logarithmic scale. The minimum
// must be positive.
float transValueToLogarithmicValue(int32_t value, int32_t max, int32_t min);

namespace velk::controls {

// The inverse: the whole value at a sweep fraction, rounded to the nearest integer.
float logarithmicValueOfFraction(float fraction, int32_t max, int32_t min);

}  // namespace velk::controls
