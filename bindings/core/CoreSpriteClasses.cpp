// Sprite frames, the sprite-frame cache, frame animations, the animation cache
// and the action playing an animation.
#include "bindings/core/CoreClassRows.h"

#include <vector>

#include "bindings/LuaChecks.h"
#include "engine/actions/Animate.h"
#include "engine/scene/Animation.h"
#include "engine/scene/SpriteFrameCache.h"

namespace bindings {

namespace {

using namespace engine;

SpriteFrame* createFrameWithTexture(Texture2D* texture, const Rect& rect) {
    return SpriteFrame::createWithTexture(texture, rect);
}
SpriteFrame* createTrimmedFrameWithTexture(Texture2D* texture, const Rect& rect, bool rotated, const Vec2& offset,
                                           const Size& originalSize) {
    return SpriteFrame::createWithTexture(texture, rect, rotated, offset, originalSize);
}

const Method kSpriteFrameMethods[] = {
    {"create", {classFunction<&SpriteFrame::create>()}},
    {"createWithTexture", {classFunction<&createFrameWithTexture>(), classFunction<&createTrimmedFrameWithTexture>()}},
    {"getTexture", {method<&SpriteFrame::getTexture>()}},
    {"getRect", {method<&SpriteFrame::getRect>()}},
    {"isRotated", {method<&SpriteFrame::isRotated>()}},
    {"getOffset", {method<&SpriteFrame::getOffset>()}},
    {"getOriginalSize", {method<&SpriteFrame::getOriginalSize>()}},
};

const Method kSpriteFrameCacheMethods[] = {
    {"getInstance", {classFunction<&SpriteFrameCache::getInstance>()}},
    {"addSpriteFrames", {method<overload<void(const std::string&)>(&SpriteFrameCache::addSpriteFrames)>(),
                         method<overload<void(const std::string&, const std::string&)>(
                             &SpriteFrameCache::addSpriteFrames)>()}},
    {"addSpriteFrame", {method<&SpriteFrameCache::addSpriteFrame>()}},
    {"getSpriteFrame", {method<&SpriteFrameCache::getSpriteFrame>()}},
    {"getSpriteFrameByName", {method<&SpriteFrameCache::getSpriteFrameByName>()}},
    {"isSpriteFramesWithFileLoaded", {method<&SpriteFrameCache::isSheetLoaded>()}},
    {"removeSpriteFrames", {method<&SpriteFrameCache::removeSpriteFrames>()}},
    {"removeSpriteFramesFromFile", {method<&SpriteFrameCache::removeSpriteFramesFromFile>()}},
    {"removeSpriteFrameByName", {method<&SpriteFrameCache::removeSpriteFrameByName>()}},
    {"removeUnusedSpriteFrames", {method<&SpriteFrameCache::removeUnusedSpriteFrames>()}},
};

const Method kAnimationMethods[] = {
    {"addSpriteFrame", {method<&Animation::addSpriteFrame>()}},
    {"getFrames", {method<&Animation::getFrames>()}},
    {"addSpriteFrameWithFile", {method<&Animation::addSpriteFrameWithFile>()}},
    {"setDelayPerUnit", {method<&Animation::setDelayPerUnit>()}},
    {"getDelayPerUnit", {method<&Animation::getDelayPerUnit>()}},
    {"setLoops", {method<&Animation::setLoops>()}},
    {"getLoops", {method<&Animation::getLoops>()}},
    {"setRestoreOriginalFrame", {method<&Animation::setRestoreOriginalFrame>()}},
    {"getRestoreOriginalFrame", {method<&Animation::getRestoreOriginalFrame>()}},
    {"getDuration", {method<&Animation::getDuration>()}},
    {"getTotalDelayUnits", {method<&Animation::getTotalDelayUnits>()}},
    {"clone", {method<&Animation::clone>()}},
};

const Method kAnimationFrameMethods[] = {
    {"create", {classFunction<&AnimationFrame::create>()}},
    {"getSpriteFrame", {method<&AnimationFrame::getSpriteFrame>()}},
    {"setSpriteFrame", {method<&AnimationFrame::setSpriteFrame>()}},
    {"getDelayUnits", {method<&AnimationFrame::getDelayUnits>()}},
    {"setDelayUnits", {method<&AnimationFrame::setDelayUnits>()}},
    {"clone", {method<&AnimationFrame::clone>()}},
};

const Method kAnimationCacheMethods[] = {
    {"getInstance", {classFunction<&AnimationCache::getInstance>()}},
    {"addAnimation", {method<&AnimationCache::addAnimation>()}},
    {"getAnimation", {method<&AnimationCache::getAnimation>()}},
    {"removeAnimation", {method<&AnimationCache::removeAnimation>()}},
};

const Method kAnimateMethods[] = {
    {"create", {classFunction<&Animate::create>()}},
    {"getAnimation", {method<&Animate::getAnimation>()}},
};

const ClassEntry kRows[] = {
    classEntry<SpriteFrame>("cc.SpriteFrame", "cc.Ref", kSpriteFrameMethods),
    classEntry<SpriteFrameCache>("cc.SpriteFrameCache", nullptr, kSpriteFrameCacheMethods),
    classEntry<AnimationFrame>("cc.AnimationFrame", "cc.Ref", kAnimationFrameMethods),
    classEntry<Animation>("cc.Animation", "cc.Ref", kAnimationMethods),
    classEntry<AnimationCache>("cc.AnimationCache", nullptr, kAnimationCacheMethods),
    classEntry<Animate>("cc.Animate", "cc.ActionInterval", kAnimateMethods),
};

// cc.Animation:createWithSpriteFrames(frames[, delayPerUnit[, loops]]): frames is a
// list of sprite frames; anything else in it is refused before anything is made.
int lua_Animation_createWithSpriteFrames(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc < 1 || argc > 3) return countError(L, "cc.Animation:createWithSpriteFrames", argc, 3, " \n");
    if (!lua_istable(L, 2)) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_Animation_createWithSpriteFrames'");
    }
    const lua_Integer count = static_cast<lua_Integer>(lua_objlen(L, 2));
    for (lua_Integer i = 1; i <= count; ++i) {
        lua_rawgeti(L, 2, static_cast<int>(i));
        const bool frame = objectAt<SpriteFrame>(L, lua_gettop(L), "cc.SpriteFrame") != nullptr;
        lua_pop(L, 1);
        if (!frame) return luaL_error(L, "invalid arguments in function 'lua_engine_Animation_createWithSpriteFrames'");
    }
    const float delay = argc >= 2 ? static_cast<float>(numberAt(L, 3)) : 0.f;
    const int32_t loops = argc >= 3 ? intAt(L, 4) : 1;
    Animation* animation = nullptr;
    {
        std::vector<SpriteFrame*> frames;
        for (lua_Integer i = 1; i <= count; ++i) {
            lua_rawgeti(L, 2, static_cast<int>(i));
            frames.push_back(objectAt<SpriteFrame>(L, lua_gettop(L), "cc.SpriteFrame"));
            lua_pop(L, 1);
        }
        animation = Animation::createWithSpriteFrames(frames, delay, static_cast<unsigned int>(loops));
    }
    return pushResult(L, animation);
}

}  // namespace

std::span<const ClassEntry> coreSpriteRows() { return kRows; }

void register_sprite_frames_manual(lua_State* L) {
    const ClassFunction functions[] = {{"createWithSpriteFrames", lua_Animation_createWithSpriteFrames}};
    addClassFunctions(L, "cc.Animation", functions);
}

}  // namespace bindings
