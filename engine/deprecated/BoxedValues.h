#pragma once
// Reference-counted boxes around single values, the elements the deprecated
// engine::__Array carries to older APIs. Each value type is its own class, so a
// dynamic cast tells them apart.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "engine/base/Ref.h"

namespace engine {

template <class T>
class __Boxed : public Ref {
public:
    // A new box, autoreleased.
    static __Boxed* create(T value) {
        auto* box = new __Boxed(std::move(value));
        box->autorelease();
        return box;
    }
    const T& getValue() const { return _value; }

protected:
    explicit __Boxed(T value) : _value(std::move(value)) {}

private:
    T _value;
};

using __Double = __Boxed<double>;
using __Float = __Boxed<float>;
using __Integer = __Boxed<int>;
using __Bool = __Boxed<bool>;

// A text. Its number readings parse a leading number as the C library does (0
// when there is none); boolValue is false for "", "0" and "false" only.
class __String : public __Boxed<std::string> {
public:
    static __String* create(const std::string& text) {
        auto* s = new __String(text);
        s->autorelease();
        return s;
    }
    // The first length bytes of data, never more than data holds.
    static __String* createWithData(const std::string& data, size_t length) {
        return create(data.substr(0, std::min(length, data.size())));
    }
    // The file's text; null when it cannot be read.
    static __String* createWithContentsOfFile(const std::string& path);

    const char* getCString() const { return getValue().c_str(); }
    unsigned int length() const { return static_cast<unsigned int>(getValue().size()); }
    int intValue() const { return static_cast<int>(std::strtol(getCString(), nullptr, 10)); }
    unsigned int uintValue() const { return static_cast<unsigned int>(std::strtoul(getCString(), nullptr, 10)); }
    float floatValue() const { return std::strtof(getCString(), nullptr); }
    double doubleValue() const { return std::strtod(getCString(), nullptr); }
    bool boolValue() const { return !getValue().empty() && getValue() != "0" && getValue() != "false"; }
    // Below zero, zero or above zero as the text sorts before, equal to or after other.
    int compare(const char* other) const { return std::strcmp(getCString(), other ? other : ""); }
    // Equal to another string of the same text; any other object is not equal.
    bool isEqual(const Ref* other) const {
        const auto* text = dynamic_cast<const __String*>(other);
        return text && text->getValue() == getValue();
    }

private:
    explicit __String(const std::string& text) : __Boxed(text) {}
};

}  // namespace engine
