#pragma once
// MulDiv as Win32 has it: number × numerator / denominator computed in 64 bits and
// rounded to the nearest integer, halves away from zero; -1 when the denominator
// is 0 or the result does not fit an int.
#include <climits>
#include <cstdint>

namespace platform {

constexpr int mulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const int64_t product = int64_t{number} * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const uint64_t p = product < 0 ? uint64_t(-(product + 1)) + 1 : uint64_t(product);
    const uint64_t d = denominator < 0 ? uint64_t(-(int64_t{denominator})) : uint64_t(denominator);
    const uint64_t q = (p + d / 2) / d;   // half away from zero on the magnitude
    if (q > (negative ? uint64_t(INT_MAX) + 1 : uint64_t(INT_MAX))) return -1;
    return negative ? static_cast<int>(-static_cast<int64_t>(q)) : static_cast<int>(q);
}

}  // namespace platform
