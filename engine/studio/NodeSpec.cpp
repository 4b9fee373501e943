#include "engine/studio/NodeSpec.h"

#include <cmath>

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

}  // namespace

Widget* createWidget(const NodeSpec& spec, std::string* why) {
    Widget* widget = widgetOfType(spec);
    if (!widget) {
        *why = "unknown widget type '" + spec.type + "'";
        return nullptr;
    }
    applyCommon(spec, widget);
    widget->setLayoutRule(spec.layout);
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
