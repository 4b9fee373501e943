// The ui module: the widget classes (table "ccui").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/ui/LuaWidgetListeners.h"

#include <vector>

#include "engine/ui/Button.h"
#include "engine/ui/Helper.h"
#include "engine/ui/Layout.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Text.h"
#include "engine/ui/Widget.h"

namespace bindings {

namespace {

using namespace engine::ui;

const Method kWidgetMethods[] = {
    {"create", {classFunction<&Widget::create>()}},
    {"setEnabled", {method<&Widget::setEnabled>()}},
    {"isEnabled", {method<&Widget::isEnabled>()}},
    {"setTouchEnabled", {method<&Widget::setTouchEnabled>()}},
    {"isTouchEnabled", {method<&Widget::isTouchEnabled>()}},
};

Button* createButton(const std::string& normal) { return Button::create(normal); }

const Method kButtonMethods[] = {
    {"create", {classFunction<static_cast<Button* (*)()>(&Button::create)>(), classFunction<&createButton>()}},
    {"setTitleText", {method<&Button::setTitleText>()}},
    {"getTitleText", {method<&Button::getTitleText>()}},
    {"setTitleFontSize", {method<&Button::setTitleFontSize>()}},
    {"setTitleColor", {method<&Button::setTitleColor>()}},
    {"setScale9Enabled", {method<&Button::setScale9Enabled>()}},
    {"isScale9Enabled", {method<&Button::isScale9Enabled>()}},
    {"setCapInsets", {method<&Button::setCapInsets>()}},
};

const Method kTextMethods[] = {
    {"create", {classFunction<static_cast<Text* (*)()>(&Text::create)>(),
                classFunction<static_cast<Text* (*)(const std::string&, const std::string&, float)>(&Text::create)>()}},
    {"setString", {method<&Text::setString>()}},
    {"getString", {method<&Text::getString>()}},
    {"setFontSize", {method<&Text::setFontSize>()}},
    {"setTextColor", {method<&Text::setTextColor>()}},
};

void loadBarTexture(LoadingBar* self, const std::string& file) { self->loadTexture(file); }

const Method kLoadingBarMethods[] = {
    {"create", {classFunction<static_cast<LoadingBar* (*)()>(&LoadingBar::create)>()}},
    {"loadTexture", {method<&loadBarTexture>()}},
    {"setPercent", {method<&LoadingBar::setPercent>()}},
    {"getPercent", {method<&LoadingBar::getPercent>()}},
};

Scale9Sprite* createScale9Sprite(const std::string& file) { return Scale9Sprite::create(file); }

const Method kScale9SpriteMethods[] = {
    {"create", {classFunction<static_cast<Scale9Sprite* (*)()>(&Scale9Sprite::create)>(),
                classFunction<&createScale9Sprite>()}},
    {"setCapInsets", {method<&Scale9Sprite::setCapInsets>()}},
    {"getOriginalSize", {method<&Scale9Sprite::getOriginalSize>()}},
    {"createWithSpriteFrameName", {classFunction<&Scale9Sprite::createWithSpriteFrameName>()}},
};

// Layouts: the background type and opacity as scripts number them.
void setBackGroundColorType(Layout* self, int32_t type) {
    self->setBackGroundColorType(static_cast<Layout::BackGroundColorType>(type >= 0 && type <= 2 ? type : 0));
}
int32_t getBackGroundColorType(Layout* self) { return static_cast<int32_t>(self->getBackGroundColorType()); }
void setBackGroundColorOpacity(Layout* self, int32_t opacity) {
    self->setBackGroundColorOpacity(static_cast<uint8_t>(opacity));
}
int32_t getBackGroundColorOpacity(Layout* self) { return self->getBackGroundColorOpacity(); }
void setBackGroundImage(Layout* self, const std::string& file) { self->setBackGroundImage(file); }

const Method kLayoutMethods[] = {
    {"create", {classFunction<&Layout::create>()}},
    {"setBackGroundColorType", {method<&setBackGroundColorType>()}},
    {"getBackGroundColorType", {method<&getBackGroundColorType>()}},
    {"setBackGroundColor", {method<overload<void(const engine::Color3B&)>(&Layout::setBackGroundColor)>(),
                            method<overload<void(const engine::Color3B&, const engine::Color3B&)>(
                                &Layout::setBackGroundColor)>()}},
    {"setBackGroundColorVector", {method<&Layout::setBackGroundColorVector>()}},
    {"setBackGroundImage", {method<&setBackGroundImage>()}},
    {"setClippingEnabled", {method<&Layout::setClippingEnabled>()}},
    {"isClippingEnabled", {method<&Layout::isClippingEnabled>()}},
    {"getBackGroundColor", {method<&Layout::getBackGroundColor>()}},
    {"setBackGroundColorOpacity", {method<&setBackGroundColorOpacity>()}},
    {"getBackGroundColorOpacity", {method<&getBackGroundColorOpacity>()}},
};

const Method kHelperMethods[] = {
    {"seekWidgetByName", {classFunction<&Helper::seekWidgetByName>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kUiClasses = {
    classEntry<Widget>("ccui.Widget", "cc.Node", kWidgetMethods),
    classEntry<Button>("ccui.Button", "ccui.Widget", kButtonMethods),
    classEntry<Text>("ccui.Text", "ccui.Widget", kTextMethods),
    classEntry<LoadingBar>("ccui.LoadingBar", "ccui.Widget", kLoadingBarMethods),
    classEntry<Layout>("ccui.Layout", "ccui.Widget", kLayoutMethods),
    classEntry<Scale9Sprite>("ccui.Scale9Sprite", "cc.Node", kScale9SpriteMethods),
    classEntry<Helper>("ccui.Helper", nullptr, kHelperMethods),
};

}  // namespace

std::span<const ClassEntry> uiClassTable() { return kUiClasses; }

int register_ui_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kUiClasses);
    register_ui_manual(L);
    return 1;
}

}  // namespace bindings
