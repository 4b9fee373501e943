#include "engine/deprecated/Array.h"

#include <algorithm>
#include <random>

#include "engine/base/Log.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/deprecated/Dictionary.h"
#include "engine/files/FileUtils.h"
#include "engine/files/PropertyList.h"

namespace engine {

__Array* __Array::create() {
    auto* array = new __Array();
    array->autorelease();
    return array;
}

__Array* __Array::createWithObject(Ref* object) {
    __Array* array = create();
    array->addObject(object);
    return array;
}

__Array* __Array::createWithArray(const __Array* other) {
    __Array* array = create();
    array->addObjectsFromArray(other);
    return array;
}

__Array* __Array::createWithCapacity(size_t capacity) {
    if (capacity > kMaxCapacity) {
        log("CCArray: capacity %zu is past the limit of %zu", capacity, kMaxCapacity);
        return nullptr;
    }
    __Array* array = create();
    array->grow(capacity);
    return array;
}

namespace {

Ref* boxed(const Value& value);

__Array* arrayOf(const ValueVector& items) {
    __Array* array = __Array::create();
    for (const Value& item : items) array->addObject(boxed(item));
    return array;
}

Ref* boxed(const Value& value) {
    switch (value.getType()) {
        case Value::Type::VECTOR: return arrayOf(value.asValueVector());
        case Value::Type::MAP: {
            __Dictionary* dictionary = __Dictionary::create();
            for (const auto& [key, item] : value.asValueMap()) dictionary->setObject(boxed(item), key);
            return dictionary;
        }
        default: return __String::create(value.asString());
    }
}

}  // namespace

__Array* __Array::createWithContentsOfFile(const std::string& path) {
    FileUtils* files = FileUtils::getInstance();
    if (path.empty() || !files->isFileExist(path)) return nullptr;
    Value list;
    if (!parsePropertyList(files->getStringFromFile(path), &list) || list.getType() != Value::Type::VECTOR) {
        log("CCArray: '%s' holds no property-list array", path.c_str());
        return create();
    }
    return arrayOf(list.asValueVector());
}

__Array::~__Array() { removeAllObjects(); }

void __Array::grow(size_t needed) {
    if (needed <= _capacity) return;
    _capacity = needed;
    _objects.reserve(needed);
}

size_t __Array::getIndexOfObject(const Ref* object) const {
    auto it = std::find(_objects.begin(), _objects.end(), object);
    return it == _objects.end() ? kNotFound : static_cast<size_t>(it - _objects.begin());
}

Ref* __Array::getRandomObject() const {
    if (_objects.empty()) return nullptr;
    static std::minstd_rand generator{std::random_device{}()};
    return _objects[std::uniform_int_distribution<size_t>(0, _objects.size() - 1)(generator)];
}

bool __Array::isEqualToArray(const __Array* other) const { return other && other->_objects == _objects; }

void __Array::addObject(Ref* object) { insertObject(object, _objects.size()); }

void __Array::addObjectsFromArray(const __Array* other) {
    if (!other || other == this) {
        if (other) {
            const std::vector<Ref*> copy = _objects;
            for (Ref* object : copy) addObject(object);
        }
        return;
    }
    for (Ref* object : other->_objects) addObject(object);
}

void __Array::insertObject(Ref* object, size_t index) {
    if (!object || index > _objects.size()) return;
    if (_objects.size() == _capacity) grow(std::max<size_t>(1, _capacity * 2));
    object->retain();
    _objects.insert(_objects.begin() + static_cast<std::ptrdiff_t>(index), object);
}

void __Array::setObject(Ref* object, size_t index) { replaceObjectAtIndex(index, object, true); }

void __Array::takeOut(size_t index, bool releaseObj) {
    Ref* object = _objects[index];
    _objects.erase(_objects.begin() + static_cast<std::ptrdiff_t>(index));
    if (releaseObj) object->release();
}

void __Array::removeLastObject(bool releaseObj) {
    if (!_objects.empty()) takeOut(_objects.size() - 1, releaseObj);
}

void __Array::removeObject(Ref* object, bool releaseObj) {
    const size_t index = getIndexOfObject(object);
    if (index != kNotFound) takeOut(index, releaseObj);
}

void __Array::removeObjectAtIndex(size_t index, bool releaseObj) {
    if (index < _objects.size()) takeOut(index, releaseObj);
}

void __Array::removeObjectsInArray(const __Array* other) {
    if (!other) return;
    const std::vector<Ref*> doomed = other->_objects;
    for (Ref* object : doomed) removeObject(object, true);
}

void __Array::removeAllObjects() {
    std::vector<Ref*> doomed;
    doomed.swap(_objects);
    for (Ref* object : doomed) object->release();
}

void __Array::fastRemoveObject(Ref* object) { fastRemoveObjectAtIndex(getIndexOfObject(object)); }

void __Array::fastRemoveObjectAtIndex(size_t index) {
    if (index >= _objects.size()) return;
    Ref* object = _objects[index];
    _objects[index] = _objects.back();
    _objects.pop_back();
    object->release();
}

void __Array::exchangeObject(Ref* first, Ref* second) {
    exchangeObjectAtIndex(getIndexOfObject(first), getIndexOfObject(second));
}

void __Array::exchangeObjectAtIndex(size_t first, size_t second) {
    if (first < _objects.size() && second < _objects.size()) std::swap(_objects[first], _objects[second]);
}

void __Array::reverseObjects() { std::reverse(_objects.begin(), _objects.end()); }

void __Array::reduceMemoryFootprint() {
    _objects.shrink_to_fit();
    _capacity = _objects.size();
}

void __Array::replaceObjectAtIndex(size_t index, Ref* object, bool releaseObj) {
    if (!object || index >= _objects.size()) return;
    object->retain();
    Ref* old = _objects[index];
    _objects[index] = object;
    if (releaseObj) old->release();
}

}  // namespace engine
