#include "engine/scene/MenuItemLabel.h"

#include "engine/base/Log.h"
#include "engine/label/Label.h"

namespace engine {

MenuItemLabel* MenuItemLabel::create(Node* label) {
    if (!label) return nullptr;
    auto* item = new MenuItemLabel;
    return autoreleased(item, item->initWithLabel(label));
}

bool MenuItemLabel::initWithLabel(Node* label) {
    if (!MenuItem::init()) return false;
    setLabel(label);
    return _label != nullptr;
}

void MenuItemLabel::setLabel(Node* label) {
    if (!label) {
        log("MenuItemLabel: a null label is refused");
        return;
    }
    if (label == _label) return;
    if (label->getParent()) {
        log("MenuItemLabel: the label already has a parent");
        return;
    }
    if (_label) removeChild(_label, true);
    label->setAnchorPoint(Vec2(0, 0));
    label->setPosition(0, 0);
    addChild(label);
    _label = label;
    _colorBackup = label->getColor();
    if (!isEnabled()) label->setColor(_disabledColor);
    setContentSize(label->getContentSize());
}

void MenuItemLabel::setString(const std::string& text) {
    auto* label = dynamic_cast<Label*>(_label);
    if (!label) return;
    label->setString(text);
    setContentSize(label->getContentSize());
}

std::string MenuItemLabel::getString() const {
    auto* label = dynamic_cast<Label*>(_label);
    return label ? label->getString() : std::string();
}

void MenuItemLabel::setDisabledColor(const Color3B& color) {
    _disabledColor = color;
    if (!isEnabled() && _label) _label->setColor(color);
}

void MenuItemLabel::setEnabled(bool enabled) {
    if (enabled != isEnabled() && _label) {
        if (enabled) {
            _label->setColor(_colorBackup);
        } else {
            _colorBackup = _label->getColor();
            _label->setColor(_disabledColor);
        }
    }
    MenuItem::setEnabled(enabled);
}

namespace {
// Class-wide defaults of new font items; main thread only, like the scene.
int g_fontSize = 32;
std::string& defaultFontName() {
    static std::string name = "Arial";
    return name;
}
}  // namespace

void MenuItemFont::setFontSize(int size) { g_fontSize = size; }
int MenuItemFont::getFontSize() { return g_fontSize; }
void MenuItemFont::setFontName(const std::string& name) { defaultFontName() = name; }
const std::string& MenuItemFont::getFontName() { return defaultFontName(); }

MenuItemFont* MenuItemFont::create(const std::string& text) {
    auto* item = new MenuItemFont;
    return autoreleased(item, item->initWithString(text));
}

bool MenuItemFont::initWithString(const std::string& text) {
    _fontSize = g_fontSize;
    _fontName = defaultFontName();
    Label* label = Label::createWithSystemFont(text, _fontName, static_cast<float>(_fontSize));
    return label && initWithLabel(label);
}

void MenuItemFont::setFontSizeObj(int size) {
    _fontSize = size;
    restyle();
}

void MenuItemFont::setFontNameObj(const std::string& name) {
    _fontName = name;
    restyle();
}

void MenuItemFont::restyle() {
    auto* label = dynamic_cast<Label*>(getLabel());
    if (!label) return;
    label->setSystemFontName(_fontName);
    label->setSystemFontSize(static_cast<float>(_fontSize));
    setContentSize(label->getContentSize());
}

MenuItemAtlasFont* MenuItemAtlasFont::create(const std::string& text, const std::string& charMapFile, int itemWidth,
                                             int itemHeight, char startChar) {
    auto* item = new MenuItemAtlasFont;
    const bool ready = item->initWithLabel(Label::createWithSystemFont(text, "", static_cast<float>(itemHeight)));
    item->_charMapFile = charMapFile;
    item->_itemWidth = itemWidth;
    item->_itemHeight = itemHeight;
    item->_startChar = startChar;
    return autoreleased(item, ready);
}

}  // namespace engine
