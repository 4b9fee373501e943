#pragma once
// The script side of the animated skeleton node: the class scripts create
// through sp.SkeletonAnimation:create, the six hand-written methods of
// sp.SkeletonAnimation and the hand-over of each notification to its Lua
// handler as one table {type, trackIndex, animation, loopCount[, eventData]}.
// Handlers are handler ids filed in the script handler registry under the node
// (kinds 64 start, 65 end, 66 complete, 67 event) and run on the Lua engine's
// stack. setAnimation and addAnimation raise a Lua error for a track index
// outside 0 .. SP_ANIMATION_STATE_MAX_TRACKS - 1 (255), allocating nothing. Main
// thread only.
#include <lua.hpp>

#include <string>

#include "skeleton/SkeletonAnimation.h"

namespace bindings {

class LuaSkeletonAnimation : public skeleton::SkeletonAnimation {
public:
    LuaSkeletonAnimation(const std::string& skeletonDataFile, const std::string& atlasFile, float scale);
    // Autoreleased.
    static LuaSkeletonAnimation* createWithFile(const std::string& skeletonDataFile, const std::string& atlasFile,
                                                float scale = 1);
    // Drops every script handler of the node first.
    ~LuaSkeletonAnimation() override;
};

// Calls the handler with the notification's table; its first result, or 0 when
// there is no node, no handler or no Lua state.
int dispatchSkeletonEventToLua(skeleton::SkeletonAnimation* node, int handler, spEventType type, int trackIndex,
                               int loopCount, spEvent* event);

// Adds create, registerSkeletonEventHandler, unregisterSkeletonEventHandler,
// setBlendFunc, addAnimation and setAnimation to sp.SkeletonAnimation (nothing
// when the class is not registered) and maps LuaSkeletonAnimation to it.
int register_skeleton_manual(lua_State* L);

// Adds the members of sp.SkeletonRenderer and sp.SkeletonAnimation that take or
// give the runtime's records (bindings/skeleton/LuaSkeletonMembers.cpp).
int register_skeleton_members(lua_State* L);

}  // namespace bindings
