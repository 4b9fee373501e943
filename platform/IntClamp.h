#pragma once
// Saturating conversions to int: the one place where the program clamps a wider
// integer or a floating value into int (window geometry, command-line numbers,
// serial numbers, value conversions).
#include <climits>
#include <cmath>
#include <cstdint>

namespace platform {

// `v` limited to [INT_MIN, INT_MAX]. Sums of two or three ints are done in int64_t
// and passed here, so they never overflow.
constexpr int clampToInt(int64_t v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// Truncates toward zero; NaN gives 0 and values beyond the range saturate.
inline int truncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0) return INT_MAX;
    if (v <= -2147483649.0) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace platform
