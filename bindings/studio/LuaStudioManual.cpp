#include "bindings/studio/LuaStudioManual.h"

#include <string>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/studio/CustomGUIReader.h"
#include "bindings/studio/LuaArmatureWrapper.h"
#include "engine/base/Vector.h"
#include "engine/script/ScriptEvent.h"
#include "engine/studio/Armature.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/scene/Node.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/studio/CSLoader.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaStack.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {
namespace {

using engine::ScriptHandlerMgr;

using studio::timeline::ActionTimeline;

// The Lua engine's stack while it is the one a callback was registered on.
struct CallSite {
    lua_State* L = nullptr;
    unsigned long generation = engine::ScriptEngineManager::engineGeneration();

    engine::LuaStack* stack() const {
        if (generation != engine::ScriptEngineManager::engineGeneration()) return nullptr;
        auto* lua = dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
        engine::LuaStack* s = lua ? lua->getLuaStack() : nullptr;
        return s && s->getLuaState() == L ? s : nullptr;
    }
};

void releaseHandler(int handler) {
    if (handler == 0) return;
    if (engine::ScriptEngineProtocol* script = engine::ScriptEngineManager::getInstance()->getScriptEngine()) {
        script->removeScriptHandler(handler);
    }
}

// ---- cc.CSLoader

int lua_csloaderCreateNode(lua_State* L) {
    const int argc = argumentCount(L);
    tolua_Error err;
    if ((argc != 1 && argc != 2) || !tolua_isstring(L, 2, 0, &err)) {
        return countError(L, "cc.CSLoader:createNode", argc, 1, "");
    }
    const int handler = argc == 2 ? handlerAt(L, 3) : 0;
    std::string file;
    luaconv_read_std_string(L, 2, &file, "cc.CSLoader:createNode");
    engine::Node* node = nullptr;
    if (handler == 0) {
        node = engine::CSLoader::getInstance()->createNode(file);
    } else {
        node = engine::CSLoader::getInstance()->createNode(file, [site = CallSite{L}, handler](engine::Ref* object) {
            engine::LuaStack* stack = site.stack();
            if (!object || !stack) return;
            stack->pushObject(object, "cc.Ref");
            stack->executeFunctionByHandler(handler, 1);
        });
        // The node owns the handler; with no node nothing would.
        if (node) {
            ScriptHandlerMgr::getInstance()->addCustomHandler(node, handler);
        } else {
            releaseHandler(handler);
        }
    }
    luaconv_push_object(L, "cc.Node", node);
    return 1;
}

int lua_csloaderCreateTimeline(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.CSLoader:createTimeline", argc, 1, "\n ");
    std::string file;
    if (!luaconv_read_std_string(L, 2, &file, "cc.CSLoader:createTimeline")) return 0;
    luaconv_push_object(L, "ccs.ActionTimeline", engine::CSLoader::getInstance()->createTimeline(file));
    return 1;
}

// ---- Timelines

int lua_timelineCacheGetInstance(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "ccs.ActionTimelineCache:getInstance", argc, 0, "\n ");
    luaconv_push_usertype(L, "ccs.ActionTimelineCache", studio::timeline::ActionTimelineCache::getInstance());
    return 1;
}

int lua_timelineSetFrameEventCallFunc(lua_State* L) {
    auto* timeline = checkSelf<ActionTimeline>(L, "ccs.ActionTimeline", "ccs.ActionTimeline:setFrameEventCallFunc");
    const int argc = argumentCount(L);
    if (argc != 1) {
        return luaL_error(L,
                          "'setFrameEventCallFunc' function of ActionTimeline has wrong number of arguments: %d, "
                          "was expecting %d\n",
                          argc, 1);
    }
    const int handler = handlerAt(L, 2);
    if (handler == 0) {
        timeline->clearFrameEventCallFunc();
        return 0;
    }
    // The timeline owns the handler: it is released when the timeline goes.
    ScriptHandlerMgr::getInstance()->addCustomHandler(timeline, handler);
    timeline->setFrameEventCallFunc([site = CallSite{L}, handler](studio::timeline::Frame* frame) {
        engine::LuaStack* stack = site.stack();
        if (!frame || !stack) return;
        stack->pushObject(frame, "ccs.Frame");
        stack->executeFunctionByHandler(handler, 1);
    });
    return 0;
}

// ---- Armatures

int animationCallbackCountError(lua_State* L, const char* method, int argc) {
    return luaL_error(L, "'%s' function of ArmatureAnimation has wrong number of arguments: %d, was expecting %d\n",
                      method, argc, 1);
}

// A wrapper holding the handler at index 2 under the armature kind, in a vector
// that the callback copies; null when argument 2 is not a function.
engine::Vector<bindings::LuaArmatureWrapper*> wrapHandler(lua_State* L) {
    engine::Vector<bindings::LuaArmatureWrapper*> holder;
    const int handler = handlerAt(L, 2);
    if (handler == 0) return holder;
    auto* wrapper = bindings::LuaArmatureWrapper::create();
    holder.pushBack(wrapper);
    ScriptHandlerMgr::getInstance()->addObjectHandler(wrapper, handler, ScriptHandlerMgr::HandlerType::ARMATURE_EVENT);
    return holder;
}

int lua_animationSetMovementEventCallFunc(lua_State* L) {
    auto* animation = checkSelf<studio::ArmatureAnimation>(L, "ccs.ArmatureAnimation",
                                                           "ccs.ArmatureAnimation:setMovementEventCallFunc");
    const int argc = argumentCount(L);
    if (argc != 1) return animationCallbackCountError(L, "setMovementEventCallFunc", argc);
    engine::Vector<bindings::LuaArmatureWrapper*> holder = wrapHandler(L);
    if (holder.empty()) {
        animation->setMovementEventCallFunc(nullptr);
        return 0;
    }
    animation->setMovementEventCallFunc(
        [holder](studio::Armature* armature, studio::MovementEventType type, const std::string& id) {
            engine::ArmatureMovementEventData movement;
            movement.armature = armature;
            movement.movementType = static_cast<int>(type);
            movement.movementID = id;
            sendArmatureEvent(holder.at(0), 0, &movement);
        });
    return 0;
}

int lua_animationSetFrameEventCallFunc(lua_State* L) {
    auto* animation = checkSelf<studio::ArmatureAnimation>(L, "ccs.ArmatureAnimation",
                                                           "ccs.ArmatureAnimation:setFrameEventCallFunc");
    const int argc = argumentCount(L);
    if (argc != 1) return animationCallbackCountError(L, "setFrameEventCallFunc", argc);
    engine::Vector<bindings::LuaArmatureWrapper*> holder = wrapHandler(L);
    if (holder.empty()) {
        animation->setFrameEventCallFunc(nullptr);
        return 0;
    }
    animation->setFrameEventCallFunc([holder](studio::Bone* bone, const std::string& name, int origin, int current) {
        engine::ArmatureFrameEventData frame;
        frame.bone = bone;
        frame.frameEventName = name;
        frame.originFrameIndex = origin;
        frame.currentFrameIndex = current;
        sendArmatureEvent(holder.at(0), 1, &frame);
    });
    return 0;
}

int lua_dataManagerAddArmatureFileInfoAsync(lua_State* L) {
    auto* manager = checkSelf<studio::ArmatureDataManager>(L, "ccs.ArmatureDataManager",
                                                           "ccs.ArmatureDataManager:addArmatureFileInfoAsync");
    const int argc = argumentCount(L);
    if (argc != 2 && argc != 4) {
        return luaL_error(L,
                          "'addArmatureFileInfoAsync' function of ArmatureDataManager has wrong number of "
                          "arguments: %d, was expecting %d\n",
                          argc, 1);
    }
    const int handler = handlerAt(L, argc + 1);
    std::string paths[3];
    for (int i = 0; i < argc - 1; ++i) luaconv_read_std_string(L, 2 + i, &paths[i], "addArmatureFileInfoAsync");
    auto* wrapper = bindings::LuaArmatureWrapper::create();
    if (handler != 0) {
        ScriptHandlerMgr::getInstance()->addObjectHandler(wrapper, handler, ScriptHandlerMgr::HandlerType::ARMATURE_EVENT);
    }
    // The manager keeps the wrapper (its target) until the last call.
    auto progress = [wrapper](float percent) { wrapper->addArmatureFileInfoAsyncCallback(percent); };
    if (argc == 2) {
        manager->addArmatureFileInfoAsync(paths[0], wrapper, progress);
    } else {
        manager->addArmatureFileInfoAsync(paths[0], paths[1], paths[2], wrapper, progress);
    }
    return 0;
}

int boneCountError(lua_State* L, const char* method, int argc, int expected) {
    return luaL_error(L, "'%s' function of Bone  has wrong number of arguments: %d, was expecting %d\n", method, argc,
                      expected);
}

int lua_boneSetIgnoreMovementBoneData(lua_State* L) {
    auto* bone = checkSelf<studio::Bone>(L, "ccs.Bone", "ccs.Bone:setIgnoreMovementBoneData");
    const int argc = argumentCount(L);
    if (argc != 1) return boneCountError(L, "setIgnoreMovementBoneData", argc, 1);
    bone->setIgnoreMovementBoneData(truthAt(L, 2));
    return 0;
}

int lua_boneGetIgnoreMovementBoneData(lua_State* L) {
    auto* bone = checkSelf<studio::Bone>(L, "ccs.Bone", "ccs.Bone:getIgnoreMovementBoneData");
    const int argc = argumentCount(L);
    if (argc != 0) return boneCountError(L, "getIgnoreMovementBoneData", argc, 0);
    lua_pushboolean(L, bone->getIgnoreMovementBoneData() ? 1 : 0);
    return 1;
}

// ---- ccs.CustomGUIReader

int lua_customGuiReaderCreate(lua_State* L) {
    const int argc = argumentCount(L);
    tolua_Error err;
    if (argc != 3 || !tolua_isstring(L, 2, 0, &err)) {
        return countError(L, "ccs.CustomGUIReader:create", argc, 3, "");
    }
    const int createFunc = handlerAt(L, 3);
    const int propsFunc = handlerAt(L, 4);
    std::string className;
    luaconv_read_std_string(L, 2, &className, "ccs.CustomGUIReader:create");
    luaconv_push_object(L, "ccs.CustomGUIReader", studio::CustomGUIReader::create(className, createFunc, propsFunc));
    return 1;
}


}  // namespace

int register_csloader_manual(lua_State* L) {
    static const ClassFunction functions[] = {{"createNode", lua_csloaderCreateNode},
                                              {"createTimeline", lua_csloaderCreateTimeline}};
    addClassFunctions(L, "cc.CSLoader", functions);
    return 0;
}

int register_custom_gui_reader_class(lua_State* L) {
    static const ClassFunction functions[] = {{"create", lua_customGuiReaderCreate}};
    addClassFunctions(L, "ccs.CustomGUIReader", functions);
    return 0;
}

int register_studio_manual(lua_State* L) {
    static const ClassFunction animation[] = {{"setMovementEventCallFunc", lua_animationSetMovementEventCallFunc},
                                              {"setFrameEventCallFunc", lua_animationSetFrameEventCallFunc}};
    static const ClassFunction dataManager[] = {{"addArmatureFileInfoAsync", lua_dataManagerAddArmatureFileInfoAsync}};
    static const ClassFunction bone[] = {{"setIgnoreMovementBoneData", lua_boneSetIgnoreMovementBoneData},
                                         {"getIgnoreMovementBoneData", lua_boneGetIgnoreMovementBoneData}};
    static const ClassFunction cache[] = {{"getInstance", lua_timelineCacheGetInstance}};
    static const ClassFunction timeline[] = {{"setFrameEventCallFunc", lua_timelineSetFrameEventCallFunc}};
    addClassFunctions(L, "ccs.ArmatureAnimation", animation);
    addClassFunctions(L, "ccs.ArmatureDataManager", dataManager);
    addClassFunctions(L, "ccs.Bone", bone);
    addClassFunctions(L, "ccs.ActionTimelineCache", cache);
    addClassFunctions(L, "ccs.ActionTimeline", timeline);
    return 0;
}

}  // namespace bindings
