#include "engine/base/OldContainers.h"

namespace engine {

__Array* __Array::create() {
    auto* array = new __Array;
    array->autorelease();
    return array;
}

__Array::~__Array() { removeAllObjects(); }

void __Array::addObject(Ref* object) {
    if (!object) return;
    object->retain();
    _data.push_back(object);
}

void __Array::removeAllObjects() {
    std::vector<Ref*> objects;
    objects.swap(_data);
    for (Ref* object : objects) object->release();
}

Ref* __Array::getObjectAtIndex(size_t index) const {
    return index < _data.size() ? _data[index] : nullptr;
}

__String* __String::create(const std::string& text) {
    auto* s = new __String(text);
    s->autorelease();
    return s;
}


__Double* __Double::create(double v) {
    auto* box = new __Double(v);
    box->autorelease();
    return box;
}

__Float* __Float::create(float v) {
    auto* box = new __Float(v);
    box->autorelease();
    return box;
}

__Integer* __Integer::create(int v) {
    auto* box = new __Integer(v);
    box->autorelease();
    return box;
}

__Bool* __Bool::create(bool v) {
    auto* box = new __Bool(v);
    box->autorelease();
    return box;
}

}  // namespace engine
