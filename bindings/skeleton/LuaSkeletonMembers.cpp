// The members of sp.SkeletonRenderer and sp.SkeletonAnimation that take or give
// the runtime's own records (bones, slots, attachments, track entries, states).
//
// Records reach scripts as plain usertypes named after the runtime's structs
// ("spBone", "spSlot", "spAttachment", "spSkeleton", "spTrackEntry",
// "spAnimationState", "spAnimationStateData", "spSkeletonData",
// "TrackEntryListeners"); the node owns them, collecting the userdata frees
// nothing. A record a script hands back is used only when it still belongs to
// the node it is given to (an attachment of one of its skins, a live track entry
// of its state, its state's own mix table): anything else is refused with a log
// line, since the runtime would follow a dangling or foreign pointer. A node made
// by create is already set up: the initialisers (initWithFile, initWithData,
// setSkeletonData, initialize) refuse to set it up a second time, which would
// leak or free its skeleton under the running animation. Main thread only.
#include <tolua++.h>

#include <string>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/skeleton/LuaSkeletonAnimation.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaStack.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ScriptValue.h"
#include "skeleton/Skin.h"

namespace bindings {
namespace {

using engine::ScriptHandlerMgr;
using skeleton::SkeletonAnimation;
using skeleton::SkeletonRenderer;

constexpr const char* kRenderer = "sp.SkeletonRenderer";
constexpr const char* kAnimation = "sp.SkeletonAnimation";

// The protected members scripts may call, reached through a subclass.
struct RendererAccess : SkeletonRenderer {
    using SkeletonRenderer::getMeshAttachmentTexture;
    using SkeletonRenderer::getRegionAttachmentTexture;
    using SkeletonRenderer::getSkinnedMeshAttachmentTexture;
};

template <class T>
void pushRecord(lua_State* L, T* record, const char* typeName) {
    if (record) {
        tolua_pushusertype(L, record, typeName);
    } else {
        lua_pushnil(L);
    }
}

// The record at index when it is a usertype of that name; null otherwise.
template <class T>
T* recordAt(lua_State* L, int index, const char* typeName) {
    if (lua_type(L, index) != LUA_TUSERDATA) return nullptr;
    tolua_Error err;
    if (!tolua_isusertype(L, index, typeName, 0, &err)) return nullptr;
    return static_cast<T*>(tolua_tousertype(L, index, nullptr));
}

int pushTexture(lua_State* L, engine::Texture2D* texture) { return pushResult(L, texture); }

bool attachmentOfNode(const SkeletonRenderer* node, const spAttachment* attachment) {
    const spSkeleton* skeleton = node->getSkeleton();
    if (!attachment || !skeleton || !skeleton->data) return false;
    const spSkeletonData* data = skeleton->data;
    for (int i = 0; i < data->skinsCount; ++i) {
        for (const spSkinEntry* entry = data->skins[i]->entries; entry; entry = entry->next) {
            if (entry->attachment == attachment) return true;
        }
    }
    return false;
}

bool entryOfState(const spTrackEntry* wanted, const spTrackEntry* entry) {
    for (; entry; entry = entry->next) {
        if (entry == wanted && !entry->disposed) return true;
        if (entryOfState(wanted, entry->previous)) return true;
    }
    return false;
}

bool entryOfNode(SkeletonAnimation* node, const spTrackEntry* wanted) {
    const spAnimationState* state = node->getState();
    if (!wanted || !state) return false;
    for (int i = 0; i < state->tracksCount; ++i) {
        if (entryOfState(wanted, state->tracks[i])) return true;
    }
    return false;
}

void refuse(const char* name, const char* why) { engine::log("%s: %s; nothing done", name, why); }

// ---- sp.SkeletonRenderer

int refuseInit(lua_State* L, const char* name) {
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (node->getSkeleton()) {
        refuse(name, "the node already has its skeleton");
    } else {
        refuse(name, "a skeleton is given to a node when it is created");
    }
    return 0;
}

int lua_initWithFile(lua_State* L) { return refuseInit(L, "sp.SkeletonRenderer:initWithFile"); }
int lua_initWithData(lua_State* L) { return refuseInit(L, "sp.SkeletonRenderer:initWithData"); }
int lua_setSkeletonData(lua_State* L) { return refuseInit(L, "sp.SkeletonRenderer:setSkeletonData"); }
int lua_rendererInitialize(lua_State* L) { return refuseInit(L, "sp.SkeletonRenderer:initialize"); }

int lua_update(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:update";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 1) return countError(L, name, argumentCount(L), 1);
    double delta = 0;
    if (!luaconv_read_number(L, 2, &delta, name)) return luaL_error(L, "invalid arguments in function '%s'", name);
    node->update(static_cast<float>(delta));
    return 0;
}

int lua_onEnter(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:onEnter";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 0) return countError(L, name, argumentCount(L), 0);
    if (!node->isRunning()) node->onEnter();
    return 0;
}

int lua_onExit(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:onExit";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 0) return countError(L, name, argumentCount(L), 0);
    if (node->isRunning()) node->onExit();
    return 0;
}

// draw(renderer, transform, flags): queues the node's drawing on that renderer.
int lua_draw(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:draw";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 3) return countError(L, name, argumentCount(L), 3);
    engine::Renderer* renderer = nullptr;
    engine::Mat4 transform;
    uint32_t flags = 0;
    if (!readArgument(L, 2, &renderer) || !luaconv_read_mat4(L, 3, &transform, name) ||
        !luaconv_read_uint32(L, 4, &flags, name))
        return luaL_error(L, "invalid arguments in function '%s'", name);
    if (!renderer) renderer = engine::Director::getInstance()->getRenderer();
    node->draw(renderer, transform, flags);
    return 0;
}

int lua_drawSkeleton(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:drawSkeleton";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 2) return countError(L, name, argumentCount(L), 2);
    engine::Mat4 transform;
    uint32_t flags = 0;
    if (!luaconv_read_mat4(L, 2, &transform, name) || !luaconv_read_uint32(L, 3, &flags, name))
        return luaL_error(L, "invalid arguments in function '%s'", name);
    node->drawSkeleton(transform, flags);
    return 0;
}

int lua_getBoundingBox(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:getBoundingBox";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 0) return countError(L, name, argumentCount(L), 0);
    return pushResult(L, node->getBoundingBox());
}

int lua_getSkeleton(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:getSkeleton";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 0) return countError(L, name, argumentCount(L), 0);
    pushRecord(L, node->getSkeleton(), "spSkeleton");
    return 1;
}

// findBone(name) / findSlot(name): the record, nil when the skeleton has none of that name.
template <bool kBone>
int lua_find(lua_State* L) {
    const char* name = kBone ? "sp.SkeletonRenderer:findBone" : "sp.SkeletonRenderer:findSlot";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 1) return countError(L, name, argumentCount(L), 1);
    if (lua_type(L, 2) != LUA_TSTRING) return luaL_error(L, "invalid arguments in function '%s'", name);
    const std::string key = lua_tostring(L, 2);
    if constexpr (kBone) {
        pushRecord(L, node->findBone(key), "spBone");
    } else {
        pushRecord(L, node->findSlot(key), "spSlot");
    }
    return 1;
}

int lua_getAttachment(lua_State* L) {
    const char* name = "sp.SkeletonRenderer:getAttachment";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 2) return countError(L, name, argumentCount(L), 2);
    if (lua_type(L, 2) != LUA_TSTRING || lua_type(L, 3) != LUA_TSTRING)
        return luaL_error(L, "invalid arguments in function '%s'", name);
    const std::string slot = lua_tostring(L, 2);
    const std::string attachment = lua_tostring(L, 3);
    pushRecord(L, node->getAttachment(slot, attachment), "spAttachment");
    return 1;
}

// get*AttachmentTexture(attachment): the texture of an attachment of the node of
// that kind (an "spAttachment" from getAttachment); nil with a log line otherwise.
template <spAttachmentType kType>
int lua_attachmentTexture(lua_State* L) {
    const char* name = kType == SP_ATTACHMENT_REGION ? "sp.SkeletonRenderer:getRegionAttachmentTexture"
                       : kType == SP_ATTACHMENT_MESH ? "sp.SkeletonRenderer:getMeshAttachmentTexture"
                                                     : "sp.SkeletonRenderer:getSkinnedMeshAttachmentTexture";
    SkeletonRenderer* node = checkSelf<SkeletonRenderer>(L, kRenderer, name);
    if (argumentCount(L) != 1) return countError(L, name, argumentCount(L), 1);
    auto* attachment = recordAt<spAttachment>(L, 2, "spAttachment");
    if (!attachment) return luaL_error(L, "invalid arguments in function '%s'", name);
    if (!attachmentOfNode(node, attachment) || attachment->type != kType) {
        refuse(name, "not an attachment of this kind of the node's skeleton");
        lua_pushnil(L);
        return 1;
    }
    // Pointers to the members as SkeletonRenderer declares them: no downcast.
    if constexpr (kType == SP_ATTACHMENT_REGION) {
        return pushTexture(L, (node->*&RendererAccess::getRegionAttachmentTexture)(
                                  reinterpret_cast<spRegionAttachment*>(attachment)));
    } else if constexpr (kType == SP_ATTACHMENT_MESH) {
        return pushTexture(L, (node->*&RendererAccess::getMeshAttachmentTexture)(
                                  reinterpret_cast<spMeshAttachment*>(attachment)));
    } else {
        return pushTexture(L, (node->*&RendererAccess::getSkinnedMeshAttachmentTexture)(
                                  reinterpret_cast<spSkinnedMeshAttachment*>(attachment)));
    }
}

// ---- sp.SkeletonAnimation

SkeletonAnimation* animationSelf(lua_State* L, const char* name) {
    return checkSelf<SkeletonAnimation>(L, kAnimation, name);
}

int lua_animationInitialize(lua_State* L) {
    animationSelf(L, "sp.SkeletonAnimation:initialize");
    refuse("sp.SkeletonAnimation:initialize", "the node already has its skeleton");
    return 0;
}

int lua_animationUpdate(lua_State* L) {
    const char* name = "sp.SkeletonAnimation:update";
    SkeletonAnimation* node = animationSelf(L, name);
    if (argumentCount(L) != 1) return countError(L, name, argumentCount(L), 1);
    double delta = 0;
    if (!luaconv_read_number(L, 2, &delta, name)) return luaL_error(L, "invalid arguments in function '%s'", name);
    node->update(static_cast<float>(delta));
    return 0;
}

// setAnimationStateData(data): only the node's own state's mix table (from
// getState), which lives as long as the node; a new state on it starts empty.
int lua_setAnimationStateData(lua_State* L) {
    const char* name = "sp.SkeletonAnimation:setAnimationStateData";
    SkeletonAnimation* node = animationSelf(L, name);
    if (argumentCount(L) != 1) return countError(L, name, argumentCount(L), 1);
    auto* data = recordAt<spAnimationStateData>(L, 2, "spAnimationStateData");
    if (!data) return luaL_error(L, "invalid arguments in function '%s'", name);
    if (!node->getState() || node->getState()->data != data) {
        refuse(name, "only the node's own mix table can be given");
        return 0;
    }
    node->setAnimationStateData(data);
    return 0;
}

int lua_getCurrent(lua_State* L) {
    const char* name = "sp.SkeletonAnimation:getCurrent";
    SkeletonAnimation* node = animationSelf(L, name);
    const int argc = argumentCount(L);
    if (argc > 1) return countError(L, name, argc, 0);
    int32_t track = 0;
    if (argc == 1 && !luaconv_read_int32(L, 2, &track, name))
        return luaL_error(L, "invalid arguments in function '%s'", name);
    pushRecord(L, node->getCurrent(track), "spTrackEntry");
    return 1;
}

int lua_getState(lua_State* L) {
    const char* name = "sp.SkeletonAnimation:getState";
    SkeletonAnimation* node = animationSelf(L, name);
    if (argumentCount(L) != 0) return countError(L, name, argumentCount(L), 0);
    spAnimationState* state = node->getState();
    pushRecord(L, state, "spAnimationState");
    return 1;
}

// Calls a listener's Lua function with the track (and loop count or event).
struct LuaListener {
    int handler = 0;
    void call(int trackIndex, int extra, bool withExtra) const {
        engine::LuaStack* stack = engine::LuaEngine::getInstance()->getLuaStack();
        if (!stack || !stack->getLuaState() || !handler) return;
        stack->pushInt(trackIndex);
        if (withExtra) stack->pushInt(extra);
        stack->executeFunctionByHandler(handler, withExtra ? 2 : 1);
    }
    void callWithEvent(int trackIndex, spEvent* event) const {
        engine::LuaStack* stack = engine::LuaEngine::getInstance()->getLuaStack();
        if (!stack || !stack->getLuaState() || !handler) return;
        stack->pushInt(trackIndex);
        if (event) {
            engine::ScriptValue::Dict data;
            data["name"] = engine::ScriptValue::stringValue(event->data ? event->data->name : "");
            data["intValue"] = engine::ScriptValue::intValue(event->intValue);
            data["floatValue"] = engine::ScriptValue::floatValue(event->floatValue);
            data["stringValue"] = engine::ScriptValue::stringValue(event->stringValue ? event->stringValue : "");
            stack->pushScriptValueDict(data);
        } else {
            stack->pushNil();
        }
        stack->executeFunctionByHandler(handler, 2);
    }
};

enum class ListenerKind { Start, End, Complete, Event };

// set*Listener(function): the node's listener of that kind; the function is
// filed as the node's handler of the matching skeleton kind, replacing (and
// releasing) the one before, as registerSkeletonEventHandler does.
template <ListenerKind kKind>
int lua_setListener(lua_State* L) {
    constexpr const char* names[] = {"sp.SkeletonAnimation:setStartListener", "sp.SkeletonAnimation:setEndListener",
                                     "sp.SkeletonAnimation:setCompleteListener",
                                     "sp.SkeletonAnimation:setEventListener"};
    const char* name = names[static_cast<int>(kKind)];
    SkeletonAnimation* node = animationSelf(L, name);
    if (argumentCount(L) != 1) return countError(L, name, argumentCount(L), 1);
    tolua_Error err;
    if (!toluafix_isFunction(L, 2, "LUA_FUNCTION", 0, &err))
        return luaL_error(L, "invalid arguments in function '%s'", name);
    const LuaListener listener{toluafix_refFunction(L, 2, 0)};
    const auto kind = static_cast<ScriptHandlerMgr::HandlerType>(
        static_cast<int>(ScriptHandlerMgr::HandlerType::EVENT_SKELETON_ANIMATION_START) + static_cast<int>(kKind));
    if constexpr (kKind == ListenerKind::Start) {
        node->setStartListener([listener](int track) { listener.call(track, 0, false); });
    } else if constexpr (kKind == ListenerKind::End) {
        node->setEndListener([listener](int track) { listener.call(track, 0, false); });
    } else if constexpr (kKind == ListenerKind::Complete) {
        node->setCompleteListener([listener](int track, int loops) { listener.call(track, loops, true); });
    } else {
        node->setEventListener([listener](int track, spEvent* event) { listener.callWithEvent(track, event); });
    }
    ScriptHandlerMgr::getInstance()->addObjectHandler(node, listener.handler, kind);
    return 0;
}

// setTrack*Listener(entry, function): the listener of one live track entry of
// the node; the function is filed under the node (released with its handlers).
template <ListenerKind kKind>
int lua_setTrackListener(lua_State* L) {
    constexpr const char* names[] = {
        "sp.SkeletonAnimation:setTrackStartListener", "sp.SkeletonAnimation:setTrackEndListener",
        "sp.SkeletonAnimation:setTrackCompleteListener", "sp.SkeletonAnimation:setTrackEventListener"};
    const char* name = names[static_cast<int>(kKind)];
    SkeletonAnimation* node = animationSelf(L, name);
    if (argumentCount(L) != 2) return countError(L, name, argumentCount(L), 2);
    auto* entry = recordAt<spTrackEntry>(L, 2, "spTrackEntry");
    tolua_Error err;
    if (!entry || !toluafix_isFunction(L, 3, "LUA_FUNCTION", 0, &err))
        return luaL_error(L, "invalid arguments in function '%s'", name);
    if (!entryOfNode(node, entry)) {
        refuse(name, "not a live track entry of this node");
        return 0;
    }
    const LuaListener listener{toluafix_refFunction(L, 3, 0)};
    ScriptHandlerMgr::getInstance()->addCustomHandler(node, listener.handler);
    if constexpr (kKind == ListenerKind::Start) {
        node->setTrackStartListener(entry, [listener](int track) { listener.call(track, 0, false); });
    } else if constexpr (kKind == ListenerKind::End) {
        node->setTrackEndListener(entry, [listener](int track) { listener.call(track, 0, false); });
    } else if constexpr (kKind == ListenerKind::Complete) {
        node->setTrackCompleteListener(entry, [listener](int track, int loops) { listener.call(track, loops, true); });
    } else {
        node->setTrackEventListener(entry,
                                    [listener](int track, spEvent* event) { listener.callWithEvent(track, event); });
    }
    return 0;
}

int lua_getTrackEntryListeners(lua_State* L) {
    const char* name = "sp.SkeletonAnimation:getTrackEntryListeners";
    SkeletonAnimation* node = animationSelf(L, name);
    if (argumentCount(L) != 1) return countError(L, name, argumentCount(L), 1);
    auto* entry = recordAt<spTrackEntry>(L, 2, "spTrackEntry");
    if (!entry) return luaL_error(L, "invalid arguments in function '%s'", name);
    if (!entryOfNode(node, entry)) {
        refuse(name, "not a live track entry of this node");
        lua_pushnil(L);
        return 1;
    }
    pushRecord(L, node->getTrackEntryListeners(entry), "TrackEntryListeners");
    return 1;
}

// onAnimationStateEvent / onTrackEntryEvent(trackIndex, type, loopCount): hands
// the node a notification as its state would, without an event record (scripts
// have none to give): type 3 (event) reaches the listeners with none.
template <bool kTrack>
int lua_onEvent(lua_State* L) {
    const char* name =
        kTrack ? "sp.SkeletonAnimation:onTrackEntryEvent" : "sp.SkeletonAnimation:onAnimationStateEvent";
    SkeletonAnimation* node = animationSelf(L, name);
    const int argc = argumentCount(L);
    if (argc != 3 && argc != 4) return countError(L, name, argc, 4);
    int32_t track = 0, type = 0, loops = 0;
    // The event record slot (argument 3) is skipped when four are given.
    const int loopsAt = argc == 4 ? 5 : 4;
    if (!luaconv_read_int32(L, 2, &track, name) || !luaconv_read_int32(L, 3, &type, name) ||
        !luaconv_read_int32(L, loopsAt, &loops, name))
        return luaL_error(L, "invalid arguments in function '%s'", name);
    if (type < SP_ANIMATION_START || type > SP_ANIMATION_EVENT || track < 0) {
        refuse(name, "no such notification");
        return 0;
    }
    const auto kind = static_cast<spEventType>(type);
    if constexpr (kTrack) {
        node->onTrackEntryEvent(track, kind, nullptr, loops);
    } else {
        node->onAnimationStateEvent(track, kind, nullptr, loops);
    }
    return 0;
}

const ClassFunction kRendererMembers[] = {
    {"initWithFile", lua_initWithFile},
    {"initWithData", lua_initWithData},
    {"setSkeletonData", lua_setSkeletonData},
    {"initialize", lua_rendererInitialize},
    {"update", lua_update},
    {"onEnter", lua_onEnter},
    {"onExit", lua_onExit},
    {"draw", lua_draw},
    {"drawSkeleton", lua_drawSkeleton},
    {"getBoundingBox", lua_getBoundingBox},
    {"getSkeleton", lua_getSkeleton},
    {"findBone", lua_find<true>},
    {"findSlot", lua_find<false>},
    {"getAttachment", lua_getAttachment},
    {"getRegionAttachmentTexture", lua_attachmentTexture<SP_ATTACHMENT_REGION>},
    {"getMeshAttachmentTexture", lua_attachmentTexture<SP_ATTACHMENT_MESH>},
    {"getSkinnedMeshAttachmentTexture", lua_attachmentTexture<SP_ATTACHMENT_SKINNED_MESH>},
};

const ClassFunction kAnimationMembers[] = {
    {"initialize", lua_animationInitialize},
    {"setAnimationStateData", lua_setAnimationStateData},
    {"update", lua_animationUpdate},
    {"getCurrent", lua_getCurrent},
    {"getState", lua_getState},
    {"setStartListener", lua_setListener<ListenerKind::Start>},
    {"setEndListener", lua_setListener<ListenerKind::End>},
    {"setCompleteListener", lua_setListener<ListenerKind::Complete>},
    {"setEventListener", lua_setListener<ListenerKind::Event>},
    {"setTrackStartListener", lua_setTrackListener<ListenerKind::Start>},
    {"setTrackEndListener", lua_setTrackListener<ListenerKind::End>},
    {"setTrackCompleteListener", lua_setTrackListener<ListenerKind::Complete>},
    {"setTrackEventListener", lua_setTrackListener<ListenerKind::Event>},
    {"getTrackEntryListeners", lua_getTrackEntryListeners},
    {"onAnimationStateEvent", lua_onEvent<false>},
    {"onTrackEntryEvent", lua_onEvent<true>},
};

}  // namespace

int register_skeleton_members(lua_State* L) {
    if (!L) return 0;
    for (const char* record : {"spSkeleton", "spBone", "spSlot", "spAttachment", "spTrackEntry", "spAnimationState",
                               "spAnimationStateData", "spSkeletonData", "TrackEntryListeners"}) {
        tolua_usertype(L, record);
    }
    addClassFunctions(L, kRenderer, kRendererMembers);
    addClassFunctions(L, kAnimation, kAnimationMembers);
    return 1;
}

}  // namespace bindings
