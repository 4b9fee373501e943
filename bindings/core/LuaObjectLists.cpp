#include "bindings/core/LuaObjectLists.h"

#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/actions/ActionManager.h"
#include "engine/base/Vector.h"
#include "engine/scene/Animation.h"
#include "engine/scene/LayerMultiplex.h"
#include "engine/scene/Menu.h"
#include "engine/scene/MenuItemToggle.h"
#include "engine/scene/Node.h"
#include "scripting/LuaObjectConversions.h"

namespace bindings {
namespace {

using namespace engine;

int invalidArguments(lua_State* L, const char* cName) {
    return luaL_error(L, "invalid arguments in function '%s'", cName);
}

// Calls call(self, list, L) with the list read from argument 2; its result count
// is answered. The list is gone before any error is raised.
template <class Self, class T, class Call>
int withList(lua_State* L, const char* luaClass, const char* luaName, const char* cName, int minArgc, int maxArgc,
             Call call) {
    Self* self = checkSelf<Self>(L, luaClass, luaName);
    const int argc = argumentCount(L);
    if (argc < minArgc || argc > maxArgc) return countError(L, luaName, argc, maxArgc);
    int results = -1;
    {
        Vector<T*> list;
        if (luaconv_read_object_vector(L, 2, &list)) results = call(self, list, L);
    }
    if (results < 0) return invalidArguments(L, cName);
    return results;
}

int lua_Node_getChildren(lua_State* L) {
    Node* self = checkSelf<Node>(L, "cc.Node", "cc.Node:getChildren");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Node:getChildren", argc, 0);
    lua_newtable(L);
    int index = 1;
    for (Node* child : self->getChildren()) {
        lua_pushnumber(L, index);
        if (!luaconv_detail::pushRegistered(L, child)) {
            lua_pop(L, 1);
            continue;
        }
        lua_rawset(L, -3);
        ++index;
    }
    return 1;
}

int lua_ActionManager_pauseAllRunningActions(lua_State* L) {
    auto* self = checkSelf<ActionManager>(L, "cc.ActionManager", "cc.ActionManager:pauseAllRunningActions");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.ActionManager:pauseAllRunningActions", argc, 0);
    const Vector<Node*> paused = self->pauseAllRunningActions();
    luaconv_push_object_vector(L, paused);
    return 1;
}

int lua_ActionManager_resumeTargets(lua_State* L) {
    return withList<ActionManager, Node>(L, "cc.ActionManager", "cc.ActionManager:resumeTargets",
                                         "lua_engine_ActionManager_resumeTargets", 1, 1,
                                         [](ActionManager* self, const Vector<Node*>& targets, lua_State*) {
                                             self->resumeTargets(targets);
                                             return 0;
                                         });
}

// Optional timing arguments: delay per unit at index 3, loops at 4.
float delayArgument(lua_State* L, int argc, float fallback) {
    return argc >= 2 ? static_cast<float>(numberAt(L, 3)) : fallback;
}
unsigned int loopsArgument(lua_State* L, int argc) {
    return argc >= 3 ? static_cast<unsigned int>(intAt(L, 4)) : 1u;
}

int lua_Animation_create(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc == 0) return pushResult(L, Animation::create());
    if (argc < 2 || argc > 3) return countError(L, "cc.Animation:create", argc, 3);
    if ((lua_type(L, 3) != LUA_TNUMBER) || (argc == 3 && lua_type(L, 4) != LUA_TNUMBER)) {
        return invalidArguments(L, "lua_engine_Animation_create");
    }
    Animation* animation = nullptr;
    bool read = false;
    {
        Vector<AnimationFrame*> frames;
        if ((read = luaconv_read_object_vector(L, 2, &frames))) {
            animation = Animation::create();
            animation->initWithAnimationFrames(frames, delayArgument(L, argc, 0.f), loopsArgument(L, argc));
        }
    }
    if (!read) return invalidArguments(L, "lua_engine_Animation_create");
    return pushResult(L, animation);
}

int lua_Animation_initWithAnimationFrames(lua_State* L) {
    if (argumentCount(L) == 3 && (lua_type(L, 3) != LUA_TNUMBER || lua_type(L, 4) != LUA_TNUMBER)) {
        return invalidArguments(L, "lua_engine_Animation_initWithAnimationFrames");
    }
    return withList<Animation, AnimationFrame>(
        L, "cc.Animation", "cc.Animation:initWithAnimationFrames", "lua_engine_Animation_initWithAnimationFrames", 3,
        3, [](Animation* self, const Vector<AnimationFrame*>& frames, lua_State* L) {
            return pushResult(L, self->initWithAnimationFrames(frames, delayArgument(L, 3, 0.f), loopsArgument(L, 3)));
        });
}

int lua_Animation_setFrames(lua_State* L) {
    return withList<Animation, AnimationFrame>(L, "cc.Animation", "cc.Animation:setFrames",
                                               "lua_engine_Animation_setFrames", 1, 1,
                                               [](Animation* self, const Vector<AnimationFrame*>& frames, lua_State*) {
                                                   self->setFrames(frames);
                                                   return 0;
                                               });
}

int lua_Animation_initWithSpriteFrames(lua_State* L) {
    return withList<Animation, SpriteFrame>(
        L, "cc.Animation", "cc.Animation:initWithSpriteFrames", "lua_engine_Animation_initWithSpriteFrames", 1, 3,
        [](Animation* self, const Vector<SpriteFrame*>& frames, lua_State* L) {
            const int argc = argumentCount(L);
            const std::vector<SpriteFrame*> list(frames.begin(), frames.end());
            return pushResult(L, self->initWithSpriteFrames(list, delayArgument(L, argc, 0.f), loopsArgument(L, argc)));
        });
}

int lua_LayerMultiplex_initWithArray(lua_State* L) {
    return withList<LayerMultiplex, Layer>(L, "cc.LayerMultiplex", "cc.LayerMultiplex:initWithArray",
                                           "lua_engine_LayerMultiplex_initWithArray", 1, 1,
                                           [](LayerMultiplex* self, const Vector<Layer*>& layers, lua_State* L) {
                                               return pushResult(L, self->initWithArray(layers));
                                           });
}

int lua_Menu_initWithArray(lua_State* L) {
    return withList<Menu, MenuItem>(L, "cc.Menu", "cc.Menu:initWithArray", "lua_engine_Menu_initWithArray", 1, 1,
                                    [](Menu* self, const Vector<MenuItem*>& items, lua_State* L) {
                                        return pushResult(L, self->initWithArray(items));
                                    });
}

int lua_MenuItemToggle_setSubItems(lua_State* L) {
    return withList<MenuItemToggle, MenuItem>(L, "cc.MenuItemToggle", "cc.MenuItemToggle:setSubItems",
                                              "lua_engine_MenuItemToggle_setSubItems", 1, 1,
                                              [](MenuItemToggle* self, const Vector<MenuItem*>& items, lua_State*) {
                                                  self->setSubItems(items);
                                                  return 0;
                                              });
}

}  // namespace

void register_object_lists_manual(lua_State* L) {
    const ClassFunction node[] = {{"getChildren", lua_Node_getChildren}};
    addClassFunctions(L, "cc.Node", node);
    const ClassFunction actionManager[] = {{"pauseAllRunningActions", lua_ActionManager_pauseAllRunningActions},
                                           {"resumeTargets", lua_ActionManager_resumeTargets}};
    addClassFunctions(L, "cc.ActionManager", actionManager);
    const ClassFunction animation[] = {{"create", lua_Animation_create},
                                       {"initWithAnimationFrames", lua_Animation_initWithAnimationFrames},
                                       {"setFrames", lua_Animation_setFrames},
                                       {"initWithSpriteFrames", lua_Animation_initWithSpriteFrames}};
    addClassFunctions(L, "cc.Animation", animation);
    const ClassFunction multiplex[] = {{"initWithArray", lua_LayerMultiplex_initWithArray}};
    addClassFunctions(L, "cc.LayerMultiplex", multiplex);
    const ClassFunction menu[] = {{"initWithArray", lua_Menu_initWithArray}};
    addClassFunctions(L, "cc.Menu", menu);
    const ClassFunction toggle[] = {{"setSubItems", lua_MenuItemToggle_setSubItems}};
    addClassFunctions(L, "cc.MenuItemToggle", toggle);
}

}  // namespace bindings
