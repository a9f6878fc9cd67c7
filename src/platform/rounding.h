#pragma once

#include <cmath>

// Colour interpolation and pixel lengths round to the nearest integer with halves to even
// (2.5 -> 2, 3.5 -> 4). qRound rounds halves away from zero and must not be used for these.
inline int RoundHalfEven(double value) { return int(std::nearbyint(value)); }
