#pragma once
// Reads builder files: node graphs in a JSON form of our own.
//
//   {"root": {"type": "Layer", "name": "main", "size": [480, 320],
//             "children": [
//               {"type": "Label", "name": "title", "text": "Play?", "fontSize": 24,
//                "position": [240, 280], "outlet": "titleLabel"},
//               {"type": "Menu", "children": [
//                 {"type": "MenuItemFont", "text": "Go", "callback": "onGo"}]}]},
//    "sequences": [{"name": "intro", "duration": 1.5,
//                   "callbacks": [{"time": 0.5, "name": "onHalf"}]}]}
//
// Every node has "type" and may have "name", "tag" (a whole number), "position"
// and "size" ([x, y] pairs), "visible", "children", and:
//   "outlet": a name under which the node is given to the owner (or, with
//             "outletTarget": "root", to the document's root);
//   "callback": for menu items and controls, a handler name for the owner (or
//             the root, with "callbackTarget": "root"); "controlEvents" (1 to 511,
//             default 1) says which control events it is for.
// Types and their own members (engine::MenuItem and its kinds, engine::Menu, the
// layers, ui::Scale9Sprite, ...):
//   "Node", "Layer", "Menu";
//   "LayerColor" ("color": [r, g, b, a]), "LayerGradient" ("color", "endColor");
//   "Label" ("text", "fontName", "fontSize"), "Sprite" and "Scale9Sprite" ("image");
//   "MenuItemFont" ("text"), "MenuItemLabel" ("text", "fontSize"),
//   "MenuItemAtlasFont" ("text", "charMap", "itemWidth", "itemHeight", "startChar": one character),
//   "MenuItemImage" and "MenuItemSprite" ("normal", "selected", "disabled": image files),
//   "MenuItemToggle" (its menu-item children become its choices);
//   "ParticleSystemQuad" ("file", "totalParticles", "duration");
//   "ControlButton" ("text", "fontName", "fontSize": its title).
// Colour parts are whole numbers from 0 to 255. A root without "size" takes the
// parent size given to the reader. A member of the wrong type, an unknown type, a
// callback on a node that takes none, or nesting deeper than kMaxDepth refuses
// the whole file: nullptr and a log line.
//
// Read without an owner, the graph's owner outlets and callbacks are left out
// (nobody is there to connect them to); the root's are kept either way. After a
// read the reader lists them in document order. Main thread only.
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/builder/CCBAnimationManager.h"
#include "engine/scene/Node.h"

namespace builder {

class NodeLoaderLibrary;

class CCBReader : public engine::Ref {
public:
    static constexpr int kMaxDepth = 32;

    // A reader on the library's node types, autoreleased.
    static CCBReader* create(NodeLoaderLibrary* library);
    ~CCBReader() override;

    // The graph of the file (found through the search paths), autoreleased;
    // nullptr when it is missing or refused. The parent size defaults to the
    // director's window size.
    engine::Node* readNodeGraphFromFile(const std::string& file);
    engine::Node* readNodeGraphFromFile(const std::string& file, engine::Ref* owner);
    engine::Node* readNodeGraphFromFile(const std::string& file, engine::Ref* owner, const engine::Size& parentSize);
    // The same from the file's text; `source` names it in log lines.
    engine::Node* readNodeGraphFromText(std::string_view text, const std::string& source, engine::Ref* owner,
                                        const engine::Size& parentSize);

    // The owner of the last read (null when it had none).
    engine::Ref* getOwner() const { return _owner; }
    const std::vector<std::string>& getOwnerOutletNames() const { return _ownerOutletNames; }
    const engine::Vector<engine::Node*>& getOwnerOutletNodes() const { return _ownerOutletNodes; }
    const std::vector<std::string>& getOwnerCallbackNames() const { return _ownerCallbackNames; }
    const engine::Vector<engine::Node*>& getOwnerCallbackNodes() const { return _ownerCallbackNodes; }
    const std::vector<int>& getOwnerCallbackControlEvents() const { return _ownerCallbackEvents; }
    const std::vector<std::string>& getDocumentOutletNames() const { return _documentOutletNames; }
    const engine::Vector<engine::Node*>& getDocumentOutletNodes() const { return _documentOutletNodes; }
    const std::vector<std::string>& getDocumentCallbackNames() const { return _documentCallbackNames; }
    const engine::Vector<engine::Node*>& getDocumentCallbackNodes() const { return _documentCallbackNodes; }
    const std::vector<int>& getDocumentCallbackControlEvents() const { return _documentCallbackEvents; }
    // The sequences of the last read, on its root.
    CCBAnimationManager* getAnimationManager() const { return _animationManager; }
    // The root of the last read and its animation manager (one to one; empty
    // when the read failed), as lists.
    const engine::Vector<engine::Node*>& getNodesWithAnimationManagers() const { return _rootNodes; }
    const engine::Vector<CCBAnimationManager*>& getAnimationManagersForNodes() const { return _animationManagers; }

private:
    friend class GraphBuilder;
    CCBReader() = default;
    void reset(engine::Ref* owner);
    void notifyLoaded(engine::Node* node);

    NodeLoaderLibrary* _library = nullptr;
    engine::Ref* _owner = nullptr;   // retained
    std::vector<std::string> _ownerOutletNames;
    engine::Vector<engine::Node*> _ownerOutletNodes;
    std::vector<std::string> _ownerCallbackNames;
    engine::Vector<engine::Node*> _ownerCallbackNodes;
    std::vector<int> _ownerCallbackEvents;
    std::vector<std::string> _documentOutletNames;
    engine::Vector<engine::Node*> _documentOutletNodes;
    std::vector<std::string> _documentCallbackNames;
    engine::Vector<engine::Node*> _documentCallbackNodes;
    std::vector<int> _documentCallbackEvents;
    CCBAnimationManager* _animationManager = nullptr;   // retained
    engine::Vector<engine::Node*> _rootNodes;
    engine::Vector<CCBAnimationManager*> _animationManagers;
};

}  // namespace builder
