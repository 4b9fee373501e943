#pragma once
// What an owner or a node can ask of the builder-file reader (engine/builder/
// CCBReader.h): an owner that is a CCBMemberVariableAssigner is handed each of
// its outlets as the graph is read, one that is a CCBSelectorResolver each of its
// callbacks; a node of the graph that is a NodeLoaderListener hears when the
// whole graph has been read. Main thread only.
#include <string>

#include "engine/base/Ref.h"
#include "engine/scene/Node.h"

namespace builder {

class NodeLoaderLibrary;

class CCBMemberVariableAssigner {
public:
    virtual ~CCBMemberVariableAssigner() = default;
    // True when the owner took the node as its member memberName.
    virtual bool onAssignCCBMemberVariable(engine::Ref* target, const std::string& memberName,
                                           engine::Node* node) = 0;
};

class CCBSelectorResolver {
public:
    virtual ~CCBSelectorResolver() = default;
    // True when the owner handles the node's callback (controlEvents: for controls).
    virtual bool onResolveCCBCallback(engine::Ref* target, const std::string& callbackName, engine::Node* node,
                                      int controlEvents) = 0;
};

class NodeLoaderListener {
public:
    virtual ~NodeLoaderListener() = default;
    virtual void onNodeLoaded(engine::Node* node, NodeLoaderLibrary* library) = 0;
};

}  // namespace builder
