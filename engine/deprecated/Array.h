#pragma once
// engine::__Array: the deprecated reference-counted list of engine objects that older
// APIs still take. It retains what it holds and releases it when removed (unless the
// caller asks to keep it alive) or when the array goes. Indices count from 0; an index
// at or past the count reads null and changes nothing, except that inserting at the
// count appends. Main thread only.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/base/Ref.h"

namespace engine {

class __Array : public Ref {
public:
    static constexpr size_t kNotFound = static_cast<size_t>(-1);
    // The most a capacity may reserve (32 MiB of pointers).
    static constexpr size_t kMaxCapacity = size_t{1} << 22;

    // New arrays, autoreleased.
    static __Array* create();
    static __Array* createWithObject(Ref* object);
    static __Array* createWithArray(const __Array* other);
    // Null (with a log line) for a capacity past kMaxCapacity.
    static __Array* createWithCapacity(size_t capacity);
    // The array of a property-list file (engine/files/PropertyList.h) whose top
    // value is an array: nested arrays become arrays, dictionaries dictionaries,
    // every other value a string of its text. Empty when the file holds no
    // such array; null when it cannot be read.
    static __Array* createWithContentsOfFile(const std::string& path);

    ~__Array() override;

    size_t count() const { return _objects.size(); }
    size_t capacity() const { return _capacity; }
    size_t getIndexOfObject(const Ref* object) const;
    Ref* getObjectAtIndex(size_t index) const { return index < _objects.size() ? _objects[index] : nullptr; }
    Ref* getLastObject() const { return _objects.empty() ? nullptr : _objects.back(); }
    Ref* getRandomObject() const;
    bool containsObject(const Ref* object) const { return getIndexOfObject(object) != kNotFound; }
    bool isEqualToArray(const __Array* other) const;

    void addObject(Ref* object);
    void addObjectsFromArray(const __Array* other);
    void insertObject(Ref* object, size_t index);
    void setObject(Ref* object, size_t index);
    void removeLastObject(bool releaseObj = true);
    void removeObject(Ref* object, bool releaseObj = true);
    void removeObjectAtIndex(size_t index, bool releaseObj = true);
    void removeObjectsInArray(const __Array* other);
    void removeAllObjects();
    void fastRemoveObject(Ref* object);
    void fastRemoveObjectAtIndex(size_t index);
    void exchangeObject(Ref* first, Ref* second);
    void exchangeObjectAtIndex(size_t first, size_t second);
    void reverseObjects();
    void reduceMemoryFootprint();
    void replaceObjectAtIndex(size_t index, Ref* object, bool releaseObj = true);

    auto begin() const { return _objects.begin(); }
    auto end() const { return _objects.end(); }

private:
    __Array() = default;
    void grow(size_t needed);
    // Takes the element out; releases it when asked (an element kept alive stays
    // with one reference the caller owes).
    void takeOut(size_t index, bool releaseObj);

    std::vector<Ref*> _objects;
    size_t _capacity = 0;
};

}  // namespace engine
