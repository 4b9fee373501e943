#pragma once
// The base of the UI widgets: a node that can be enabled, take touches and report
// them to its listeners. The anchor is the centre. A plain widget draws nothing
// of its own (it is an invisible touch area and a frame for its children); the
// widget classes with a look draw it.
//
// Touches: a touch-enabled widget has a one-by-one listener with the director's
// event dispatcher, bound to the widget (scene-graph priority: a widget drawn on
// top hears a touch first). A touch that begins inside the widget's box (its
// content box, through the widget's world transform) and inside the box of every
// clipping ancestor, while the widget is enabled and shown (it and every ancestor
// visible), is claimed and, unless swallowing is turned off, swallowed: the
// widgets beneath never see it. Any other touch passes on. Of a claimed touch the
// touch listener hears BEGAN, each MOVED, then ENDED when it is released inside
// the box (and the click listener runs after it) or CANCELED when it is released
// outside or cancelled. The widget is highlighted while the finger is inside.
// Each step of a claimed touch is first offered to the nearest ancestor widget
// (interceptTouchEvent, passed further up by widgets that do not use it) while
// propagation is on (the default): a scroll view scrolls under its buttons.
//
// Focus: at most one widget has the focus. requestFocus() on a focus-enabled
// widget moves it there and sends an EventFocus (the widget losing it, this one)
// through the director's event dispatcher; a widget going away gives it up
// silently.
//
// Sizes: the content size a script sets is the custom size. Widgets that show an
// image or a text take their renderer's size when they load one, while they adapt
// to it (ignoreContentAdaptWithSize(true), the default); ignoreContentAdaptWithSize
// switches between the renderer's size and the custom size. A percent size or
// position (SizeType/PositionType PERCENT) is a share of the parent's content
// size, applied when set under a parent, by updateSizeAndPosition and by
// Helper::doLayout.
//
// Looks: a widget that is not bright (setBright(false)) shows its disabled images
// as a disabled one does; the HIGHLIGHT bright style shows its pressed images. A
// flipped widget draws its own images mirrored about its centre (its children are
// not flipped).
//
// Listeners may remove or destroy the widget, or replace themselves: the widget
// and the running listener are kept alive until the call returns.
#include <functional>
#include <optional>
#include <string>

#include "engine/scene/Node.h"

namespace engine {
class EventListenerTouchOneByOne;
class Event;
class Touch;
}  // namespace engine

namespace engine::ui {

class LayoutParameter;

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
    enum class TouchEventType { BEGAN = 0, MOVED = 1, ENDED = 2, CANCELED = 3 };
    // Numbered as scripts see them.
    enum class BrightStyle { NONE = -1, NORMAL = 0, HIGHLIGHT = 1 };
    enum class SizeType { ABSOLUTE = 0, PERCENT = 1 };
    enum class PositionType { ABSOLUTE = 0, PERCENT = 1 };
    using ccWidgetTouchCallback = std::function<void(Ref*, TouchEventType)>;
    using ccWidgetClickCallback = std::function<void(Ref*)>;

    // A new widget (enabled, not touch-enabled), autoreleased.
    static Widget* create();
    ~Widget() override;

    // A disabled widget lets touches pass; a touch it holds still ends normally.
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    // Registers or removes the widget's touch listener. Turning touch off cancels
    // nothing: a touch the widget holds is dropped without an end.
    void setTouchEnabled(bool enabled);
    bool isTouchEnabled() const { return _touchEnabled; }
    bool isHighlighted() const { return _highlighted; }
    // Bright (the default) or greyed: a widget that is not bright looks disabled.
    // Setting it bright again resets the style to NORMAL.
    void setBright(bool bright);
    bool isBright() const { return _bright; }
    void setBrightStyle(BrightStyle style) { _brightStyle = style; }
    BrightStyle getBrightStyle() const { return _brightStyle; }
    // Whether a claimed touch is kept from the widgets beneath (default true).
    void setSwallowTouches(bool swallow);
    bool isSwallowTouches() const { return _swallowTouches; }
    // Whether the steps of a claimed touch are offered to the ancestors (default true).
    void setPropagateTouchEvents(bool propagate) { _propagateTouchEvents = propagate; }
    bool isPropagateTouchEvents() const { return _propagateTouchEvents; }
    // Where the current or last touch began, last moved and ended, in world space.
    const Vec2& getTouchBeganPosition() const { return _touchBeganPosition; }
    const Vec2& getTouchMovePosition() const { return _touchMovePosition; }
    const Vec2& getTouchEndPosition() const { return _touchEndPosition; }

    // Each replaces the listener of its sort (an empty function removes it).
    void addTouchEventListener(const ccWidgetTouchCallback& callback) { _touchListener = callback; }
    void addClickEventListener(const ccWidgetClickCallback& callback) { _clickListener = callback; }
    // The listeners in place (empty when none).
    const ccWidgetTouchCallback& getTouchEventListener() const { return _touchListener; }
    const ccWidgetClickCallback& getClickEventListener() const { return _clickListener; }

    // Whether a point in world space lies in the widget's box (edges included).
    virtual bool hitTest(const Vec2& worldPoint) const;

    // A tap released over the widget without a touch: when it is enabled,
    // touch-enabled and shown, the click listener runs with the widget as sender;
    // answers whether it ran.
    bool simulateClick();

    // Records the custom size and makes it the content size.
    void setContentSize(const Size& size) override;
    const Size& getCustomSize() const { return _customSize; }
    // Whether the content size follows the renderer's (true, the default) or stays
    // the custom size; switching applies the one chosen now.
    virtual void ignoreContentAdaptWithSize(bool ignore);
    bool isIgnoreContentAdaptWithSize() const { return _ignoreSize; }
    // What draws the widget's look (the widget itself when it has no renderer) and
    // its own size.
    virtual Node* getVirtualRenderer() { return this; }
    virtual Size getVirtualRendererSize() const { return getContentSize(); }
    // Whether a nine-slice-less image is still laid out at the content size.
    void setUnifySizeEnabled(bool enabled) { _unifySize = enabled; }
    bool isUnifySizeEnabled() const { return _unifySize; }

    // Percent sizes and positions, as shares of the parent's content size.
    void setSizeType(SizeType type);
    SizeType getSizeType() const { return _layoutRule.percentSize ? SizeType::PERCENT : SizeType::ABSOLUTE; }
    void setSizePercent(const Vec2& percent);
    Vec2 getSizePercent() const;
    void setPositionType(PositionType type);
    PositionType getPositionType() const {
        return _layoutRule.percentPosition ? PositionType::PERCENT : PositionType::ABSOLUTE;
    }
    void setPositionPercent(const Vec2& percent);
    Vec2 getPositionPercent() const;
    // Applies the percent size and position against the parent's content size (or
    // the size given); absolute ones stay.
    void updateSizeAndPosition();
    void updateSizeAndPosition(const Size& parentSize);
    // The edges of the box in the parent's space (position less the anchor's share).
    float getLeftBoundary() const;
    float getBottomBoundary() const;
    float getRightBoundary() const { return getLeftBoundary() + getContentSize().width; }
    float getTopBoundary() const { return getBottomBoundary() + getContentSize().height; }
    // The anchor point's place in world space.
    Vec2 getWorldPosition() const;

    // Mirrors the widget's own images.
    void setFlippedX(bool flipped) { _flippedX = flipped; }
    bool isFlippedX() const { return _flippedX; }
    void setFlippedY(bool flipped) { _flippedY = flipped; }
    bool isFlippedY() const { return _flippedY; }

    // What a layout file names for the widget: its callback and action tag.
    void setCallbackName(const std::string& name) { _callbackName = name; }
    const std::string& getCallbackName() const { return _callbackName; }
    void setCallbackType(const std::string& type) { _callbackType = type; }
    const std::string& getCallbackType() const { return _callbackType; }
    void setActionTag(int tag) { _actionTag = tag; }
    int getActionTag() const { return _actionTag; }

    // A copy of the widget of the same kind (its look, state, listeners and layout
    // values) with copies of its widget children; null for a kind that cannot be
    // copied (the scroll views, and widget kinds without a copy of their own).
    Widget* clone();

    // The nearest ancestor that is a widget (the parent, when it is one), or null.
    Widget* getWidgetParent() const { return getParentWidget(); }

    void setLayoutRule(const LayoutRule& rule) { _layoutRule = rule; }
    const LayoutRule& getLayoutRule() const { return _layoutRule; }
    // The parameter a layout places the widget by (retained; null for none).
    void setLayoutParameter(LayoutParameter* parameter);
    LayoutParameter* getLayoutParameter() const { return _layoutParameter; }

    void setFocusEnabled(bool enabled) { _focusEnabled = enabled; }
    bool isFocusEnabled() const { return _focusEnabled; }
    bool isFocused() const { return _focused; }
    // Marks the widget focused or not, without an event.
    void setFocused(bool focused);
    // Moves the focus to this widget when it is focus-enabled and not focused yet.
    void requestFocus();
    static Widget* getCurrentFocusedWidget();

    // A step of a touch claimed by a descendant (sender); passed to the parent widget.
    virtual void interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch);

protected:
    Widget() = default;
    bool init() override;

    virtual bool onTouchBegan(Touch* touch, Event* event);
    virtual void onTouchMoved(Touch* touch, Event* event);
    virtual void onTouchEnded(Touch* touch, Event* event);
    virtual void onTouchCancelled(Touch* touch, Event* event);
    // The widget's reaction to each step of its own touch; the defaults tell the
    // touch listener (and, on a release inside, the click listener).
    virtual void pushDownEvent();
    virtual void moveEvent();
    virtual void releaseUpEvent();
    virtual void cancelUpEvent();
    // Whether the widget clips its children (their touches too).
    virtual bool isClippingChildren() const { return false; }
    // Tell the touch listener / the click listener (keeping the widget alive).
    void fireTouchEvent(TouchEventType type);
    void fireClickEvent();
    Widget* getParentWidget() const;
    // A new, autoreleased widget of the same kind for clone() (null when this kind
    // cannot be copied), and the copy of what the kind adds to a widget.
    virtual Widget* createCloneInstance();
    virtual void copySpecialProperties(Widget* model);
    // The looks of the state: the disabled images (not enabled or not bright), the
    // pressed ones (touched or the HIGHLIGHT style), else the normal ones.
    bool showsDisabled() const { return !_enabled || !_bright; }
    bool showsPressed() const { return !showsDisabled() && (_highlighted || _brightStyle == BrightStyle::HIGHLIGHT); }
    // The transform the widget's own images are drawn with: flipped as asked and
    // zoomed by `zoom` about the centre of the content box.
    Mat4 imageTransform(const Mat4& transform, float zoom = 1.f) const;
    // After a renderer's size changed: the content size follows it while adapting
    // (the custom size is kept).
    void adaptToRendererSize();
    void propagateTouchEvent(TouchEventType type, Widget* sender, Touch* touch);

private:
    bool isShown() const;
    bool insideClippingAncestors(const Vec2& worldPoint) const;

    bool _enabled = true;
    bool _touchEnabled = false;
    bool _highlighted = false;
    bool _swallowTouches = true;
    bool _propagateTouchEvents = true;
    bool _focusEnabled = true;
    bool _focused = false;
    bool _bright = true;
    BrightStyle _brightStyle = BrightStyle::NORMAL;
    bool _ignoreSize = true;
    bool _unifySize = false;
    bool _flippedX = false;
    bool _flippedY = false;
    int _actionTag = 0;
    Size _customSize;
    Vec2 _sizePercent;       // kept while the size is absolute
    Vec2 _positionPercent;   // kept while the position is absolute
    std::string _callbackName;
    std::string _callbackType;
    Vec2 _touchBeganPosition;
    Vec2 _touchMovePosition;
    Vec2 _touchEndPosition;
    LayoutParameter* _layoutParameter = nullptr;
    EventListenerTouchOneByOne* _listener = nullptr;   // retained while touch is enabled
    ccWidgetTouchCallback _touchListener;
    ccWidgetClickCallback _clickListener;
    LayoutRule _layoutRule;
};

}  // namespace engine::ui
