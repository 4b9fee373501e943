#pragma once
// Makers of widget classes a layout may name beyond the built-in types: a class
// name maps to a function that makes one new object of that class (autoreleased,
// or null when it could not). Registering a name again replaces its maker; a maker
// is removed with the key it was registered under, so an older owner cannot take
// away a newer one's entry. Main thread only.
#include <functional>
#include <string>
#include <unordered_map>

#include "engine/base/Ref.h"

namespace studio {

class ObjectFactory {
public:
    using Instance = std::function<engine::Ref*()>;

    struct TInfo {
        std::string _class;
        Instance _fun;
    };

    static ObjectFactory* getInstance();

    // `owner` identifies the registration for removeType.
    void registerType(const TInfo& info, const void* owner = nullptr);
    // Removes the name's maker if `owner` registered the one in place.
    void removeType(const std::string& name, const void* owner);
    bool hasType(const std::string& name) const { return _types.count(name) != 0; }
    // A new object of the named class; null for an unknown name or when its maker made none.
    engine::Ref* createObject(const std::string& name);

private:
    ObjectFactory() = default;
    struct Entry {
        TInfo info;
        const void* owner = nullptr;
    };
    std::unordered_map<std::string, Entry> _types;
};

}  // namespace studio
