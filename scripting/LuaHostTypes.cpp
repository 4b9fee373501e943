#include "scripting/LuaHostTypes.h"

#include "engine/actions/Action.h"
#include "engine/base/Event.h"
#include "engine/extension/TableView.h"
#include "engine/input/Touch.h"
#include "engine/scene/MenuItem.h"
#include "engine/scene/Scene.h"
#include "engine/studio/Armature.h"
#include "scripting/LuaClassRegistry.h"

namespace engine {

int register_host_types(lua_State* L) {
    tolua_open(L);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);

    tolua_module(L, "cc", 0);
    tolua_beginmodule(L, "cc");
    // Bases first.
    luaconv_register_class<Ref>(L, "Ref", "cc.Ref", nullptr);
    luaconv_register_class<Node>(L, "Node", "cc.Node", "cc.Ref");
    luaconv_register_class<Scene>(L, "Scene", "cc.Scene", "cc.Node");
    luaconv_register_class<MenuItem>(L, "MenuItem", "cc.MenuItem", "cc.Node");
    luaconv_register_class<Touch>(L, "Touch", "cc.Touch", "cc.Ref");
    luaconv_register_class<Event>(L, "Event", "cc.Event", "cc.Ref");
    luaconv_register_class<EventCustom>(L, "EventCustom", "cc.EventCustom", "cc.Event");
    luaconv_register_class<Action>(L, "Action", "cc.Action", "cc.Ref");
    luaconv_register_class<FiniteTimeAction>(L, "FiniteTimeAction", "cc.FiniteTimeAction", "cc.Action");
    luaconv_register_class<CallFunc>(L, "CallFunc", "cc.CallFunc", "cc.FiniteTimeAction");
    luaconv_register_class<extension::TableViewCell>(L, "TableViewCell", "cc.TableViewCell", "cc.Node");
    luaconv_register_class<extension::TableView>(L, "TableView", "cc.TableView", "cc.Node");
    tolua_endmodule(L);

    tolua_module(L, "ccs", 0);
    tolua_beginmodule(L, "ccs");
    luaconv_register_class<studio::Armature>(L, "Armature", "ccs.Armature", "cc.Node");
    luaconv_register_class<studio::Bone>(L, "Bone", "ccs.Bone", "cc.Node");
    tolua_endmodule(L);

    tolua_endmodule(L);
    return 1;
}

}  // namespace engine
