#include "engine/studio/NodeSpec.h"

#include <cmath>

#include "engine/base/Log.h"
#include "engine/studio/GUIReader.h"
#include "engine/studio/ObjectFactory.h"
#include "engine/ui/Button.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Text.h"

namespace studio {

using engine::ui::Widget;

namespace {

Widget* widgetOfType(const NodeSpec& spec) {
    if (spec.type == "Widget") return Widget::create();
    if (spec.type == "Layout") {
        Widget* layout = Widget::create();
        layout->setAnchorPoint(engine::Vec2::ZERO);
        return layout;
    }
    if (spec.type == "Text") {
        auto* label = engine::ui::Text::create();
        if (spec.fontSize) label->setFontSize(*spec.fontSize);
        label->setString(spec.text);
        return label;
    }
    if (spec.type == "LoadingBar") {
        auto* bar = engine::ui::LoadingBar::create();
        if (!spec.image.empty()) bar->loadTexture(spec.image);
        if (spec.percent) bar->setPercent(*spec.percent);
        return bar;
    }
    if (spec.type == "Button") {
        auto* button = engine::ui::Button::create();
        if (!spec.image.empty()) button->loadTextureNormal(spec.image);
        if (spec.fontSize) button->setTitleFontSize(*spec.fontSize);
        button->setTitleText(spec.text);
        return button;
    }
    return nullptr;
}

void applyCommon(const NodeSpec& spec, engine::Node* node) {
    node->setName(spec.name);
    if (spec.position) node->setPosition(*spec.position);
    if (spec.size) node->setContentSize(*spec.size);
    if (spec.visible) node->setVisible(*spec.visible);
}

// A widget of a registered class; null with the reason in *why.
Widget* customWidget(const NodeSpec& spec, std::string* why) {
    ObjectFactory* factory = ObjectFactory::getInstance();
    if (!factory->hasType(spec.type)) {
        *why = "unknown widget type '" + spec.type + "'";
        return nullptr;
    }
    engine::Ref* made = factory->createObject(spec.type);
    auto* widget = dynamic_cast<Widget*>(made);
    if (!widget) {
        *why = "the maker of class '" + spec.type + "' made no widget";
        return nullptr;
    }
    return widget;
}

}  // namespace

Widget* createWidget(const NodeSpec& spec, std::string* why) {
    Widget* widget = widgetOfType(spec);
    const bool custom = !widget;
    if (custom && !(widget = customWidget(spec, why))) return nullptr;
    // Held while the class's script sets its options.
    widget->retain();
    applyCommon(spec, widget);
    widget->setLayoutRule(spec.layout);
    if (custom) GUIReader::getInstance()->applyCustomOptions(spec.type, widget, spec.options);
    widget->autorelease();
    return widget;
}

engine::Node* createNode(const NodeSpec& spec, std::string* why) {
    if (spec.type != "Node") return createWidget(spec, why);
    engine::Node* node = engine::Node::create();
    applyCommon(spec, node);
    return node;
}

bool isUsableFloat(float value) { return std::isfinite(value); }

}  // namespace studio
