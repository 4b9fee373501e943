#pragma once
// Follow: runs on a layer (its target) and moves it every frame so that the
// followed node (retained) stays at the centre of the screen. With a world
// boundary (a non-empty rect in the target's coordinates) the layer never scrolls
// past the boundary's edges; on an axis where the boundary is smaller than the
// screen it stays centred on the boundary. Done once the followed node no longer
// runs. create() answers nullptr for a null node.
#include "engine/actions/Action.h"
#include "engine/base/Types.h"

namespace engine {

class Follow : public Action {
public:
    static Follow* create(Node* followedNode, const Rect& boundary = Rect());
    ~Follow() override;
    Follow* clone() const override;

    bool isBoundarySet() const { return _boundarySet; }
    // Turns the boundary off (or back on when one was given).
    void setBoundarySet(bool value) { _boundarySet = value && _hasBoundary; }
    Node* getFollowedNode() const { return _followed; }

    void step(float dt) override;
    bool isDone() const override;

private:
    Follow() = default;
    Node* _followed = nullptr;
    Rect _boundary;
    bool _hasBoundary = false;
    bool _boundarySet = false;
};

}  // namespace engine
