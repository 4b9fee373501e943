#include "engine/studio/ObjectFactory.h"

namespace studio {

ObjectFactory* ObjectFactory::getInstance() {
    static ObjectFactory instance;
    return &instance;
}

void ObjectFactory::registerType(const TInfo& info, const void* owner) {
    _types.insert_or_assign(info._class, Entry{info, owner});
}

void ObjectFactory::removeType(const std::string& name, const void* owner) {
    auto found = _types.find(name);
    if (found != _types.end() && found->second.owner == owner) _types.erase(found);
}

engine::Ref* ObjectFactory::createObject(const std::string& name) {
    auto found = _types.find(name);
    if (found == _types.end() || !found->second.info._fun) return nullptr;
    // A copy: the maker may run a script that registers the name again.
    const Instance make = found->second.info._fun;
    return make();
}

}  // namespace studio
