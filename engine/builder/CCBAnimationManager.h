#pragma once
// The timed sequences of a builder file, played on the graph's root: a sequence
// lasts its duration and, at each callback's time, runs the call-function action
// that scripts set for the callback's name (setCallFunc); a name with no action
// set is passed over. Main thread only.
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/Ref.h"
#include "engine/scene/Node.h"

namespace builder {

struct SequenceCallback {
    float time = 0.f;
    std::string name;
};

struct CCBSequence {
    std::string name;
    float duration = 0.f;
    std::vector<SequenceCallback> callbacks;   // by time
};

class CCBAnimationManager : public engine::Ref {
public:
    static constexpr float kMaxDuration = 86400.f;

    // Autoreleased.
    static CCBAnimationManager* create();
    ~CCBAnimationManager() override;

    void setSequences(std::vector<CCBSequence> sequences) { _sequences = std::move(sequences); }
    const std::vector<CCBSequence>& getSequences() const { return _sequences; }
    // Not retained: the root holds the graph, and the reader holds this manager.
    void setRootNode(engine::Node* root) { _root = root; }
    engine::Node* getRootNode() const { return _root; }

    // The action is retained; a null one clears the name's.
    void setCallFunc(engine::CallFunc* action, const std::string& callbackName);
    engine::CallFunc* getCallFunc(const std::string& callbackName) const;

    // Runs the named sequence on the root; false (and a log line) when there is no
    // such sequence or no root.
    bool runAnimationsForSequenceNamed(const std::string& name);

private:
    CCBAnimationManager() = default;
    std::vector<CCBSequence> _sequences;
    engine::Node* _root = nullptr;
    std::unordered_map<std::string, engine::CallFunc*> _callFuncs;
};

}  // namespace builder
