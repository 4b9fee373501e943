#include "engine/studio/CsdReader.h"

#include <tinyxml2.h>

#include <charconv>
#include <cstring>
#include <initializer_list>

#include "engine/base/Log.h"
#include "engine/studio/CSLoader.h"
#include "engine/studio/NodeSpec.h"

namespace studio {

using tinyxml2::XMLElement;

namespace {

constexpr int kMaxFrameIndex = 1000000;
constexpr float kMaxSpeed = 1000.f;

class CsdBuilder {
public:
    explicit CsdBuilder(const std::string& source) : _source(source) {}

    CsdContent read(std::string_view text) {
        tinyxml2::XMLDocument document;
        if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) {
            refuse(std::string("not XML: ") + document.ErrorName());
            return {};
        }
        const XMLElement* root = document.RootElement();
        if (!root || std::strcmp(root->Name(), "SceneFile") != 0) {
            refuse("the root element is not SceneFile");
            return {};
        }
        const XMLElement *treeElement = nullptr, *timelineElement = nullptr, *group = nullptr;
        for (const XMLElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
            const XMLElement** slot = nullptr;
            if (std::strcmp(e->Name(), "Node") == 0) slot = &treeElement;
            if (std::strcmp(e->Name(), "Timeline") == 0) slot = &timelineElement;
            if (std::strcmp(e->Name(), "PropertyGroup") == 0) slot = &group;
            if (!slot) return refuseContent(std::string("unknown element '") + e->Name() + "'");
            if (*slot) return refuseContent(std::string("more than one ") + e->Name());
            *slot = e;
        }
        if (!treeElement) return refuseContent("no Node");
        CsdContent content;
        if (timelineElement && !(content.timeline = buildTimeline(*timelineElement))) return {};
        if (!(content.tree = buildNode(*treeElement, 0))) return {};
        return content;
    }

private:
    void refuse(const std::string& why) { engine::log("CSLoader: %s: %s", _source.c_str(), why.c_str()); }
    CsdContent refuseContent(const std::string& why) {
        refuse(why);
        return {};
    }
    template <class T>
    T* refuseAs(const std::string& why) {
        refuse(why);
        return nullptr;
    }

    // Every attribute of `element` is one of `known`.
    bool onlyKnownAttributes(const XMLElement& element, std::initializer_list<const char*> known) {
        for (const tinyxml2::XMLAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
            bool found = false;
            for (const char* name : known) found = found || std::strcmp(a->Name(), name) == 0;
            if (!found) {
                refuse(std::string("unknown attribute '") + a->Name() + "' on " + element.Name());
                return false;
            }
        }
        return true;
    }

    bool readFloat(const XMLElement& element, const char* name, std::optional<float>* out) {
        const char* text = element.Attribute(name);
        if (!text) return true;
        float value = 0.f;
        const char* end = text + std::strlen(text);
        auto [next, error] = std::from_chars(text, end, value);
        if (error != std::errc() || next != end || !isUsableFloat(value)) {
            refuse(std::string("'") + name + "' is not a finite number");
            return false;
        }
        *out = value;
        return true;
    }

    bool readInt(const XMLElement& element, const char* name, int low, int high, std::optional<int>* out) {
        const char* text = element.Attribute(name);
        if (!text) return true;
        int value = 0;
        const char* end = text + std::strlen(text);
        auto [next, error] = std::from_chars(text, end, value);
        if (error != std::errc() || next != end || value < low || value > high) {
            refuse(std::string("'") + name + "' is not a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high));
            return false;
        }
        *out = value;
        return true;
    }

    bool readBool(const XMLElement& element, const char* name, std::optional<bool>* out) {
        const char* text = element.Attribute(name);
        if (!text) return true;
        if (std::strcmp(text, "true") != 0 && std::strcmp(text, "false") != 0) {
            refuse(std::string("'") + name + "' is neither true nor false");
            return false;
        }
        *out = std::strcmp(text, "true") == 0;
        return true;
    }

    // Two attributes that come together.
    bool readPair(const XMLElement& element, const char* first, const char* second, std::optional<engine::Vec2>* out) {
        std::optional<float> x, y;
        if (!readFloat(element, first, &x) || !readFloat(element, second, &y)) return false;
        if (x.has_value() != y.has_value()) {
            refuse(std::string("'") + first + "' and '" + second + "' come together");
            return false;
        }
        if (x) *out = engine::Vec2(*x, *y);
        return true;
    }

    static void readString(const XMLElement& element, const char* name, std::string* out) {
        if (const char* text = element.Attribute(name)) *out = text;
    }

    engine::Node* buildNode(const XMLElement& element, int depth) {
        if (depth > engine::CSLoader::kMaxDepth) return refuseAs<engine::Node>("nodes nested too deeply");
        if (!onlyKnownAttributes(element, {"Type", "Name", "X", "Y", "Width", "Height", "Visible", "Text",
                                           "FontSize", "Image", "Percent", "PercentX", "PercentY",
                                           "PercentWidth", "PercentHeight"})) {
            return nullptr;
        }
        NodeSpec spec;
        const char* type = element.Attribute("Type");
        if (!type) return refuseAs<engine::Node>("a Node has no 'Type'");
        spec.type = type;
        readString(element, "Name", &spec.name);
        readString(element, "Text", &spec.text);
        readString(element, "Image", &spec.image);
        std::optional<engine::Vec2> size, percentSize;
        if (!readPair(element, "X", "Y", &spec.position) || !readPair(element, "Width", "Height", &size) ||
            !readPair(element, "PercentX", "PercentY", &spec.layout.percentPosition) ||
            !readPair(element, "PercentWidth", "PercentHeight", &percentSize) ||
            !readBool(element, "Visible", &spec.visible) || !readFloat(element, "FontSize", &spec.fontSize) ||
            !readFloat(element, "Percent", &spec.percent)) {
            return nullptr;
        }
        if (size) spec.size = engine::Size(size->x, size->y);
        if (percentSize) spec.layout.percentSize = engine::Size(percentSize->x, percentSize->y);

        std::string why;
        engine::Node* node = createNode(spec, &why);
        if (!node) return refuseAs<engine::Node>(why);
        for (const XMLElement* e = element.FirstChildElement(); e; e = e->NextSiblingElement()) {
            if (std::strcmp(e->Name(), "Node") != 0) {
                return refuseAs<engine::Node>(std::string("unknown element '") + e->Name() + "' in a Node");
            }
            engine::Node* child = buildNode(*e, depth + 1);
            if (!child) return nullptr;
            node->addChild(child);
        }
        return node;
    }

    bool readFrame(const XMLElement& element, timeline::TimelineProperty property, int duration,
                   timeline::Keyframe* frame) {
        using timeline::TimelineProperty;
        const bool pair = property == TimelineProperty::Position || property == TimelineProperty::Scale;
        if (!onlyKnownAttributes(element, pair ? std::initializer_list<const char*>{"Index", "X", "Y"}
                                               : std::initializer_list<const char*>{"Index", "Value"})) {
            return false;
        }
        std::optional<int> index;
        if (!readInt(element, "Index", 0, duration, &index)) return false;
        if (!index) {
            refuse("a Frame has no 'Index'");
            return false;
        }
        frame->index = *index;
        if (pair) {
            std::optional<engine::Vec2> value;
            if (!readPair(element, "X", "Y", &value)) return false;
            if (!value) {
                refuse("a Frame has no 'X' and 'Y'");
                return false;
            }
            frame->x = value->x;
            frame->y = value->y;
            return true;
        }
        std::optional<float> number;
        if (property == TimelineProperty::Visible) {
            std::optional<bool> shown;
            if (!readBool(element, "Value", &shown)) return false;
            if (shown) number = *shown ? 1.f : 0.f;
        } else if (!readFloat(element, "Value", &number)) {
            return false;
        }
        if (!number) {
            refuse("a Frame has no 'Value'");
            return false;
        }
        if (property == TimelineProperty::Opacity && !(*number >= 0.f && *number <= 255.f)) {
            refuse("an opacity is not from 0 to 255");
            return false;
        }
        frame->x = *number;
        return true;
    }

    timeline::ActionTimeline* buildTimeline(const XMLElement& element) {
        using timeline::ActionTimeline;
        if (!onlyKnownAttributes(element, {"Duration", "Speed"})) return nullptr;
        std::optional<int> duration;
        std::optional<float> speed;
        if (!readInt(element, "Duration", 0, kMaxFrameIndex, &duration) || !readFloat(element, "Speed", &speed)) {
            return nullptr;
        }
        if (!duration) return refuseAs<ActionTimeline>("a Timeline has no 'Duration'");
        if (speed && !(*speed >= 0.f && *speed <= kMaxSpeed)) {
            return refuseAs<ActionTimeline>("'Speed' is not from 0 to " + std::to_string(static_cast<int>(kMaxSpeed)));
        }
        std::vector<timeline::TimelineTrack> tracks;
        for (const XMLElement* e = element.FirstChildElement(); e; e = e->NextSiblingElement()) {
            if (std::strcmp(e->Name(), "Track") != 0) {
                return refuseAs<ActionTimeline>(std::string("unknown element '") + e->Name() + "' in the Timeline");
            }
            if (!onlyKnownAttributes(*e, {"Target", "Property"})) return nullptr;
            timeline::TimelineTrack track;
            readString(*e, "Target", &track.target);
            const char* property = e->Attribute("Property");
            if (!property || !timeline::propertyByName(property, &track.property)) {
                return refuseAs<ActionTimeline>("a Track has no known 'Property'");
            }
            for (const XMLElement* f = e->FirstChildElement(); f; f = f->NextSiblingElement()) {
                if (std::strcmp(f->Name(), "Frame") != 0) {
                    return refuseAs<ActionTimeline>(std::string("unknown element '") + f->Name() + "' in a Track");
                }
                timeline::Keyframe frame;
                if (!readFrame(*f, track.property, *duration, &frame)) return nullptr;
                if (!track.frames.empty() && frame.index <= track.frames.back().index) {
                    return refuseAs<ActionTimeline>("a Track's frames are not in ascending order");
                }
                track.frames.push_back(frame);
            }
            tracks.push_back(std::move(track));
        }
        return ActionTimeline::create(*duration, speed.value_or(1.f), std::move(tracks));
    }

    const std::string& _source;
};

}  // namespace

CsdContent readCsd(std::string_view text, const std::string& source) { return CsdBuilder(source).read(text); }

}  // namespace studio
