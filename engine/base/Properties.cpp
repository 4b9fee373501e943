#include "engine/base/Properties.h"

#include "engine/base/Value.h"

namespace engine {

Properties::Properties(std::string namespaceName, std::string id)
    : _namespace(std::move(namespaceName)), _id(std::move(id)) {}

Properties::~Properties() = default;

Properties* Properties::getNamespace(const std::string& id, bool searchNames, bool recurse) const {
    for (const auto& child : _namespaces) {
        if ((searchNames ? child->_namespace : child->_id) == id) return child.get();
        if (recurse) {
            if (Properties* found = child->getNamespace(id, searchNames, true)) return found;
        }
    }
    return nullptr;
}

Properties* Properties::addNamespace(std::unique_ptr<Properties> child) {
    if (!child) return nullptr;
    _namespaces.push_back(std::move(child));
    return _namespaces.back().get();
}

std::unique_ptr<Properties> Properties::takeNamespace(const Properties* child) {
    for (auto it = _namespaces.begin(); it != _namespaces.end(); ++it) {
        if (it->get() != child) continue;
        std::unique_ptr<Properties> taken = std::move(*it);
        _namespaces.erase(it);
        return taken;
    }
    return nullptr;
}

const std::string* Properties::find(const std::string& name) const {
    const auto it = _index.find(name);
    return it == _index.end() ? nullptr : &_properties[it->second].second;
}

bool Properties::exists(const std::string& name) const { return find(name) != nullptr; }

std::string Properties::getString(const std::string& name, const std::string& defaultValue) const {
    const std::string* value = find(name);
    return value ? *value : defaultValue;
}

bool Properties::getBool(const std::string& name, bool defaultValue) const {
    const std::string* value = find(name);
    return value ? Value(*value).asBool() : defaultValue;
}

int Properties::getInt(const std::string& name) const {
    const std::string* value = find(name);
    return value ? Value(*value).asInt() : 0;
}

float Properties::getFloat(const std::string& name) const {
    const std::string* value = find(name);
    return value ? Value(*value).asFloat() : 0.f;
}

void Properties::setString(const std::string& name, const std::string& value) {
    const auto [it, added] = _index.try_emplace(name, _properties.size());
    if (!added) {
        _properties[it->second].second = value;
        return;
    }
    _properties.emplace_back(name, value);
}

std::vector<const Properties*> Properties::getNamespaces() const {
    std::vector<const Properties*> children;
    children.reserve(_namespaces.size());
    for (const auto& child : _namespaces) children.push_back(child.get());
    return children;
}

}  // namespace engine
