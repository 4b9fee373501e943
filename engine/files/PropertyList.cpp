#include "engine/files/PropertyList.h"

#include <tinyxml2.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace engine {

namespace {

constexpr int kMaxDepth = 32;

bool readValue(const tinyxml2::XMLElement* element, int depth, Value* out);

bool readDict(const tinyxml2::XMLElement* element, int depth, Value* out) {
    ValueMap map;
    for (const tinyxml2::XMLElement* key = element->FirstChildElement(); key; key = key->NextSiblingElement()) {
        if (std::string_view(key->Name()) != "key") return false;
        const tinyxml2::XMLElement* value = key->NextSiblingElement();
        if (!value) return false;
        Value read;
        if (!readValue(value, depth + 1, &read)) return false;
        map.insert_or_assign(key->GetText() ? key->GetText() : "", std::move(read));
        key = value;
    }
    *out = Value(std::move(map));
    return true;
}

bool readValue(const tinyxml2::XMLElement* element, int depth, Value* out) {
    if (depth > kMaxDepth) return false;
    const std::string_view name = element->Name();
    const char* text = element->GetText() ? element->GetText() : "";
    if (name == "dict") return readDict(element, depth, out);
    if (name == "array") {
        ValueVector items;
        for (const tinyxml2::XMLElement* item = element->FirstChildElement(); item; item = item->NextSiblingElement()) {
            Value read;
            if (!readValue(item, depth + 1, &read)) return false;
            items.push_back(std::move(read));
        }
        *out = Value(std::move(items));
    } else if (name == "string" || name == "key") {
        *out = Value(text);
    } else if (name == "integer" || name == "real") {
        *out = Value(std::strtod(text, nullptr));
    } else if (name == "true" || name == "false") {
        *out = Value(name == "true");
    } else {
        *out = Value();
    }
    return true;
}

}  // namespace

bool parsePropertyList(std::string_view text, Value* out) {
    tinyxml2::XMLDocument document;
    if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return false;
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root) return false;
    const tinyxml2::XMLElement* top = std::string_view(root->Name()) == "plist" ? root->FirstChildElement() : root;
    if (!top) return false;
    return readValue(top, 0, out);
}

}  // namespace engine
