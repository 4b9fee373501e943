#include "engine/scene/FrameSheet.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>

#include "engine/base/Value.h"
#include "engine/files/PropertyList.h"

namespace engine {

namespace {

// The numbers of "{{x,y},{w,h}}" / "{x,y}", in order; at most `count`.
std::vector<float> numbersIn(const std::string& text, size_t count) {
    std::vector<float> numbers;
    const char* p = text.c_str();
    while (*p && numbers.size() < count) {
        if ((*p >= '0' && *p <= '9') || *p == '-' || *p == '+' || *p == '.') {
            char* end = nullptr;
            const double value = std::strtod(p, &end);
            if (end == p) {
                ++p;
                continue;
            }
            // A number a float cannot hold (or none at all) reads as 0.
            const bool fits = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
            numbers.push_back(fits ? static_cast<float>(value) : 0.f);
            p = end;
        } else {
            ++p;
        }
    }
    return numbers;
}

const Value* member(const ValueMap& map, const char* key) {
    auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

float numberOf(const ValueMap& map, const char* key) {
    const Value* value = member(map, key);
    if (!value) return 0.f;
    const float number = value->asFloat();
    return std::isfinite(number) ? number : 0.f;
}

bool rectOf(const ValueMap& map, const char* key, Rect* out) {
    const Value* value = member(map, key);
    if (!value) return false;
    const std::vector<float> n = numbersIn(value->asString(), 4);
    if (n.size() < 4) return false;
    *out = Rect(n[0], n[1], n[2], n[3]);
    return true;
}

Vec2 pointOf(const ValueMap& map, const char* key) {
    const Value* value = member(map, key);
    const std::vector<float> n = value ? numbersIn(value->asString(), 2) : std::vector<float>();
    return n.size() == 2 ? Vec2(n[0], n[1]) : Vec2();
}

bool readFrame(const ValueMap& map, int format, SheetFrame* frame) {
    if (format == 0) {
        if (!member(map, "width") || !member(map, "height")) return false;
        frame->rect = Rect(numberOf(map, "x"), numberOf(map, "y"), numberOf(map, "width"), numberOf(map, "height"));
        frame->offset = Vec2(numberOf(map, "offsetX"), numberOf(map, "offsetY"));
        frame->sourceSize = Size(std::fabs(numberOf(map, "originalWidth")), std::fabs(numberOf(map, "originalHeight")));
    } else {
        const bool three = format == 3;
        if (!rectOf(map, three ? "textureRect" : "frame", &frame->rect)) return false;
        frame->offset = pointOf(map, three ? "spriteOffset" : "offset");
        const Vec2 source = pointOf(map, three ? "spriteSourceSize" : "sourceSize");
        frame->sourceSize = Size(source.x, source.y);
        if (format >= 2) {
            const Value* rotated = member(map, three ? "textureRotated" : "rotated");
            frame->rotated = rotated && rotated->asBool();
        }
    }
    if (frame->rect.size.width < 0 || frame->rect.size.height < 0) return false;
    if (frame->sourceSize.width == 0 && frame->sourceSize.height == 0) frame->sourceSize = frame->rect.size;
    return true;
}

}  // namespace

bool parseFrameSheet(std::string_view text, FrameSheet* out) {
    Value sheet;
    if (!parsePropertyList(text, &sheet) || sheet.getType() != Value::Type::MAP) return false;
    const ValueMap& map = sheet.asValueMap();
    const Value* frames = member(map, "frames");
    if (!frames || frames->getType() != Value::Type::MAP) return false;

    int format = 0;
    FrameSheet result;
    if (const Value* metadata = member(map, "metadata")) {
        const ValueMap& meta = metadata->asValueMap();
        // Checked as a number first: a huge one must not reach the int.
        const float number = numberOf(meta, "format");
        format = number >= 0.f && number <= 3.f ? static_cast<int>(number) : -1;
        for (const char* key : {"realTextureFileName", "textureFileName"}) {
            if (const Value* name = member(meta, key); name && !name->asString().empty()) {
                result.textureFileName = name->asString();
                break;
            }
        }
    }
    if (format < 0 || format > 3) return false;

    // Name order, whatever the map's order.
    std::map<std::string, const ValueMap*> byName;
    for (const auto& [name, value] : frames->asValueMap()) {
        if (value.getType() == Value::Type::MAP) byName.emplace(name, &value.asValueMap());
    }
    for (const auto& [name, dict] : byName) {
        SheetFrame frame;
        frame.name = name;
        if (readFrame(*dict, format, &frame)) result.frames.push_back(std::move(frame));
    }
    *out = std::move(result);
    return true;
}

}  // namespace engine
