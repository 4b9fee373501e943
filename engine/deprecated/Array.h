#pragma once
// engine::__Array: the deprecated reference-counted list of engine objects that older
// APIs still take. It retains what it holds and releases it when removed or destroyed.
#include <cstddef>

#include "engine/base/Ref.h"
#include "engine/base/Vector.h"

namespace engine {

class __Array : public Ref {
public:
    // A new empty array, autoreleased.
    static __Array* create() {
        auto* array = new __Array();
        array->autorelease();
        return array;
    }

    size_t count() const { return _objects.size(); }
    Ref* getObjectAtIndex(size_t index) const { return _objects.at(index); }
    void addObject(Ref* object) { _objects.pushBack(object); }
    void removeAllObjects() { _objects.clear(); }

    auto begin() const { return _objects.begin(); }
    auto end() const { return _objects.end(); }

private:
    __Array() = default;
    Vector<Ref*> _objects;
};

}  // namespace engine
