#pragma once
// A menu entry: a node a tap activates. Scripts attach their tap handler through
// the script handler registry; activate() reports the tap to the script engine.
// It draws nothing of its own: what the player sees of an entry is its children.
#include "engine/scene/Node.h"

namespace engine {

class MenuItem : public Node {
public:
    // A new enabled item, autoreleased.
    static MenuItem* create();

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }
    // When enabled, sends the menu-clicked event for this item to the script engine.
    virtual void activate();

protected:
    MenuItem() = default;

private:
    bool _enabled = true;
};

}  // namespace engine
