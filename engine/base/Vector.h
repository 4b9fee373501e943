#pragma once
// engine::Vector<T>: an ordered list of engine objects (T is a pointer to a class
// derived from engine::Ref) that holds one reference on each element. Adding retains,
// removing and clearing release, copies retain every element again and the
// destructor releases them all. Null pointers are never stored.
#include <algorithm>
#include <cassert>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/base/Ref.h"

namespace engine {

template <class T>
class Vector {
    static_assert(std::is_pointer_v<T> &&
                      std::is_convertible_v<T, const Ref*>,
                  "engine::Vector holds pointers to engine::Ref objects");

public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    Vector() = default;
    Vector(const Vector& other) : _data(other._data) { retainAll(); }
    Vector(Vector&& other) noexcept : _data(std::move(other._data)) { other._data.clear(); }
    ~Vector() { clear(); }

    Vector& operator=(const Vector& other) {
        if (this != &other) {
            Vector copy(other);
            swap(copy);
        }
        return *this;
    }
    Vector& operator=(Vector&& other) noexcept {
        if (this != &other) {
            clear();
            _data = std::move(other._data);
            other._data.clear();
        }
        return *this;
    }
    void swap(Vector& other) noexcept { _data.swap(other._data); }

    size_t size() const { return _data.size(); }
    bool empty() const { return _data.empty(); }
    void reserve(size_t n) { _data.reserve(n); }

    T at(size_t index) const {
        assert(index < _data.size());
        return _data[index];
    }
    T front() const { return at(0); }
    T back() const { return at(_data.size() - 1); }
    bool contains(T object) const { return std::find(_data.begin(), _data.end(), object) != _data.end(); }
    // Position of the first occurrence, -1 when absent.
    ptrdiff_t getIndex(T object) const {
        auto it = std::find(_data.begin(), _data.end(), object);
        return it == _data.end() ? -1 : it - _data.begin();
    }

    iterator begin() { return _data.begin(); }
    iterator end() { return _data.end(); }
    const_iterator begin() const { return _data.begin(); }
    const_iterator end() const { return _data.end(); }

    // Appends and retains; a null object is ignored.
    void pushBack(T object) {
        if (!object) return;
        object->retain();
        _data.push_back(object);
    }
    void pushBack(const Vector& other) {
        for (T object : other._data) pushBack(object);
    }
    // Inserts before position index (at most size()) and retains; null is ignored.
    void insert(size_t index, T object) {
        assert(index <= _data.size());
        if (!object) return;
        object->retain();
        _data.insert(_data.begin() + static_cast<ptrdiff_t>(index), object);
    }
    void popBack() {
        assert(!_data.empty());
        T last = _data.back();
        _data.pop_back();
        last->release();
    }
    void erase(size_t index) {
        assert(index < _data.size());
        T object = _data[index];
        _data.erase(_data.begin() + static_cast<ptrdiff_t>(index));
        object->release();
    }
    // Removes the first occurrence (every occurrence when removeAll) and releases it.
    void eraseObject(T object, bool removeAll = false) {
        for (auto it = _data.begin(); it != _data.end();) {
            if (*it == object) {
                it = _data.erase(it);
                object->release();
                if (!removeAll) return;
            } else {
                ++it;
            }
        }
    }
    void clear() {
        // Detach first: releasing may destroy objects that look at this vector.
        std::vector<T> old;
        old.swap(_data);
        for (T object : old) object->release();
    }

private:
    void retainAll() {
        for (T object : _data) object->retain();
    }

    std::vector<T> _data;
};

}  // namespace engine
