#pragma once
// Reference-counted boxes around single values, the elements the deprecated
// engine::__Array carries to older APIs.
#include <string>
#include <utility>

#include "engine/base/Ref.h"

namespace engine {

template <class T>
class __Boxed : public Ref {
public:
    const T& getValue() const { return _value; }

protected:
    explicit __Boxed(T value) : _value(std::move(value)) {}

private:
    T _value;
};

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

class __Double : public __Boxed<double> {
public:
    static __Double* create(double v) {
        auto* box = new __Double(v);
        box->autorelease();
        return box;
    }

private:
    explicit __Double(double v) : __Boxed(v) {}
};

class __Float : public __Boxed<float> {
public:
    static __Float* create(float v) {
        auto* box = new __Float(v);
        box->autorelease();
        return box;
    }

private:
    explicit __Float(float v) : __Boxed(v) {}
};

class __Integer : public __Boxed<int> {
public:
    static __Integer* create(int v) {
        auto* box = new __Integer(v);
        box->autorelease();
        return box;
    }

private:
    explicit __Integer(int v) : __Boxed(v) {}
};

class __Bool : public __Boxed<bool> {
public:
    static __Bool* create(bool v) {
        auto* box = new __Bool(v);
        box->autorelease();
        return box;
    }

private:
    explicit __Bool(bool v) : __Boxed(v) {}
};

}  // namespace engine
