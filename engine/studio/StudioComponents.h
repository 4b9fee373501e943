#pragma once
// The components a scene file's objects carry (engine/scene/Component.h):
// - ComAttribute: named values (numbers, booleans, texts), set by scripts or read
//   from a JSON file holding one object of such values;
// - ComController: a component scripts drive through its enabled state and name;
// - ComExtensionData: a node's custom property text and action tag;
// - ComRender: shows a node as a child of its owner while attached.
// Main thread only.
#include <string>

#include "engine/base/Value.h"
#include "engine/scene/Component.h"
#include "engine/scene/Node.h"

namespace studio {

class ComAttribute : public engine::Component {
public:
    static ComAttribute* create();  // named "CCComAttribute"

    void setInt(const std::string& key, int value) { _values[key] = engine::Value(value); }
    void setFloat(const std::string& key, float value) { _values[key] = engine::Value(value); }
    void setBool(const std::string& key, bool value) { _values[key] = engine::Value(value); }
    void setString(const std::string& key, const std::string& value) { _values[key] = engine::Value(value); }
    // The value under key converted, or def when there is none.
    int getInt(const std::string& key, int def = 0) const;
    float getFloat(const std::string& key, float def = 0.f) const;
    bool getBool(const std::string& key, bool def = false) const;
    std::string getString(const std::string& key, const std::string& def = "") const;
    const engine::ValueMap& getDict() const { return _values; }
    // Adds the values of a JSON file's top object (numbers, booleans and texts;
    // others are skipped); false, with a log line, when it cannot be read.
    bool parse(const std::string& jsonFile);

private:
    ComAttribute() = default;
    engine::ValueMap _values;
};

class ComController : public engine::Component {
public:
    static ComController* create();  // named "CCComController"

private:
    ComController() = default;
};

class ComExtensionData : public engine::Component {
public:
    static ComExtensionData* create();  // named "ComExtensionData"
    void setCustomProperty(const std::string& property) { _customProperty = property; }
    const std::string& getCustomProperty() const { return _customProperty; }
    void setActionTag(int tag) { _actionTag = tag; }
    int getActionTag() const { return _actionTag; }

private:
    ComExtensionData() = default;
    std::string _customProperty;
    int _actionTag = 0;
};

class ComRender : public engine::Component {
public:
    static ComRender* create();
    // The node (retained) shown under the component's name ("CCComRender" when empty).
    static ComRender* create(engine::Node* node, const std::string& comName);
    ~ComRender() override;
    engine::Node* getNode() const { return _render; }
    void setNode(engine::Node* node);
    void onAdd() override;
    void onRemove() override;

private:
    ComRender() = default;
    engine::Node* _render = nullptr;
};

}  // namespace studio
