#pragma once
// A scroll view: a window of viewSize onto a container node that touches drag
// about. It draws nothing of its own: what shows is the container's content.
//
// The content offset is the container's position in the view. In bounds it
// runs from (viewWidth - containerWidth * scale, viewHeight - containerHeight
// * scale) to (0, 0) (a container smaller than the view sits at the top). A
// view that is not bounceable keeps every offset in bounds; a bounceable one
// lets a drag pass them and puts the offset back in bounds when the touch
// ends. Animated offsets glide there over kAnimationDuration seconds, one step
// a frame.
//
// Touches: a one-by-one listener at the view's scene-graph priority that
// swallows what it claims. While touch is enabled and the view is shown with
// its ancestors, a touch that begins inside the view's rectangle is claimed
// (one at a time). A move farther than kMoveThreshold points from where it
// began starts dragging: from then on the container follows the touch along
// the view's direction.
//
// The delegate (not retained; its owner clears it) hears scrollViewDidScroll
// after every change of the offset and scrollViewDidZoom after one of the zoom
// scale. Main thread only.
#include "engine/scene/Layer.h"

namespace engine {
class Event;
class Touch;
}  // namespace engine

namespace engine::extension {

class ScrollView;

class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(ScrollView* view) { (void)view; }
    virtual void scrollViewDidZoom(ScrollView* view) { (void)view; }
};

class ScrollView : public Layer {
public:
    enum class Direction : int { NONE = -1, HORIZONTAL = 0, VERTICAL = 1, BOTH = 2 };
    static constexpr float kAnimationDuration = 0.15f;
    static constexpr float kMoveThreshold = 7.f;

    // A 200 x 200 view with an empty container.
    static ScrollView* create();
    // A null container makes an empty one.
    static ScrollView* create(const Size& viewSize, Node* container = nullptr);

    void setViewSize(const Size& size);
    const Size& getViewSize() const { return _viewSize; }
    // Replaces the container (removing the old one), at offset (0, 0).
    void setContainer(Node* container);
    Node* getContainer() const { return _container; }
    // The content's size is the container's.
    void setContentSize(const Size& size) override;
    Size getContainerSize() const;

    void setDirection(Direction direction) { _direction = direction; }
    Direction getDirection() const { return _direction; }
    void setBounceable(bool bounceable) { _bounceable = bounceable; }
    bool isBounceable() const { return _bounceable; }
    void setTouchEnabled(bool enabled);
    bool isTouchEnabled() const { return _touchEnabled; }
    bool isDragging() const { return _dragging; }
    bool isTouchMoved() const { return _touchMoved; }

    void setContentOffset(const Vec2& offset, bool animated = false);
    Vec2 getContentOffset() const;
    Vec2 minContainerOffset() const;
    Vec2 maxContainerOffset() const { return Vec2(0, 0); }
    void setZoomScale(float scale);
    float getZoomScale() const;

    void setDelegate(ScrollViewDelegate* delegate) { _delegate = delegate; }
    ScrollViewDelegate* getDelegate() const { return _delegate; }

    void update(float delta) override;
    void onExit() override;

    virtual bool onTouchBegan(Touch* touch, Event* event);
    virtual void onTouchMoved(Touch* touch, Event* event);
    virtual void onTouchEnded(Touch* touch, Event* event);
    virtual void onTouchCancelled(Touch* touch, Event* event);

protected:
    ScrollView() = default;
    bool initWithViewSize(const Size& viewSize, Node* container);
    // After every change of the offset: tells the delegate.
    virtual void onScroll();
    Vec2 clampedOffset(const Vec2& offset) const;
    const Touch* claimedTouch() const { return _touch; }
    // The view's rectangle in world space.
    Rect viewRect() const;

private:
    void stopAnimation();
    void endTouch();

    Node* _container = nullptr;   // a child
    ScrollViewDelegate* _delegate = nullptr;
    Size _viewSize;
    Direction _direction = Direction::BOTH;
    bool _bounceable = true;
    bool _touchEnabled = true;
    bool _dragging = false;
    bool _touchMoved = false;
    const Touch* _touch = nullptr;   // the claimed touch
    Vec2 _touchPoint;                // its last location in view space
    bool _animating = false;
    Vec2 _animationFrom;
    Vec2 _animationTo;
    float _animationElapsed = 0;
};

}  // namespace engine::extension
