#pragma once
// Reference-counted boxes around single values, the elements the deprecated
// engine::__Array carries to older APIs. Each value type is its own class, so a
// dynamic cast tells them apart.
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

class __String : public __Boxed<std::string> {
public:
    static __String* create(const std::string& text) {
        auto* s = new __String(text);
        s->autorelease();
        return s;
    }
    const char* getCString() const { return getValue().c_str(); }

private:
    explicit __String(const std::string& text) : __Boxed(text) {}
};

}  // namespace engine
