#pragma once

#include "platform/colors.h"
#include "platform/rounding.h"

#include <QColor>
#include <cstdint>

// Shared by the gradient push button and the gradient progress bar.
namespace PaintHelpers {

// a / d taken to the nearest integer with halves to even, exactly (no floating point), d != 0.
inline std::int64_t DivRoundHalfEven(std::int64_t a, std::int64_t d) {
    if (d < 0) {
        a = -a;
        d = -d;
    }
    std::int64_t q = a / d;
    std::int64_t r = a % d;
    if (r < 0) { // make the remainder non-negative: a = q * d + r with 0 <= r < d
        r += d;
        --q;
    }
    if (2 * r > d || (2 * r == d && (q % 2 != 0)))
        ++q;
    return q;
}

// One channel of step k of n from s to e: s + k * (e - s) / n, halves to even. The whole value is
// rounded, not the offset: 155 - 77.5 = 77.5 gives 78.
inline int GradientChannel(int s, int e, std::int64_t k, std::int64_t n) {
    return int(DivRoundHalfEven(s * n + k * (e - s), n));
}

inline QColor GradientColor(TColor from, TColor to, std::int64_t k, std::int64_t n) {
    return QColor(GradientChannel(GetRValue(from), GetRValue(to), k, n),
                  GradientChannel(GetGValue(from), GetGValue(to), k, n),
                  GradientChannel(GetBValue(from), GetBValue(to), k, n));
}

} // namespace PaintHelpers
