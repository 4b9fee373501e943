#pragma once
// Conversions of Lua numbers (doubles) to fixed-width integers without undefined
// behaviour: the value is truncated toward zero, clamped to the destination range,
// and NaN gives 0. Narrower results then take the low bits of the 64-bit value.
#include <cmath>
#include <cstdint>

#include "platform/IntClamp.h"

namespace luaconv {

inline int64_t truncToInt64(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9223372036854775808.0) return INT64_MAX;   // 2^63
    if (v < -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(v);
}

// Values of 2^63 and above keep their high bit; negative values become their 64-bit
// two's complement.
inline uint64_t truncToUInt64(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 18446744073709551616.0) return UINT64_MAX;   // 2^64
    if (v >= 9223372036854775808.0) return static_cast<uint64_t>(v);
    return static_cast<uint64_t>(truncToInt64(v));
}

// The low 32 bits of the truncated value (2^31 gives -2^31, 2^32 + 5 gives 5).
inline int32_t wrapToInt32(double v) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(truncToInt64(v))));
}
inline uint32_t wrapToUInt32(double v) {
    return static_cast<uint32_t>(static_cast<uint64_t>(truncToInt64(v)));
}

// Truncated toward zero and clamped to the signed 32-bit range.
inline int32_t clampToInt32(double v) { return platform::truncToInt(v); }

// The checked conversion of a script number into an int: truncated toward zero;
// false (out untouched) for NaN and for values whose truncation lies outside the
// signed 32-bit range (2147483647.9 passes as 2147483647, 2147483648 fails).
inline bool toInt32Checked(double v, int32_t* out) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return false;   // NaN fails both
    *out = static_cast<int32_t>(v);
    return true;
}

}  // namespace luaconv
