#include "bindings/skeleton/LuaSkeletonAnimation.h"

#include <tolua++.h>

#include <cstdio>
#include <map>

#include "bindings/LuaChecks.h"
#include "bindings/core/LuaBlendFunc.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaNumberCasts.h"
#include "scripting/LuaStack.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ScriptValue.h"
#include "scripting/ToluaFix.h"

namespace bindings {
namespace {

using engine::ScriptHandlerMgr;
using Kind = ScriptHandlerMgr::HandlerType;

constexpr const char* kLuaName = "sp.SkeletonAnimation";

const char* typeName(spEventType type) {
    switch (type) {
        case SP_ANIMATION_START: return "start";
        case SP_ANIMATION_END: return "end";
        case SP_ANIMATION_COMPLETE: return "complete";
        case SP_ANIMATION_EVENT: return "event";
    }
    return "";
}

Kind kindOf(int eventType) {
    return static_cast<Kind>(static_cast<int>(Kind::EVENT_SKELETON_ANIMATION_START) + eventType);
}

// Self of a hand-written method: a sp.SkeletonAnimation, else a Lua error.
skeleton::SkeletonAnimation* self(lua_State* L, const char* method) {
    return checkSelf<skeleton::SkeletonAnimation>(L, kLuaName, method);
}

// The event type at index truncated toward zero; -1 for NaN or past the int range.
int eventTypeAt(lua_State* L, int index) {
    int32_t type = -1;
    return luaconv::toInt32Checked(lua_tonumber(L, index), &type) ? type : -1;
}

int lua_create(lua_State* L) {
    const int argc = lua_gettop(L) - 1;
    if (argc != 2 && argc != 3)
        return luaL_error(L, "'createWithFile' function of SkeletonAnimation has wrong number of arguments: %d, was expecting %d\n",
                          argc, 2);
    std::string dataFile, atlasFile;
    luaconv_read_std_string(L, 2, &dataFile);
    luaconv_read_std_string(L, 3, &atlasFile);
    double scale = 1;
    if (argc == 3 && !luaconv_read_number(L, 4, &scale)) scale = 1;
    LuaSkeletonAnimation* node = LuaSkeletonAnimation::createWithFile(dataFile, atlasFile, static_cast<float>(scale));
    toluafix_pushObject(L, static_cast<int>(node->_ID), &node->_luaID, node, kLuaName);
    return 1;
}

int lua_registerSkeletonEventHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err) || !toluafix_isFunction(L, 2, "LUA_FUNCTION", 0, &err) ||
        !tolua_isnumber(L, 3, 0, &err) || !tolua_isnoobj(L, 4, &err)) {
        tolua_error(L, "#ferror in function 'registerSkeletonEventHandler'.", &err);
        return 0;
    }
    auto* node = objectAt<skeleton::SkeletonAnimation>(L, 1, kLuaName);
    const int eventType = eventTypeAt(L, 3);
    // Other types register nothing, and take no reference to the function.
    if (!node || eventType < 0 || eventType > 3) return 0;
    const int handler = toluafix_refFunction(L, 2, 0);
    switch (eventType) {
        case SP_ANIMATION_START:
            node->setStartListener([node, handler](int trackIndex) {
                dispatchSkeletonEventToLua(node, handler, SP_ANIMATION_START, trackIndex, 0, nullptr);
            });
            break;
        case SP_ANIMATION_END:
            node->setEndListener([node, handler](int trackIndex) {
                dispatchSkeletonEventToLua(node, handler, SP_ANIMATION_END, trackIndex, 0, nullptr);
            });
            break;
        case SP_ANIMATION_COMPLETE:
            node->setCompleteListener([node, handler](int trackIndex, int loopCount) {
                dispatchSkeletonEventToLua(node, handler, SP_ANIMATION_COMPLETE, trackIndex, loopCount, nullptr);
            });
            break;
        default:
            node->setEventListener([node, handler](int trackIndex, spEvent* event) {
                dispatchSkeletonEventToLua(node, handler, SP_ANIMATION_EVENT, trackIndex, 0, event);
            });
            break;
    }
    ScriptHandlerMgr::getInstance()->addObjectHandler(node, handler, kindOf(eventType));
    return 0;
}

int lua_unregisterSkeletonEventHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err) || !tolua_isnumber(L, 2, 0, &err) || !tolua_isnoobj(L, 3, &err)) {
        tolua_error(L, "#ferror in function 'unregisterSkeletonEventHandler'.", &err);
        return 0;
    }
    auto* node = objectAt<skeleton::SkeletonAnimation>(L, 1, kLuaName);
    const int eventType = eventTypeAt(L, 2);
    if (node && eventType >= 0 && eventType <= 3) ScriptHandlerMgr::getInstance()->removeObjectHandler(node, kindOf(eventType));
    return 0;
}

// Upvalue 1: the generated sp.SkeletonRenderer:setBlendFunc, for every other form.
int lua_setBlendFunc(lua_State* L) {
    const int argc = lua_gettop(L) - 1;
    if (argc == 2) {
        skeleton::SkeletonAnimation* node = self(L, "setBlendFunc");
        setBlendFuncFromNumbers(L, kLuaName, node);
        return 0;
    }
    const int base = lua_gettop(L);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, base, LUA_MULTRET);
    return lua_gettop(L);
}

// A Lua error when argument 2 is a number that is not a track index (negative,
// or from SP_ANIMATION_STATE_MAX_TRACKS on). Called before the caller builds any
// C++ object, since the error unwinds past them.
void checkTrackIndex(lua_State* L, const char* name) {
    if (!lua_isnumber(L, 2)) return;   // the argument reads report it
    const lua_Number track = lua_tonumber(L, 2);
    if (track >= 0 && track < static_cast<lua_Number>(SP_ANIMATION_STATE_MAX_TRACKS)) return;
    char text[160];
    std::snprintf(text, sizeof text, "%s: track index %.17g is outside 0 to %d", name, static_cast<double>(track),
                  static_cast<int>(SP_ANIMATION_STATE_MAX_TRACKS) - 1);
    luaL_error(L, "%s", text);
}

// The reads shared by addAnimation and setAnimation; false when one fails.
bool readTrackArguments(lua_State* L, const char* name, int32_t* track, std::string* animation, bool* loop) {
    return luaconv_read_int32(L, 2, track, name) && luaconv_read_std_string(L, 3, animation, name) &&
           luaconv_read_bool(L, 4, loop, name);
}

int lua_addAnimation(lua_State* L) {
    skeleton::SkeletonAnimation* node = self(L, "addAnimation");
    const int argc = lua_gettop(L) - 1;
    if (argc != 3 && argc != 4)
        return luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d \n", "addAnimation", argc, 3);
    const char* name = "sp.SkeletonAnimation:addAnimation";
    checkTrackIndex(L, name);
    int32_t track = 0;
    std::string animation;
    bool loop = false;
    double delay = 0;
    if (!readTrackArguments(L, name, &track, &animation, &loop)) return 0;
    if (argc == 4 && !luaconv_read_number(L, 5, &delay, name)) return 0;
    node->addAnimation(track, animation, loop, static_cast<float>(delay));
    lua_settop(L, 1);
    return 1;
}

int lua_setAnimation(lua_State* L) {
    skeleton::SkeletonAnimation* node = self(L, "setAnimation");
    const int argc = lua_gettop(L) - 1;
    if (argc != 3)
        return luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d \n", "setAnimation", argc, 3);
    checkTrackIndex(L, "sp.SkeletonAnimation:setAnimation");
    int32_t track = 0;
    std::string animation;
    bool loop = false;
    if (!readTrackArguments(L, "sp.SkeletonAnimation:setAnimation", &track, &animation, &loop)) return 0;
    node->setAnimation(track, animation, loop);
    lua_settop(L, 1);
    return 1;
}

}  // namespace

LuaSkeletonAnimation::LuaSkeletonAnimation(const std::string& skeletonDataFile, const std::string& atlasFile,
                                           float scale)
    : SkeletonAnimation(skeletonDataFile, atlasFile, scale) {}

LuaSkeletonAnimation* LuaSkeletonAnimation::createWithFile(const std::string& skeletonDataFile,
                                                           const std::string& atlasFile, float scale) {
    auto* node = new LuaSkeletonAnimation(skeletonDataFile, atlasFile, scale);
    node->autorelease();
    return node;
}

LuaSkeletonAnimation::~LuaSkeletonAnimation() { ScriptHandlerMgr::getInstance()->removeObjectAllHandlers(this); }

int dispatchSkeletonEventToLua(skeleton::SkeletonAnimation* node, int handler, spEventType type, int trackIndex,
                               int loopCount, spEvent* event) {
    if (!node || !handler) return 0;
    engine::LuaStack* stack = engine::LuaEngine::getInstance()->getLuaStack();
    if (!stack || !stack->getLuaState()) return 0;
    spTrackEntry* entry = node->getCurrent(trackIndex);
    const char* animation = entry && entry->animation && entry->animation->name ? entry->animation->name : "";

    engine::ScriptValue::Dict table;
    table["type"] = engine::ScriptValue::stringValue(typeName(type));
    table["trackIndex"] = engine::ScriptValue::intValue(trackIndex);
    table["animation"] = engine::ScriptValue::stringValue(animation);
    table["loopCount"] = engine::ScriptValue::intValue(loopCount);
    if (event) {
        engine::ScriptValue::Dict data;
        data["name"] = engine::ScriptValue::stringValue(event->data ? event->data->name : "");
        data["intValue"] = engine::ScriptValue::intValue(event->intValue);
        data["floatValue"] = engine::ScriptValue::floatValue(event->floatValue);
        data["stringValue"] = engine::ScriptValue::stringValue(event->stringValue ? event->stringValue : "");
        table["eventData"] = engine::ScriptValue::dictValue(data);
    }
    stack->pushScriptValueDict(table);
    return stack->executeFunctionByHandler(handler, 1);
}

int register_skeleton_manual(lua_State* L) {
    if (!L) return 0;
    lua_pushstring(L, kLuaName);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        struct Entry {
            const char* name;
            lua_CFunction fn;
        };
        const Entry entries[] = {{"create", lua_create},
                                 {"registerSkeletonEventHandler", lua_registerSkeletonEventHandler},
                                 {"unregisterSkeletonEventHandler", lua_unregisterSkeletonEventHandler},
                                 {"setBlendFunc", nullptr},
                                 {"addAnimation", lua_addAnimation},
                                 {"setAnimation", lua_setAnimation}};
        for (const Entry& e : entries) {
            lua_pushstring(L, e.name);
            if (e.fn) {
                lua_pushcfunction(L, e.fn);
            } else {
                // The generated form stays reachable for the other argument counts.
                lua_pushstring(L, "sp.SkeletonRenderer");
                lua_rawget(L, LUA_REGISTRYINDEX);
                if (lua_istable(L, -1)) {
                    lua_pushstring(L, "setBlendFunc");
                    lua_rawget(L, -2);
                    lua_remove(L, -2);
                }
                lua_pushcclosure(L, lua_setBlendFunc, 1);
            }
            lua_rawset(L, -3);
        }
    }
    lua_pop(L, 1);
    luaconv_map_type<LuaSkeletonAnimation>(kLuaName);
    luaClassNameMap.insert_or_assign("SkeletonAnimation", kLuaName);
    return 0;
}

}  // namespace bindings
