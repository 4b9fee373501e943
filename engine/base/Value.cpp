#include "engine/base/Value.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/IntClamp.h"

namespace engine {
namespace {


std::string_view numericText(const std::string& s) {
    std::string_view v(s);
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.front()))) v.remove_prefix(1);
    if (v.size() > 1 && v.front() == '+' && v[1] != '-' && v[1] != '+') v.remove_prefix(1);
    return v;
}

// The longest integer prefix, saturated to int64; 0 when there is none.
int64_t parseInteger(const std::string& s) {
    std::string_view v = numericText(s);
    int64_t out = 0;
    auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) return !v.empty() && v.front() == '-' ? INT64_MIN : INT64_MAX;
    return ec == std::errc() ? out : 0;
}

double parseFloating(const std::string& s) {
    std::string_view v = numericText(s);
    double out = 0;
    auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    if (ec == std::errc::result_out_of_range) {
        // Overflow gives ±inf, underflow a tiny number or 0: strtod knows which.
        return std::strtod(std::string(v.data(), static_cast<size_t>(ptr - v.data())).c_str(), nullptr);
    }
    return ec == std::errc() ? out : 0.0;
}

int64_t saturateToInt64(double d) {
    if (std::isnan(d)) return 0;
    if (d <= -9223372036854775808.0) return INT64_MIN;
    if (d >= 9223372036854775808.0) return INT64_MAX;
    return static_cast<int64_t>(d);
}

// Negative numbers wrap as a negative int does; large ones saturate.
unsigned int int64ToUnsigned(int64_t v) {
    if (v < 0) return static_cast<unsigned int>(platform::clampToInt(v));
    return static_cast<unsigned int>(std::min<int64_t>(v, UINT_MAX));
}

// Rounds to the nearest float as the conversion does within range; beyond FLT_MAX
// (where a plain cast is undefined) a value still rounds to FLT_MAX below the
// midpoint between FLT_MAX and 2^128, and to infinity from there on.
float doubleToFloat(double d) {
    if (std::isfinite(d) && std::fabs(d) > FLT_MAX) {
        static const double kOverflow = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
        const float limit = std::fabs(d) < kOverflow ? FLT_MAX : HUGE_VALF;
        return d > 0 ? limit : -limit;
    }
    return static_cast<float>(d);
}

template <class T>
std::string shortest(T v) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, ptr) : std::string();
}

const ValueVector kEmptyVector;
const ValueMap kEmptyMap;
const ValueMapIntKey kEmptyIntKeyMap;

}  // namespace

const Value Value::Null;

Value::Value() = default;
Value::Value(unsigned char v) : _data(v) {}
Value::Value(int v) : _data(v) {}
Value::Value(unsigned int v) : _data(v) {}
Value::Value(float v) : _data(v) {}
Value::Value(double v) : _data(v) {}
Value::Value(bool v) : _data(v) {}
Value::Value(const char* v) : _data(std::string(v ? v : "")) {}
Value::Value(const std::string& v) : _data(v) {}
Value::Value(std::string&& v) : _data(std::move(v)) {}
Value::Value(const ValueVector& v) : _data(std::make_unique<ValueVector>(v)) {}
Value::Value(ValueVector&& v) : _data(std::make_unique<ValueVector>(std::move(v))) {}
Value::Value(const ValueMap& v) : _data(std::make_unique<ValueMap>(v)) {}
Value::Value(ValueMap&& v) : _data(std::make_unique<ValueMap>(std::move(v))) {}
Value::Value(const ValueMapIntKey& v) : _data(std::make_unique<ValueMapIntKey>(v)) {}
Value::Value(ValueMapIntKey&& v) : _data(std::make_unique<ValueMapIntKey>(std::move(v))) {}

Value::Value(const Value& other) : _data(copyData(other._data)) {}
Value::Value(Value&& other) noexcept : _data(std::move(other._data)) { other.clear(); }
Value::~Value() = default;

Value& Value::operator=(const Value& other) {
    if (this != &other) _data = copyData(other._data);
    return *this;
}

Value& Value::operator=(Value&& other) noexcept {
    if (this != &other) {
        // `other` may live inside this value's own container (unwrapping a nested
        // value): take its content out before the old content is destroyed.
        Data taken = std::move(other._data);
        other.clear();
        _data = std::move(taken);
    }
    return *this;
}

Value::Data Value::copyData(const Data& data) {
    return std::visit(
        [](const auto& v) -> Data {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::unique_ptr<ValueVector>> ||
                          std::is_same_v<T, std::unique_ptr<ValueMap>> ||
                          std::is_same_v<T, std::unique_ptr<ValueMapIntKey>>) {
                using C = typename T::element_type;
                return v ? std::make_unique<C>(*v) : std::make_unique<C>();
            } else {
                return v;
            }
        },
        data);
}

int Value::asInt() const {
    switch (getType()) {
        case Type::BYTE: return std::get<unsigned char>(_data);
        case Type::INTEGER: return std::get<int>(_data);
        case Type::UNSIGNED: return static_cast<int>(std::get<unsigned int>(_data));
        case Type::FLOAT: return platform::truncToInt(std::get<float>(_data));
        case Type::DOUBLE: return platform::truncToInt(std::get<double>(_data));
        case Type::BOOLEAN: return std::get<bool>(_data) ? 1 : 0;
        case Type::STRING: return platform::clampToInt(parseInteger(std::get<std::string>(_data)));
        default: return 0;
    }
}

unsigned int Value::asUnsignedInt() const {
    switch (getType()) {
        case Type::BYTE: return std::get<unsigned char>(_data);
        case Type::INTEGER: return static_cast<unsigned int>(std::get<int>(_data));
        case Type::UNSIGNED: return std::get<unsigned int>(_data);
        case Type::FLOAT: return int64ToUnsigned(saturateToInt64(std::get<float>(_data)));
        case Type::DOUBLE: return int64ToUnsigned(saturateToInt64(std::get<double>(_data)));
        case Type::BOOLEAN: return std::get<bool>(_data) ? 1u : 0u;
        case Type::STRING: return int64ToUnsigned(parseInteger(std::get<std::string>(_data)));
        default: return 0;
    }
}

unsigned char Value::asByte() const {
    if (getType() == Type::BYTE) return std::get<unsigned char>(_data);
    return static_cast<unsigned char>(asUnsignedInt());
}

double Value::asDouble() const {
    switch (getType()) {
        case Type::BYTE: return std::get<unsigned char>(_data);
        case Type::INTEGER: return std::get<int>(_data);
        case Type::UNSIGNED: return std::get<unsigned int>(_data);
        case Type::FLOAT: return std::get<float>(_data);
        case Type::DOUBLE: return std::get<double>(_data);
        case Type::BOOLEAN: return std::get<bool>(_data) ? 1.0 : 0.0;
        case Type::STRING: return parseFloating(std::get<std::string>(_data));
        default: return 0.0;
    }
}

float Value::asFloat() const {
    if (getType() == Type::FLOAT) return std::get<float>(_data);
    return doubleToFloat(asDouble());
}

bool Value::asBool() const {
    switch (getType()) {
        case Type::BOOLEAN: return std::get<bool>(_data);
        case Type::STRING: {
            const std::string& s = std::get<std::string>(_data);
            if (s == "true") return true;
            if (s == "false") return false;
            return parseFloating(s) != 0.0;
        }
        case Type::FLOAT:
        case Type::DOUBLE: return asDouble() != 0.0;
        case Type::BYTE:
        case Type::INTEGER:
        case Type::UNSIGNED: return asUnsignedInt() != 0;
        default: return false;
    }
}

std::string Value::asString() const {
    switch (getType()) {
        case Type::BYTE: return std::to_string(std::get<unsigned char>(_data));
        case Type::INTEGER: return std::to_string(std::get<int>(_data));
        case Type::UNSIGNED: return std::to_string(std::get<unsigned int>(_data));
        case Type::FLOAT: return shortest(std::get<float>(_data));
        case Type::DOUBLE: return shortest(std::get<double>(_data));
        case Type::BOOLEAN: return std::get<bool>(_data) ? "true" : "false";
        case Type::STRING: return std::get<std::string>(_data);
        default: return std::string();
    }
}

ValueVector& Value::asValueVector() {
    if (getType() != Type::VECTOR) _data = std::make_unique<ValueVector>();
    return *std::get<std::unique_ptr<ValueVector>>(_data);
}

const ValueVector& Value::asValueVector() const {
    return getType() == Type::VECTOR ? *std::get<std::unique_ptr<ValueVector>>(_data) : kEmptyVector;
}

ValueMap& Value::asValueMap() {
    if (getType() != Type::MAP) _data = std::make_unique<ValueMap>();
    return *std::get<std::unique_ptr<ValueMap>>(_data);
}

const ValueMap& Value::asValueMap() const {
    return getType() == Type::MAP ? *std::get<std::unique_ptr<ValueMap>>(_data) : kEmptyMap;
}

ValueMapIntKey& Value::asIntKeyMap() {
    if (getType() != Type::INT_KEY_MAP) _data = std::make_unique<ValueMapIntKey>();
    return *std::get<std::unique_ptr<ValueMapIntKey>>(_data);
}

const ValueMapIntKey& Value::asIntKeyMap() const {
    return getType() == Type::INT_KEY_MAP ? *std::get<std::unique_ptr<ValueMapIntKey>>(_data)
                                          : kEmptyIntKeyMap;
}

bool Value::operator==(const Value& other) const {
    if (getType() != other.getType()) return false;
    switch (getType()) {
        case Type::VECTOR: return asValueVector() == other.asValueVector();
        case Type::MAP: return asValueMap() == other.asValueMap();
        case Type::INT_KEY_MAP: return asIntKeyMap() == other.asIntKeyMap();
        default:
            return std::visit(
                [&](const auto& v) -> bool {
                    using T = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<T, std::unique_ptr<ValueVector>> ||
                                  std::is_same_v<T, std::unique_ptr<ValueMap>> ||
                                  std::is_same_v<T, std::unique_ptr<ValueMapIntKey>>) {
                        return false;   // handled above
                    } else {
                        return v == std::get<T>(other._data);
                    }
                },
                _data);
    }
}

std::string Value::getDescription() const {
    switch (getType()) {
        case Type::NONE: return "null";
        case Type::STRING: return "\"" + std::get<std::string>(_data) + "\"";
        case Type::VECTOR: {
            std::string out = "[";
            const ValueVector& items = asValueVector();
            for (size_t i = 0; i < items.size(); ++i) {
                if (i) out += ", ";
                out += items[i].getDescription();
            }
            return out + "]";
        }
        case Type::MAP: {
            std::vector<const ValueMap::value_type*> entries;
            for (const auto& entry : asValueMap()) entries.push_back(&entry);
            std::sort(entries.begin(), entries.end(), [](auto* a, auto* b) { return a->first < b->first; });
            std::string out = "{";
            for (size_t i = 0; i < entries.size(); ++i) {
                if (i) out += ", ";
                out += entries[i]->first + ": " + entries[i]->second.getDescription();
            }
            return out + "}";
        }
        case Type::INT_KEY_MAP: {
            std::vector<const ValueMapIntKey::value_type*> entries;
            for (const auto& entry : asIntKeyMap()) entries.push_back(&entry);
            std::sort(entries.begin(), entries.end(), [](auto* a, auto* b) { return a->first < b->first; });
            std::string out = "{";
            for (size_t i = 0; i < entries.size(); ++i) {
                if (i) out += ", ";
                out += std::to_string(entries[i]->first) + ": " + entries[i]->second.getDescription();
            }
            return out + "}";
        }
        default: return asString();
    }
}

}  // namespace engine
