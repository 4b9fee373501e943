#pragma once
// A piece of behaviour attached to a node (physics bodies, navigation agents, audio
// players...). The node owns its components (retained) and tells them when they are
// added or removed, when the node enters or leaves the running scene, and every
// frame while it runs (update, for an enabled component). Names are unique among a
// node's components; an unnamed component can be attached any number of times
// (one per node). Main thread only.
#include <string>

#include "engine/base/Ref.h"

namespace engine {

class Node;

class Component : public Ref {
public:
    static Component* create();  // autoreleased, unnamed
    ~Component() override = default;

    virtual bool init() { return true; }

    const std::string& getName() const { return _name; }
    void setName(const std::string& name) { _name = name; }
    // The node the component is attached to; null when it is not attached.
    Node* getOwner() const { return _owner; }
    virtual void setOwner(Node* owner) { _owner = owner; }
    bool isEnabled() const { return _enabled; }
    virtual void setEnabled(bool enabled) { _enabled = enabled; }

    virtual void update(float delta) { (void)delta; }
    virtual void onEnter() {}
    virtual void onExit() {}
    virtual void onAdd() {}
    virtual void onRemove() {}

protected:
    Component() = default;

private:
    Node* _owner = nullptr;
    std::string _name;
    bool _enabled = true;
};

}  // namespace engine
