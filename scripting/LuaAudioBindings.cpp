#include "scripting/LuaAudioBindings.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaNumberCasts.h"

namespace engine {
namespace {

// Raises Lua errors: nothing with a destructor lives in these frames until the
// arguments have been read.

SimpleAudioEngine* self(lua_State* L, const char* name, int minArgs, int maxArgs) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "cc.SimpleAudioEngine", 0, &err)) {
        tolua_error(L, "#ferror in function 'cc.SimpleAudioEngine'.", &err);
    }
    const int argc = lua_gettop(L) - 1;
    if (argc < minArgs || argc > maxArgs) {
        luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d \n", name, argc, minArgs);
    }
    auto* audio = static_cast<SimpleAudioEngine*>(tolua_tousertype(L, 1, nullptr));
    if (!audio) luaL_error(L, "invalid 'cobj' in function '%s'", name);
    return audio;
}

const char* stringArg(lua_State* L, int index) { return luaL_checkstring(L, index); }
bool boolArg(lua_State* L, int index, bool def) {
    return lua_gettop(L) >= index ? lua_toboolean(L, index) != 0 : def;
}
float floatArg(lua_State* L, int index, float def) {
    return lua_gettop(L) >= index ? static_cast<float>(luaL_checknumber(L, index)) : def;
}
unsigned int idArg(lua_State* L, int index) {
    return luaconv::wrapToUInt32(luaL_checknumber(L, index));
}

int getInstance(lua_State* L) {
    tolua_pushusertype(L, SimpleAudioEngine::getInstance(), "cc.SimpleAudioEngine");
    return 1;
}

int preloadMusic(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:preloadMusic", 1, 1);
    a->preloadBackgroundMusic(stringArg(L, 2));
    return 0;
}

int playMusic(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:playMusic", 1, 2);
    const char* file = stringArg(L, 2);
    a->playBackgroundMusic(file, boolArg(L, 3, false));
    return 0;
}

int stopMusic(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:stopMusic", 0, 1);
    a->stopBackgroundMusic(boolArg(L, 2, false));
    return 0;
}

int pauseMusic(lua_State* L) {
    self(L, "cc.SimpleAudioEngine:pauseMusic", 0, 0)->pauseBackgroundMusic();
    return 0;
}

int resumeMusic(lua_State* L) {
    self(L, "cc.SimpleAudioEngine:resumeMusic", 0, 0)->resumeBackgroundMusic();
    return 0;
}

int rewindMusic(lua_State* L) {
    self(L, "cc.SimpleAudioEngine:rewindMusic", 0, 0)->rewindBackgroundMusic();
    return 0;
}

int willPlayMusic(lua_State* L) {
    lua_pushboolean(L, self(L, "cc.SimpleAudioEngine:willPlayMusic", 0, 0)->willPlayBackgroundMusic());
    return 1;
}

int isMusicPlaying(lua_State* L) {
    lua_pushboolean(L, self(L, "cc.SimpleAudioEngine:isMusicPlaying", 0, 0)->isBackgroundMusicPlaying());
    return 1;
}

int getMusicVolume(lua_State* L) {
    lua_pushnumber(L, self(L, "cc.SimpleAudioEngine:getMusicVolume", 0, 0)->getBackgroundMusicVolume());
    return 1;
}

int setMusicVolume(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:setMusicVolume", 1, 1);
    a->setBackgroundMusicVolume(floatArg(L, 2, 1.0f));
    return 0;
}

int getEffectsVolume(lua_State* L) {
    lua_pushnumber(L, self(L, "cc.SimpleAudioEngine:getEffectsVolume", 0, 0)->getEffectsVolume());
    return 1;
}

int setEffectsVolume(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:setEffectsVolume", 1, 1);
    a->setEffectsVolume(floatArg(L, 2, 1.0f));
    return 0;
}

int playEffect(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:playEffect", 1, 5);
    const char* file = stringArg(L, 2);
    const bool loop = boolArg(L, 3, false);
    const float pitch = floatArg(L, 4, 1.0f);
    const float pan = floatArg(L, 5, 0.0f);
    const float gain = floatArg(L, 6, 1.0f);
    lua_pushnumber(L, a->playEffect(file, loop, pitch, pan, gain));
    return 1;
}

int pauseEffect(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:pauseEffect", 1, 1);
    a->pauseEffect(idArg(L, 2));
    return 0;
}

int resumeEffect(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:resumeEffect", 1, 1);
    a->resumeEffect(idArg(L, 2));
    return 0;
}

int stopEffect(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:stopEffect", 1, 1);
    a->stopEffect(idArg(L, 2));
    return 0;
}

int pauseAllEffects(lua_State* L) {
    self(L, "cc.SimpleAudioEngine:pauseAllEffects", 0, 0)->pauseAllEffects();
    return 0;
}

int resumeAllEffects(lua_State* L) {
    self(L, "cc.SimpleAudioEngine:resumeAllEffects", 0, 0)->resumeAllEffects();
    return 0;
}

int stopAllEffects(lua_State* L) {
    self(L, "cc.SimpleAudioEngine:stopAllEffects", 0, 0)->stopAllEffects();
    return 0;
}

int preloadEffect(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:preloadEffect", 1, 1);
    a->preloadEffect(stringArg(L, 2));
    return 0;
}

int unloadEffect(lua_State* L) {
    SimpleAudioEngine* a = self(L, "cc.SimpleAudioEngine:unloadEffect", 1, 1);
    a->unloadEffect(stringArg(L, 2));
    return 0;
}

const luaL_Reg kMethods[] = {
    {"getInstance", getInstance},
    {"preloadMusic", preloadMusic},
    {"playMusic", playMusic},
    {"stopMusic", stopMusic},
    {"pauseMusic", pauseMusic},
    {"resumeMusic", resumeMusic},
    {"rewindMusic", rewindMusic},
    {"willPlayMusic", willPlayMusic},
    {"isMusicPlaying", isMusicPlaying},
    {"getMusicVolume", getMusicVolume},
    {"setMusicVolume", setMusicVolume},
    {"getEffectsVolume", getEffectsVolume},
    {"setEffectsVolume", setEffectsVolume},
    {"playEffect", playEffect},
    {"pauseEffect", pauseEffect},
    {"resumeEffect", resumeEffect},
    {"stopEffect", stopEffect},
    {"pauseAllEffects", pauseAllEffects},
    {"resumeAllEffects", resumeAllEffects},
    {"stopAllEffects", stopAllEffects},
    {"preloadEffect", preloadEffect},
    {"unloadEffect", unloadEffect},
};

}  // namespace

int register_audio_bindings(lua_State* L) {
    tolua_open(L);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_module(L, "cc", 0);
    tolua_beginmodule(L, "cc");
    luaconv_register_class<SimpleAudioEngine>(L, "SimpleAudioEngine", "cc.SimpleAudioEngine", nullptr);
    tolua_beginmodule(L, "SimpleAudioEngine");
    for (const luaL_Reg& method : kMethods) tolua_function(L, method.name, method.func);
    tolua_endmodule(L);
    tolua_endmodule(L);
    tolua_endmodule(L);
    return 1;
}

}  // namespace engine
