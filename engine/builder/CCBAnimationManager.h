#pragma once
// The timed sequences of a builder file, played on the graph's root: a sequence
// lasts its duration and, at each callback's time, runs the call-function action
// that scripts set for the callback's name (setCallFunc); a name with no action
// set is passed over. The manager also lists the document's own outlets and
// callbacks (those aimed at the root). Main thread only.
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/Ref.h"
#include "engine/base/Vector.h"
#include "engine/scene/Node.h"

namespace builder {

struct SequenceCallback {
    float time = 0.f;
    std::string name;
};

class CCBSequence : public engine::Ref {
public:
    static CCBSequence* create();  // autoreleased, unnamed and empty

    const std::string& getName() const { return _name; }
    void setName(const std::string& name) { _name = name; }
    float getDuration() const { return _duration; }
    void setDuration(float duration) { _duration = duration; }
    int getSequenceId() const { return _sequenceId; }
    void setSequenceId(int id) { _sequenceId = id; }
    const std::vector<SequenceCallback>& getCallbacks() const { return _callbacks; }
    void setCallbacks(std::vector<SequenceCallback> callbacks) { _callbacks = std::move(callbacks); }

private:
    CCBSequence() = default;
    std::string _name;
    float _duration = 0.f;
    int _sequenceId = 0;                       // its place among the file's sequences
    std::vector<SequenceCallback> _callbacks;  // by time
};

// A property a sequence animates on a node: its name and kind.
class CCBSequenceProperty : public engine::Ref {
public:
    static CCBSequenceProperty* create();  // autoreleased

    const std::string& getName() const { return _name; }
    void setName(const std::string& name) { _name = name; }
    int getType() const { return _type; }
    void setType(int type) { _type = type; }

private:
    CCBSequenceProperty() = default;
    std::string _name;
    int _type = 0;
};

class CCBAnimationManager : public engine::Ref {
public:
    static constexpr float kMaxDuration = 86400.f;

    // Autoreleased.
    static CCBAnimationManager* create();
    ~CCBAnimationManager() override;

    void setSequences(const engine::Vector<CCBSequence*>& sequences) { _sequences = sequences; }
    const engine::Vector<CCBSequence*>& getSequences() const { return _sequences; }
    // The document's outlets and callbacks aimed at the root, in document order.
    void setDocumentOutlets(const std::vector<std::string>& names, const engine::Vector<engine::Node*>& nodes) {
        _documentOutletNames = names;
        _documentOutletNodes = nodes;
    }
    void setDocumentCallbacks(const std::vector<std::string>& names, const engine::Vector<engine::Node*>& nodes) {
        _documentCallbackNames = names;
        _documentCallbackNodes = nodes;
    }
    const std::vector<std::string>& getDocumentOutletNames() const { return _documentOutletNames; }
    const engine::Vector<engine::Node*>& getDocumentOutletNodes() const { return _documentOutletNodes; }
    const std::vector<std::string>& getDocumentCallbackNames() const { return _documentCallbackNames; }
    const engine::Vector<engine::Node*>& getDocumentCallbackNodes() const { return _documentCallbackNodes; }
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
    engine::Vector<CCBSequence*> _sequences;
    std::vector<std::string> _documentOutletNames;
    engine::Vector<engine::Node*> _documentOutletNodes;
    std::vector<std::string> _documentCallbackNames;
    engine::Vector<engine::Node*> _documentCallbackNodes;
    engine::Node* _root = nullptr;
    std::unordered_map<std::string, engine::CallFunc*> _callFuncs;
};

}  // namespace builder
