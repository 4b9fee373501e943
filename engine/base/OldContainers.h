#pragma once
// The engine's older boxed values and array, still used by scripts and some
// bindings: __Array holds retained objects; __String, __Double, __Float,
// __Integer and __Bool box one value each. Every create() returns an
// autoreleased object.
#include <string>
#include <vector>

#include "engine/base/Ref.h"

namespace engine {

class __Array : public Ref {
public:
    static __Array* create();
    ~__Array() override;
    // Retains the object; a null object is refused.
    void addObject(Ref* object);
    void removeAllObjects();
    size_t count() const { return _data.size(); }
    // nullptr beyond the end.
    Ref* getObjectAtIndex(size_t index) const;
    const std::vector<Ref*>& data() const { return _data; }

private:
    __Array() = default;
    std::vector<Ref*> _data;
};

class __String : public Ref {
public:
    static __String* create(const std::string& text);
    const std::string& getCString() const { return _text; }
    size_t length() const { return _text.size(); }

private:
    explicit __String(std::string text) : _text(std::move(text)) {}
    std::string _text;
};

template <class T>
class BoxedValue : public Ref {
public:
    T getValue() const { return _value; }

protected:
    explicit BoxedValue(T value) : _value(value) {}

private:
    T _value;
};

class __Double : public BoxedValue<double> {
public:
    static __Double* create(double v);

private:
    using BoxedValue::BoxedValue;
};

class __Float : public BoxedValue<float> {
public:
    static __Float* create(float v);

private:
    using BoxedValue::BoxedValue;
};

class __Integer : public BoxedValue<int> {
public:
    static __Integer* create(int v);

private:
    using BoxedValue::BoxedValue;
};

class __Bool : public BoxedValue<bool> {
public:
    static __Bool* create(bool v);

private:
    using BoxedValue::BoxedValue;
};

}  // namespace engine
