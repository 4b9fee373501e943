#pragma once
// engine::Map<K, V>: an unordered map from keys to engine objects (V is a pointer to a
// class derived from engine::Ref) that holds one reference on each value. Inserting
// retains the new value and releases the one it replaces, erasing and clearing
// release, copies retain every value again and the destructor releases them all.
// Null values are never stored.
#include <cstddef>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/base/Ref.h"

namespace engine {

template <class K, class V>
class Map {
    static_assert(std::is_pointer_v<V> && std::is_convertible_v<V, const Ref*>,
                  "engine::Map holds pointers to engine::Ref objects");

public:
    using iterator = typename std::unordered_map<K, V>::iterator;
    using const_iterator = typename std::unordered_map<K, V>::const_iterator;

    Map() = default;
    Map(const Map& other) : _data(other._data) {
        for (auto& entry : _data) entry.second->retain();
    }
    Map(Map&& other) noexcept : _data(std::move(other._data)) { other._data.clear(); }
    ~Map() { clear(); }

    Map& operator=(const Map& other) {
        if (this != &other) {
            Map copy(other);
            _data.swap(copy._data);
        }
        return *this;
    }
    Map& operator=(Map&& other) noexcept {
        if (this != &other) {
            clear();
            _data = std::move(other._data);
            other._data.clear();
        }
        return *this;
    }

    size_t size() const { return _data.size(); }
    bool empty() const { return _data.empty(); }

    // The value under key, nullptr when there is none.
    V at(const K& key) const {
        auto it = _data.find(key);
        return it == _data.end() ? nullptr : it->second;
    }
    iterator find(const K& key) { return _data.find(key); }
    const_iterator find(const K& key) const { return _data.find(key); }
    std::vector<K> keys() const {
        std::vector<K> result;
        result.reserve(_data.size());
        for (const auto& entry : _data) result.push_back(entry.first);
        return result;
    }

    iterator begin() { return _data.begin(); }
    iterator end() { return _data.end(); }
    const_iterator begin() const { return _data.begin(); }
    const_iterator end() const { return _data.end(); }

    // Stores object under key (retained); the value it replaces is released. A null
    // object is ignored.
    void insert(const K& key, V object) {
        if (!object) return;
        object->retain();
        auto [it, added] = _data.emplace(key, object);
        if (!added) {
            V old = it->second;
            it->second = object;
            old->release();
        }
    }
    // Removes and releases the value under key; false when there is none.
    bool erase(const K& key) {
        auto it = _data.find(key);
        if (it == _data.end()) return false;
        V object = it->second;
        _data.erase(it);
        object->release();
        return true;
    }
    void clear() {
        std::unordered_map<K, V> old;
        old.swap(_data);
        for (auto& entry : old) entry.second->release();
    }

private:
    std::unordered_map<K, V> _data;
};

}  // namespace engine
