#pragma once
// A menu entry: a node a tap activates. A menu (engine/scene/Menu.h) selects the
// item under a touch, unselects it when the touch leaves or is cancelled, and
// activates it when the touch ends over it. Scripts attach their tap handler
// through the script handler registry; activate() reports the tap to the script
// engine. Items are anchored at their centre; their box is (0, 0) to their
// content size in their own space.
#include "engine/scene/Node.h"

namespace engine {

class MenuItem : public Node {
public:
    // A new enabled item, autoreleased.
    static MenuItem* create();

    virtual void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    // The touch is on the item / has left it.
    virtual void selected() { _selected = true; }
    virtual void unselected() { _selected = false; }
    bool isSelected() const { return _selected; }
    // The item's box in its parent's space.
    Rect rect() const { return getBoundingBox(); }
    // When enabled, sends the menu-clicked event for this item to the script engine.
    virtual void activate();

protected:
    MenuItem() = default;
    bool init() override;

private:
    bool _enabled = true;
    bool _selected = false;
};

}  // namespace engine
