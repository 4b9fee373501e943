#pragma once
// The engine classes the script host itself pushes to handlers, registered with
// tolua++ and in both type maps before any binding module: cc.Ref, cc.Node,
// cc.Scene, cc.MenuItem, cc.Touch, cc.Event, cc.EventCustom, cc.Action,
// cc.FiniteTimeAction, cc.CallFunc, cc.TableViewCell, cc.TableView, ccs.Armature
// and ccs.Bone (no methods: the binding modules add them).
#include <lua.hpp>

namespace engine {

int register_host_types(lua_State* L);

}  // namespace engine
