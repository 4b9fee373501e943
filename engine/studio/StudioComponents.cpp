#include "engine/studio/StudioComponents.h"

#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"

namespace studio {

ComAttribute* ComAttribute::create() {
    auto* component = new ComAttribute;
    component->setName("CCComAttribute");
    component->autorelease();
    return component;
}

int ComAttribute::getInt(const std::string& key, int def) const {
    auto it = _values.find(key);
    return it != _values.end() ? it->second.asInt() : def;
}

float ComAttribute::getFloat(const std::string& key, float def) const {
    auto it = _values.find(key);
    return it != _values.end() ? it->second.asFloat() : def;
}

bool ComAttribute::getBool(const std::string& key, bool def) const {
    auto it = _values.find(key);
    return it != _values.end() ? it->second.asBool() : def;
}

std::string ComAttribute::getString(const std::string& key, const std::string& def) const {
    auto it = _values.find(key);
    return it != _values.end() ? it->second.asString() : def;
}

bool ComAttribute::parse(const std::string& jsonFile) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string path = jsonFile.empty() ? std::string() : files->fullPathForFilename(jsonFile);
    if (path.empty()) {
        engine::log("ComAttribute: %s: no such file", jsonFile.c_str());
        return false;
    }
    rapidjson::Document document;
    std::string error;
    if (!engine::parseJson(files->getStringFromFile(path), document, &error) || !document.IsObject()) {
        engine::log("ComAttribute: %s: %s", jsonFile.c_str(), error.empty() ? "not an object" : error.c_str());
        return false;
    }
    for (auto it = document.MemberBegin(); it != document.MemberEnd(); ++it) {
        const std::string key(it->name.GetString(), it->name.GetStringLength());
        const rapidjson::Value& value = it->value;
        if (value.IsBool()) {
            setBool(key, value.GetBool());
        } else if (value.IsInt()) {
            setInt(key, value.GetInt());
        } else if (value.IsNumber()) {
            setFloat(key, static_cast<float>(value.GetDouble()));
        } else if (value.IsString()) {
            setString(key, std::string(value.GetString(), value.GetStringLength()));
        }
    }
    return true;
}

ComController* ComController::create() {
    auto* component = new ComController;
    component->setName("CCComController");
    component->autorelease();
    return component;
}

ComExtensionData* ComExtensionData::create() {
    auto* component = new ComExtensionData;
    component->setName("ComExtensionData");
    component->autorelease();
    return component;
}

ComRender* ComRender::create() { return create(nullptr, ""); }

ComRender* ComRender::create(engine::Node* node, const std::string& comName) {
    auto* component = new ComRender;
    component->setName(comName.empty() ? "CCComRender" : comName);
    component->setNode(node);
    component->autorelease();
    return component;
}

ComRender::~ComRender() {
    if (_render) _render->release();
}

void ComRender::setNode(engine::Node* node) {
    if (node == _render) return;
    if (_render && getOwner() && _render->getParent() == getOwner()) _render->removeFromParent();
    engine::assignRetained(_render, node);
    if (_render && getOwner() && !_render->getParent()) getOwner()->addChild(_render);
}

void ComRender::onAdd() {
    if (_render && getOwner() && !_render->getParent()) getOwner()->addChild(_render);
}

void ComRender::onRemove() {
    if (_render && getOwner() && _render->getParent() == getOwner()) _render->removeFromParent();
}

}  // namespace studio
