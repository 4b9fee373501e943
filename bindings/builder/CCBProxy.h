#pragma once
// The layer through which scripts read builder files: it makes readers, reads
// a file with itself as the owner, names the Lua class of a loaded node, and
// files script handlers on the menu items that a file's callbacks name.
//
// getNodeTypeName answers the first class of its table that the node is (so a
// gradient layer is "cc.LayerGradient", not "cc.LayerColor", and a menu item of
// an unlisted kind "cc.MenuItem"); "No Support" when none; "" for null.
// setCallback files the handler under the menu-click kind of a menu item, or,
// on a control, under the control-event kind of every event bit set in
// controlEvents (0..8; one id per kind, none kept for a mask without such bits),
// and answers true; any other node keeps nothing (false): the caller then
// releases the handler. Main thread only.
#include <lua.hpp>

#include <string>

#include "engine/scene/Layer.h"

namespace builder {
class CCBReader;
}

namespace bindings {

class CCBProxy : public engine::Layer {
public:
    // Autoreleased; null when the layer could not start.
    static CCBProxy* create();

    builder::CCBReader* createCCBReader();
    // Null for a null reader or an empty file name; with setOwner false the graph
    // is read without owner, else with this proxy as its owner.
    engine::Node* readCCBFromFile(const std::string& fileName, builder::CCBReader* reader, bool setOwner);
    static const char* getNodeTypeName(engine::Ref* node);
    // L: the state the handler id belongs to (controls copy it per event).
    bool setCallback(lua_State* L, engine::Node* node, int handler, int controlEvents);

private:
    CCBProxy() = default;
};

}  // namespace bindings
