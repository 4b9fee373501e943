#pragma once
// A dynamically typed value: a scalar, a string, or a vector or map of values.
#include <memory>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace engine {

class Value;
using ValueVector = std::vector<Value>;
using ValueMap = std::unordered_map<std::string, Value>;
using ValueMapIntKey = std::unordered_map<int, Value>;

class Value {
public:
    enum class Type { NONE, BYTE, INTEGER, UNSIGNED, FLOAT, DOUBLE, BOOLEAN, STRING, VECTOR, MAP, INT_KEY_MAP };

    static const Value Null;

    Value();
    explicit Value(unsigned char v);
    explicit Value(int v);
    explicit Value(unsigned int v);
    explicit Value(float v);
    explicit Value(double v);
    explicit Value(bool v);
    explicit Value(const char* v);   // nullptr gives an empty string
    explicit Value(const std::string& v);
    explicit Value(std::string&& v);
    explicit Value(const ValueVector& v);
    explicit Value(ValueVector&& v);
    explicit Value(const ValueMap& v);
    explicit Value(ValueMap&& v);
    explicit Value(const ValueMapIntKey& v);
    explicit Value(ValueMapIntKey&& v);

    Value(const Value& other);
    Value(Value&& other) noexcept;
    ~Value();
    Value& operator=(const Value& other);
    Value& operator=(Value&& other) noexcept;

    // Scalar conversions. Numbers convert between each other as C++ does, except that
    // a floating value out of an integer's range saturates (NaN gives 0) and a
    // negative one given to asUnsignedInt wraps as an int would. A boolean is 1 or 0.
    // A string is read as a number: leading blanks and a '+' are skipped, the
    // longest numeric prefix counts ("12abc" is 12, "abc" is 0); asBool also takes
    // "true" and "false". Vectors, maps and NONE give 0 / false / "".
    unsigned char asByte() const;
    int asInt() const;
    unsigned int asUnsignedInt() const;
    float asFloat() const;
    double asDouble() const;
    bool asBool() const;
    // Numbers in decimal (floating values in their shortest exact form), booleans as
    // "true"/"false"; "" for NONE, vectors and maps.
    std::string asString() const;

    // The mutable forms turn a value of another type into an empty container first;
    // the const forms return an empty container for a value of another type.
    ValueVector& asValueVector();
    const ValueVector& asValueVector() const;
    ValueMap& asValueMap();
    const ValueMap& asValueMap() const;
    ValueMapIntKey& asIntKeyMap();
    const ValueMapIntKey& asIntKeyMap() const;

    Type getType() const { return static_cast<Type>(_data.index()); }
    bool isNull() const { return getType() == Type::NONE; }
    void clear() { _data = std::monostate{}; }

    // Same type and equal content (1 and 1.0f are different values).
    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

    // A readable one-line form: strings quoted, "[a, b]" for vectors, "{k: v}" for
    // maps with their keys sorted, "null" for NONE.
    std::string getDescription() const;

private:
    // The alternatives follow the order of Type.
    using Data = std::variant<std::monostate, unsigned char, int, unsigned int, float, double, bool,
                              std::string, std::unique_ptr<ValueVector>, std::unique_ptr<ValueMap>,
                              std::unique_ptr<ValueMapIntKey>>;
    static Data copyData(const Data& data);
    Data _data;
};

}  // namespace engine
