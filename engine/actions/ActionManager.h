#pragma once
// Runs actions on their target nodes, once a frame (the director schedules it).
//
// Contract:
// - addAction retains the action, starts it on the target and steps it from the
//   next update on; a paused target's actions wait. Targets are not retained: a
//   node removes its actions when it is cleaned up or destroyed.
// - update(dt) steps every action of every unpaused target, in the order they were
//   added; an action that is done is stopped and released. Actions may add or remove
//   actions (their own included) and destroy nodes while they run: an action removed
//   before its turn is not stepped, and a target is kept alive while its actions step.
// Main thread only.
#include <cstddef>
#include <map>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Vector.h"

namespace engine {

class Action;
class Node;

class ActionManager : public Ref {
public:
    ActionManager() = default;
    ~ActionManager() override;

    void addAction(Action* action, Node* target, bool paused);
    void removeAction(Action* action);
    void removeActionByTag(int tag, Node* target);
    void removeAllActionsFromTarget(Node* target);
    void removeAllActions();
    Action* getActionByTag(int tag, const Node* target) const;
    size_t getNumberOfRunningActionsInTarget(const Node* target) const;

    void pauseTarget(Node* target);
    void resumeTarget(Node* target);
    // Pauses every target that is not paused and answers them (retained by the
    // list), for resumeTargets to take up again.
    Vector<Node*> pauseAllRunningActions();
    void resumeTargets(const Vector<Node*>& targets);

    void update(float dt);

private:
    struct Element {
        std::vector<Action*> actions;
        bool paused = false;
    };
    void detach(Element& element, size_t index);

    std::map<const Node*, Element> _targets;
};

}  // namespace engine
