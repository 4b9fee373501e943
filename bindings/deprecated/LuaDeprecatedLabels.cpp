#include "bindings/deprecated/LuaDeprecatedLabels.h"

#include <cstdint>
#include <string>

#include "bindings/core/LuaLabels.h"
#include "engine/label/DeprecatedLabels.h"
#include "engine/scene/Sprite.h"

namespace bindings {

namespace {

using engine::FontDefinition;
using engine::LabelBMFont;
using engine::LabelTTF;
using engine::Size;
using engine::Vec2;

constexpr Size kNoBox{};
constexpr Vec2 kNoOffset{};
constexpr int32_t kCentre = 1;
constexpr int32_t kTop = 0;
constexpr int32_t kLeft = 0;

// ---- LabelBMFont

LabelBMFont* newBMFont() { return LabelBMFont::create(); }
LabelBMFont* createBMFontEmpty() { return LabelBMFont::create(); }
LabelBMFont* createBMFont(const std::string& text, const std::string& fntFile, float width, int32_t alignment,
                          const Vec2& imageOffset) {
    return LabelBMFont::create(text, fntFile, width, hAlignmentOf(alignment), imageOffset);
}
bool initBMFont(LabelBMFont* self, const std::string& text, const std::string& fntFile, float width,
                int32_t alignment, const Vec2& imageOffset) {
    return self->initWithString(text, fntFile, width, hAlignmentOf(alignment), imageOffset);
}
void setBMFontAlignment(LabelBMFont* self, int32_t alignment) { self->setAlignment(hAlignmentOf(alignment)); }

const Method kLabelBMFontMethods[] = {
    {"new", {classFunction<&newBMFont>()}},
    {"setLineBreakWithoutSpace", {method<&LabelBMFont::setLineBreakWithoutSpace>()}},
    {"getBlendFunc", {method<&LabelBMFont::getBlendFunc>()}},
    {"isOpacityModifyRGB", {method<&LabelBMFont::isOpacityModifyRGB>()}},
    {"getLetter", {method<&LabelBMFont::getLetter>()}},
    {"getString", {method<&LabelBMFont::getString>()}},
    {"setBlendFunc", {method<&LabelBMFont::setBlendFunc>()}},
    {"setString", {method<&LabelBMFont::setString>()}},
    {"initWithString", {method<&initBMFont, 0, kLeft, &kNoOffset>()}},
    {"setOpacityModifyRGB", {method<&LabelBMFont::setOpacityModifyRGB>()}},
    {"getFntFile", {method<&LabelBMFont::getFntFile>()}},
    {"setFntFile", {method<&LabelBMFont::setFntFile, &kNoOffset>()}},
    {"setAlignment", {method<&setBMFontAlignment>()}},
    {"setWidth", {method<&LabelBMFont::setWidth>()}},
    {"create", {classFunction<&createBMFontEmpty>(), classFunction<&createBMFont, 0, kLeft, &kNoOffset>()}},
};

// ---- LabelTTF

LabelTTF* newTTF() { return LabelTTF::create(); }
LabelTTF* createTTFEmpty() { return LabelTTF::create(); }
LabelTTF* createTTF(const std::string& text, const std::string& fontName, float fontSize, const Size& dimensions,
                    int32_t hAlignment, int32_t vAlignment) {
    return LabelTTF::create(text, fontName, fontSize, dimensions, hAlignmentOf(hAlignment), vAlignmentOf(vAlignment));
}
bool initTTF(LabelTTF* self, const std::string& text, const std::string& fontName, float fontSize,
             const Size& dimensions, int32_t hAlignment, int32_t vAlignment) {
    return self->initWithString(text, fontName, fontSize, dimensions, hAlignmentOf(hAlignment),
                                vAlignmentOf(vAlignment));
}
void setTTFHAlignment(LabelTTF* self, int32_t alignment) { self->setHorizontalAlignment(hAlignmentOf(alignment)); }
void setTTFVAlignment(LabelTTF* self, int32_t alignment) { self->setVerticalAlignment(vAlignmentOf(alignment)); }
int32_t getTTFHAlignment(LabelTTF* self) { return static_cast<int32_t>(self->getHorizontalAlignment()); }
int32_t getTTFVAlignment(LabelTTF* self) { return static_cast<int32_t>(self->getVerticalAlignment()); }

const Method kLabelTTFMethods[] = {
    {"new", {classFunction<&newTTF>()}},
    {"enableShadow", {method<&LabelTTF::enableShadow, true>()}},
    {"setDimensions", {method<&LabelTTF::setDimensions>()}},
    {"getFontSize", {method<&LabelTTF::getFontSize>()}},
    {"getString", {method<&LabelTTF::getString>()}},
    {"setFlippedY", {method<&LabelTTF::setFlippedY>()}},
    {"setFlippedX", {method<&LabelTTF::setFlippedX>()}},
    {"setTextDefinition", {method<&LabelTTF::setTextDefinition>()}},
    {"setFontName", {method<&LabelTTF::setFontName>()}},
    {"getHorizontalAlignment", {method<&getTTFHAlignment>()}},
    {"initWithStringAndTextDefinition", {method<&LabelTTF::initWithStringAndTextDefinition>()}},
    {"setString", {method<&LabelTTF::setString>()}},
    {"initWithString", {method<&initTTF, &kNoBox, kCentre, kTop>()}},
    {"setFontFillColor", {method<&LabelTTF::setFontFillColor, true>()}},
    {"getBlendFunc", {method<&LabelTTF::getBlendFunc>()}},
    {"enableStroke", {method<&LabelTTF::enableStroke, true>()}},
    {"getDimensions", {method<&LabelTTF::getDimensions>()}},
    {"setVerticalAlignment", {method<&setTTFVAlignment>()}},
    {"setFontSize", {method<&LabelTTF::setFontSize>()}},
    {"getVerticalAlignment", {method<&getTTFVAlignment>()}},
    {"getTextDefinition", {method<&LabelTTF::getTextDefinition>()}},
    {"setBlendFunc", {method<&LabelTTF::setBlendFunc>()}},
    {"getFontName", {method<&LabelTTF::getFontName>()}},
    {"setHorizontalAlignment", {method<&setTTFHAlignment>()}},
    {"disableShadow", {method<&LabelTTF::disableShadow, true>()}},
    {"disableStroke", {method<&LabelTTF::disableStroke, true>()}},
    {"create", {classFunction<&createTTFEmpty>(), classFunction<&createTTF, &kNoBox, kCentre, kTop>()}},
    {"createWithFontDefinition", {classFunction<&LabelTTF::createWithFontDefinition>()}},
};

const ClassEntry kDeprecatedLabels[] = {
    classEntry<LabelBMFont>("cc.LabelBMFont", "cc.Node", kLabelBMFontMethods),
    classEntry<LabelTTF>("cc.LabelTTF", "cc.Node", kLabelTTFMethods),
};

}  // namespace

std::span<const ClassEntry> deprecatedLabelRows() { return kDeprecatedLabels; }

}  // namespace bindings
