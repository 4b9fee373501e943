#include "engine/label/DeprecatedLabels.h"

#include <string_view>

namespace engine {

namespace {

bool namesFontFile(std::string_view fontName) {
    constexpr std::string_view kSuffix = ".ttf";
    return fontName.size() >= kSuffix.size() && fontName.substr(fontName.size() - kSuffix.size()) == kSuffix;
}

Color4B withAlpha(const Color3B& color, uint8_t alpha) { return Color4B{color.r, color.g, color.b, alpha}; }

// Replaces the node's drawing label (a child) by another one.
void swapChildLabel(Node* owner, Label*& current, Label* next) {
    if (current) owner->removeChild(current);
    current = next;
    owner->addChild(next);
}

// The node is as large as its label, whose anchor is its centre.
void centreLabel(Node* owner, Label* label) {
    const Size& size = label->getContentSize();
    owner->setContentSize(size);
    label->setPosition(size.width / 2, size.height / 2);
}

}  // namespace

// ---- LabelTTF

LabelTTF* LabelTTF::create() {
    auto* label = new LabelTTF;
    return autoreleased(label, label->init());
}

LabelTTF* LabelTTF::create(const std::string& text, const std::string& fontName, float fontSize,
                           const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    auto* label = new LabelTTF;
    return autoreleased(label, label->init() &&
                                   label->initWithString(text, fontName, fontSize, dimensions, hAlignment, vAlignment));
}

LabelTTF* LabelTTF::createWithFontDefinition(const std::string& text, const FontDefinition& definition) {
    auto* label = new LabelTTF;
    return autoreleased(label, label->init() && label->initWithStringAndTextDefinition(text, definition));
}

bool LabelTTF::init() {
    if (!Node::init()) return false;
    _definition.fontName = "Arial";
    _definition.fontSize = static_cast<int32_t>(Label::kDefaultFontSize);
    Label* label = makeLabel("", _definition);
    if (!label) return false;
    useLabel(label);
    return true;
}

Label* LabelTTF::makeLabel(const std::string& text, const FontDefinition& definition) {
    const auto size = static_cast<float>(definition.fontSize);
    Label* label = namesFontFile(definition.fontName)
                       ? Label::createWithTTF(text, definition.fontName, size, definition.dimensions,
                                              definition.alignment, definition.vertAlignment)
                       : Label::createWithSystemFont(text, definition.fontName, size, definition.dimensions,
                                                     definition.alignment, definition.vertAlignment);
    if (!label) return nullptr;
    label->setTextColor(withAlpha(definition.fontFillColor, definition.fontAlpha));
    if (definition.stroke.strokeEnabled) {
        label->enableOutline(withAlpha(definition.stroke.strokeColor, definition.stroke.strokeAlpha),
                             static_cast<int>(definition.stroke.strokeSize));
    }
    return label;
}

void LabelTTF::useLabel(Label* label) {
    swapChildLabel(this, _label, label);
    label->setScaleX(_flippedX ? -1.f : 1.f);
    label->setScaleY(_flippedY ? -1.f : 1.f);
    fitContent();
}

void LabelTTF::fitContent() { centreLabel(this, _label); }

bool LabelTTF::initWithString(const std::string& text, const std::string& fontName, float fontSize,
                              const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    FontDefinition definition = _definition;
    definition.fontName = fontName;
    definition.fontSize = static_cast<int32_t>(fontSize);
    definition.dimensions = dimensions;
    definition.alignment = hAlignment;
    definition.vertAlignment = vAlignment;
    return initWithStringAndTextDefinition(text, definition);
}

bool LabelTTF::initWithStringAndTextDefinition(const std::string& text, const FontDefinition& definition) {
    Label* label = makeLabel(text, definition);
    if (!label) return false;
    _definition = definition;
    useLabel(label);
    return true;
}

void LabelTTF::setString(const std::string& text) {
    _label->setString(text);
    fitContent();
}

void LabelTTF::setFontName(const std::string& fontName) {
    FontDefinition definition = _definition;
    definition.fontName = fontName;
    setTextDefinition(definition);
}

void LabelTTF::setFontSize(float size) {
    _definition.fontSize = static_cast<int32_t>(size);
    _label->setSystemFontSize(size);
    fitContent();
}

void LabelTTF::setDimensions(const Size& dimensions) {
    _definition.dimensions = dimensions;
    _label->setDimensions(dimensions.width, dimensions.height);
    fitContent();
}

void LabelTTF::setHorizontalAlignment(TextHAlignment alignment) {
    _definition.alignment = alignment;
    _label->setHorizontalAlignment(alignment);
}

void LabelTTF::setVerticalAlignment(TextVAlignment alignment) {
    _definition.vertAlignment = alignment;
    _label->setVerticalAlignment(alignment);
}

void LabelTTF::enableShadow(const Size& offset, float opacity, float blur, bool) {
    _definition.shadow.shadowEnabled = true;
    _definition.shadow.shadowOffset = offset;
    _definition.shadow.shadowOpacity = opacity;
    _definition.shadow.shadowBlur = blur;
}

void LabelTTF::disableShadow(bool) { _definition.shadow.shadowEnabled = false; }

void LabelTTF::enableStroke(const Color3B& color, float size, bool) {
    _definition.stroke.strokeEnabled = true;
    _definition.stroke.strokeColor = color;
    _definition.stroke.strokeSize = size;
    _label->enableOutline(withAlpha(color, _definition.stroke.strokeAlpha), static_cast<int>(size));
}

void LabelTTF::disableStroke(bool) {
    _definition.stroke.strokeEnabled = false;
    _label->disableOutline();
}

void LabelTTF::setFontFillColor(const Color3B& color, bool) {
    _definition.fontFillColor = color;
    _label->setTextColor(withAlpha(color, _definition.fontAlpha));
}

void LabelTTF::setTextDefinition(const FontDefinition& definition) {
    initWithStringAndTextDefinition(_label->getString(), definition);
}

FontDefinition LabelTTF::getTextDefinition() const { return _definition; }

void LabelTTF::setFlippedX(bool flipped) {
    _flippedX = flipped;
    _label->setScaleX(flipped ? -1.f : 1.f);
}

void LabelTTF::setFlippedY(bool flipped) {
    _flippedY = flipped;
    _label->setScaleY(flipped ? -1.f : 1.f);
}

// ---- LabelBMFont

LabelBMFont* LabelBMFont::create() {
    auto* label = new LabelBMFont;
    return autoreleased(label, label->init());
}

LabelBMFont* LabelBMFont::create(const std::string& text, const std::string& fntFile, float width,
                                 TextHAlignment alignment, const Vec2& imageOffset) {
    auto* label = new LabelBMFont;
    return autoreleased(label,
                        label->init() && label->initWithString(text, fntFile, width, alignment, imageOffset));
}

bool LabelBMFont::init() {
    if (!Node::init()) return false;
    useLabel(Label::create());
    return true;
}

bool LabelBMFont::initWithString(const std::string& text, const std::string& fntFile, float width,
                                 TextHAlignment alignment, const Vec2&) {
    Label* label = Label::createWithBMFont(fntFile, text, alignment, static_cast<int>(width));
    if (!label) return false;
    _width = width;
    useLabel(label);
    return true;
}

void LabelBMFont::useLabel(Label* label) {
    swapChildLabel(this, _label, label);
    fitContent();
}

void LabelBMFont::fitContent() { centreLabel(this, _label); }

void LabelBMFont::setString(const std::string& text) {
    _label->setString(text);
    fitContent();
}

void LabelBMFont::setFntFile(const std::string& fntFile, const Vec2& imageOffset) {
    if (fntFile == _label->getBMFontFilePath()) return;
    initWithString(_label->getString(), fntFile, _width, _label->getHorizontalAlignment(), imageOffset);
}

void LabelBMFont::setAlignment(TextHAlignment alignment) { _label->setHorizontalAlignment(alignment); }

void LabelBMFont::setWidth(float width) {
    _width = width;
    _label->setMaxLineWidth(width);
    fitContent();
}

Sprite* LabelBMFont::getLetter(int) const { return nullptr; }

}  // namespace engine
