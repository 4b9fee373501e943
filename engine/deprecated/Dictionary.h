#pragma once
// A string-keyed dictionary of engine objects for older APIs: each value is
// retained while stored; setting a key again releases the value it replaces.
#include <map>
#include <string>

#include "engine/base/Ref.h"

namespace engine {

class __Dictionary : public Ref {
public:
    // A new empty dictionary, autoreleased.
    static __Dictionary* create() {
        auto* dictionary = new __Dictionary;
        dictionary->autorelease();
        return dictionary;
    }
    ~__Dictionary() override {
        for (auto& [key, object] : _objects) object->release();
    }
    // A null object removes the key.
    void setObject(Ref* object, const std::string& key) {
        if (!object) {
            removeObjectForKey(key);
            return;
        }
        object->retain();
        auto [it, inserted] = _objects.emplace(key, object);
        if (!inserted) {
            it->second->release();
            it->second = object;
        }
    }
    Ref* objectForKey(const std::string& key) const {
        auto it = _objects.find(key);
        return it != _objects.end() ? it->second : nullptr;
    }
    void removeObjectForKey(const std::string& key) {
        auto it = _objects.find(key);
        if (it == _objects.end()) return;
        Ref* object = it->second;
        _objects.erase(it);
        object->release();
    }
    size_t count() const { return _objects.size(); }

private:
    __Dictionary() = default;
    std::map<std::string, Ref*> _objects;
};

}  // namespace engine
