// engine::Value from text and from raw numbers: conversions never trap, and a number
// printed by asString reads back as the same number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/base/Value.h"

using engine::Value;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Value v(text);
    (void)v.asByte();
    (void)v.asInt();
    (void)v.asUnsignedInt();
    (void)v.asBool();
    (void)v.getDescription();
    const double d = v.asDouble();
    const float f = v.asFloat();
    if (std::isnan(d) != std::isnan(f)) std::abort();
    if (std::isfinite(d) && std::fabs(d) <= 3.4028234663852886e38 && f != static_cast<float>(d)) std::abort();

    // Every floating and integer reading of the text's numbers round trips.
    for (const Value& number : {Value(d), Value(f), Value(static_cast<double>(v.asInt()))}) {
        (void)number.asInt();
        (void)number.asUnsignedInt();
        (void)number.asByte();
    }
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw) && Value(Value(raw).asString()).asDouble() != raw) std::abort();
        (void)Value(raw).asInt();
        (void)Value(raw).asUnsignedInt();
        (void)Value(raw).asFloat();
    }
    if (size >= sizeof(float)) {
        float raw;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw) && Value(Value(raw).asString()).asFloat() != raw) std::abort();
        if (std::isfinite(raw) && std::isinf(Value(Value(raw).asString()).asDouble())) std::abort();
    }
    if (Value(Value(v.asInt()).asString()).asInt() != v.asInt()) std::abort();
    if (Value(Value(v.asUnsignedInt()).asString()).asUnsignedInt() != v.asUnsignedInt()) std::abort();
    return 0;
}
