#include "engine/studio/GUIReader.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cfloat>
#include <cmath>
#include <optional>

#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/studio/NodeSpec.h"
#include "engine/studio/ObjectFactory.h"

namespace studio {

using engine::ui::Widget;

namespace {

class TreeBuilder {
public:
    explicit TreeBuilder(const std::string& source) : _source(source) {}

    // The widget of `object` with its subtree; nullptr (after a log line) when any
    // part of it is refused. Recursion is bounded by kMaxDepth.
    Widget* build(const rapidjson::Value& object, int depth) {
        if (depth > GUIReader::kMaxDepth) return refuse("widgets nested too deeply");
        if (!object.IsObject()) return refuse("a widget is not an object");
        NodeSpec spec;
        if (!readString(object, "type", &spec.type, true) || !readString(object, "name", &spec.name, false) ||
            !readString(object, "text", &spec.text, false) || !readString(object, "image", &spec.image, false) ||
            !readNumber(object, "fontSize", &spec.fontSize) || !readNumber(object, "percent", &spec.percent)) {
            return nullptr;
        }
        engine::Vec2 pair;
        bool found = false;
        if (!readPair(object, "position", &pair, &found)) return nullptr;
        if (found) spec.position = pair;
        if (!readPair(object, "size", &pair, &found)) return nullptr;
        if (found) spec.size = engine::Size(pair.x, pair.y);
        if (const rapidjson::Value* visible = engine::jsonMember(object, "visible")) {
            if (!visible->IsBool()) return refuse("'visible' is not a boolean");
            spec.visible = visible->GetBool();
        }
        if (const rapidjson::Value* options = engine::jsonMember(object, "options")) {
            if (!options->IsObject()) return refuse("'options' is not an object");
            rapidjson::StringBuffer text;
            text.Reserve(256);
            rapidjson::Writer<rapidjson::StringBuffer> writer(text);
            options->Accept(writer);
            spec.options.assign(text.GetString(), text.GetSize());
        }
        const rapidjson::Value* children = engine::jsonMember(object, "children");
        if (children && !children->IsArray()) return refuse("'children' is not an array");
        std::string why;
        Widget* widget = createWidget(spec, &why);
        if (!widget) return refuse(why);
        if (children) {
            for (const rapidjson::Value& item : children->GetArray()) {
                Widget* child = build(item, depth + 1);
                if (!child) return nullptr;
                widget->addChild(child);
            }
        }
        return widget;
    }

private:
    Widget* refuse(const std::string& why) {
        engine::log("GUIReader: %s: %s", _source.c_str(), why.c_str());
        return nullptr;
    }

    bool readString(const rapidjson::Value& object, const char* key, std::string* out, bool required) {
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) {
            if (required) refuse(std::string("a widget has no '") + key + "'");
            return !required;
        }
        if (!value->IsString()) {
            refuse(std::string("'") + key + "' is not a string");
            return false;
        }
        out->assign(value->GetString(), value->GetStringLength());
        return true;
    }

    // A JSON number as a float; numbers beyond the float range are refused.
    static bool toFloat(const rapidjson::Value& value, float* out) {
        if (!value.IsNumber()) return false;
        const double d = value.GetDouble();
        if (!(std::fabs(d) <= FLT_MAX)) return false;
        *out = static_cast<float>(d);
        return true;
    }

    bool readNumber(const rapidjson::Value& object, const char* key, std::optional<float>* out) {
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) return true;
        float number = 0.f;
        if (!toFloat(*value, &number)) {
            refuse(std::string("'") + key + "' is not a number");
            return false;
        }
        *out = number;
        return true;
    }

    bool readPair(const rapidjson::Value& object, const char* key, engine::Vec2* out, bool* found) {
        *found = false;
        const rapidjson::Value* value = engine::jsonMember(object, key);
        if (!value) return true;
        if (!value->IsArray() || value->Size() != 2 || !toFloat((*value)[0], &out->x) ||
            !toFloat((*value)[1], &out->y)) {
            refuse(std::string("'") + key + "' is not a pair of numbers");
            return false;
        }
        *found = true;
        return true;
    }

    const std::string& _source;
};

}  // namespace

GUIReader* GUIReader::getInstance() {
    static GUIReader instance;
    return &instance;
}

// The factory is made first, so that it outlives this reader: readers released
// by the destructor take their makers out of it.
GUIReader::GUIReader() { ObjectFactory::getInstance(); }

GUIReader::~GUIReader() {
    for (auto& [name, object] : _parseObjects) object->release();
}

void GUIReader::registerTypeAndCallBack(const std::string& classType, engine::Ref* object, ParseCallback callback) {
    if (object) object->retain();
    auto found = _parseObjects.find(classType);
    engine::Ref* old = found != _parseObjects.end() ? found->second : nullptr;
    if (object) {
        _parseObjects[classType] = object;
    } else if (found != _parseObjects.end()) {
        _parseObjects.erase(found);
    }
    if (callback) {
        _parseCallbacks[classType] = std::move(callback);
    } else {
        _parseCallbacks.erase(classType);
    }
    // Last: the old reader's destructor may look at the maps.
    if (old) old->release();
}

engine::Ref* GUIReader::getParseObject(const std::string& classType) const {
    auto found = _parseObjects.find(classType);
    return found != _parseObjects.end() ? found->second : nullptr;
}

void GUIReader::applyCustomOptions(const std::string& classType, engine::Ref* widget, const std::string& options) {
    auto found = _parseCallbacks.find(classType);
    if (found == _parseCallbacks.end()) return;
    // A copy: the callback runs a script, which may register the class again.
    const ParseCallback callback = found->second;
    callback(classType, widget, options.empty() ? "{}" : options);
}

Widget* GUIReader::widgetFromJsonFile(const std::string& fileName) {
    auto* files = engine::FileUtils::getInstance();
    if (!files->isFileExist(fileName)) return nullptr;
    return widgetFromJsonText(files->getStringFromFile(fileName), fileName);
}

Widget* GUIReader::widgetFromJsonText(std::string_view text, const std::string& source) {
    rapidjson::Document document;
    std::string error;
    if (!engine::parseJson(text, document, &error)) {
        engine::log("GUIReader: %s: %s", source.c_str(), error.c_str());
        return nullptr;
    }
    // Widgets made before a refusal are autoreleased and go with the pool.
    return TreeBuilder(source).build(document, 0);
}

}  // namespace studio
