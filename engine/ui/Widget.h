#pragma once
// The base of the UI widgets: a node that can be enabled, take touches and report
// a click to its listener. Headless: a click comes from simulateClick(), which
// stands for a tap released over the widget. The anchor is the centre.
#include <functional>
#include <optional>

#include "engine/scene/Node.h"

namespace engine::ui {

// Where a widget's images come from: files, or frames of a sprite sheet.
enum class TextureResType { LOCAL = 0, PLIST = 1 };

// Where Helper::doLayout puts a widget in its parent, as fractions of the parent's
// content size: the position of its anchor, and its own content size. An absent
// part leaves that value as it is.
struct LayoutRule {
    std::optional<Vec2> percentPosition;
    std::optional<Size> percentSize;
};

class Widget : public Node {
public:
    using ccWidgetClickCallback = std::function<void(Ref*)>;

    // A new widget (enabled, not touch-enabled), autoreleased.
    static Widget* create();

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    void setTouchEnabled(bool enabled) { _touchEnabled = enabled; }
    bool isTouchEnabled() const { return _touchEnabled; }

    // Replaces the click listener (an empty function removes it).
    void addClickEventListener(const ccWidgetClickCallback& callback) { _clickListener = callback; }
    // A tap released over the widget: when it is enabled, touch-enabled and shown
    // (it and every ancestor visible), the click listener runs with the widget as
    // sender; answers whether it ran. The listener may remove or destroy the widget:
    // the widget and the listener are kept alive until the call returns.
    bool simulateClick();

    void setLayoutRule(const LayoutRule& rule) { _layoutRule = rule; }
    const LayoutRule& getLayoutRule() const { return _layoutRule; }

protected:
    Widget() = default;
    bool init() override;

private:
    bool _enabled = true;
    bool _touchEnabled = false;
    ccWidgetClickCallback _clickListener;
    LayoutRule _layoutRule;
};

}  // namespace engine::ui
