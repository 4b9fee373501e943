// The audio engine module: the experimental audio classes (table "ccexp").
// ccexp.AudioEngine is a table of class functions over the engine's audio layer;
// ccexp.AudioProfile is a record scripts make with new (and own) or get from the
// engine, with the fields name, maxInstances and minDelay.
#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/audio/AudioEngine.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaNumberCasts.h"

#include <memory>
#include <vector>

namespace bindings {

namespace {

using engine::experimental::AudioEngine;
using engine::experimental::AudioProfile;

ScriptOwned<AudioProfile> newProfile() { return {new AudioProfile}; }

int play2d(const std::string& file, bool loop, float volume) { return AudioEngine::play2d(file, loop, volume); }

int getState(int audioID) { return static_cast<int>(AudioEngine::getState(audioID)); }

const Method kAudioProfileMethods[] = {
    {"new", {classFunction<&newProfile>()}},
};

const Method kAudioEngineMethods[] = {
    {"lazyInit", {classFunction<&AudioEngine::lazyInit>()}},
    {"end", {classFunction<&AudioEngine::end>()}},
    {"getDefaultProfile", {classFunction<&AudioEngine::getDefaultProfile>()}},
    {"play2d", {classFunction<&play2d, false, 1>(), classFunction<&AudioEngine::play2d>()}},
    {"setLoop", {classFunction<&AudioEngine::setLoop>()}},
    {"isLoop", {classFunction<&AudioEngine::isLoop>()}},
    {"setVolume", {classFunction<&AudioEngine::setVolume>()}},
    {"getVolume", {classFunction<&AudioEngine::getVolume>()}},
    {"pause", {classFunction<&AudioEngine::pause>()}},
    {"pauseAll", {classFunction<&AudioEngine::pauseAll>()}},
    {"resume", {classFunction<&AudioEngine::resume>()}},
    {"resumeAll", {classFunction<&AudioEngine::resumeAll>()}},
    {"stop", {classFunction<&AudioEngine::stop>()}},
    {"stopAll", {classFunction<&AudioEngine::stopAll>()}},
    {"setCurrentTime", {classFunction<&AudioEngine::setCurrentTime>()}},
    {"getCurrentTime", {classFunction<&AudioEngine::getCurrentTime>()}},
    {"getDuration", {classFunction<&AudioEngine::getDuration>()}},
    {"getState", {classFunction<&getState>()}},
    {"getMaxAudioInstance", {classFunction<&AudioEngine::getMaxAudioInstance>()}},
    {"setMaxAudioInstance", {classFunction<&AudioEngine::setMaxAudioInstance>()}},
    {"getPlayingAudioCount", {classFunction<&AudioEngine::getPlayingAudioCount>()}},
    {"uncache", {classFunction<&AudioEngine::uncache>()}},
    {"uncacheAll", {classFunction<&AudioEngine::uncacheAll>()}},
    {"getProfile",
     {classFunction<static_cast<AudioProfile* (*)(int)>(&AudioEngine::getProfile)>(),
      classFunction<static_cast<AudioProfile* (*)(const std::string&)>(&AudioEngine::getProfile)>()}},
    {"preload", {classFunction<static_cast<void (*)(const std::string&)>(&AudioEngine::preload)>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kAudioEngineClasses = {
    ownedClassEntry<AudioProfile>("ccexp.AudioProfile", nullptr, kAudioProfileMethods),
    classEntry<AudioEngine>("ccexp.AudioEngine", nullptr, kAudioEngineMethods),
};

// ---- ccexp.AudioProfile fields

AudioProfile* profileAt(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "ccexp.AudioProfile", 0, &err)) return nullptr;
    return static_cast<AudioProfile*>(tolua_tousertype(L, 1, nullptr));
}

int getName(lua_State* L) {
    AudioProfile* profile = profileAt(L);
    if (!profile) return 0;
    lua_pushlstring(L, profile->name.data(), profile->name.size());
    return 1;
}

int getMaxInstances(lua_State* L) {
    AudioProfile* profile = profileAt(L);
    if (!profile) return 0;
    lua_pushnumber(L, static_cast<lua_Number>(profile->maxInstances));
    return 1;
}

int getMinDelay(lua_State* L) {
    AudioProfile* profile = profileAt(L);
    if (!profile) return 0;
    lua_pushnumber(L, profile->minDelay);
    return 1;
}

// Setters take exactly one value and otherwise do nothing.
int setName(lua_State* L) {
    AudioProfile* profile = profileAt(L);
    if (!profile || argumentCount(L) != 1 || !lua_isstring(L, 2)) return 0;
    size_t length = 0;
    const char* text = lua_tolstring(L, 2, &length);
    profile->name.assign(text, length);
    return 0;
}

int setMaxInstances(lua_State* L) {
    AudioProfile* profile = profileAt(L);
    if (!profile || argumentCount(L) != 1 || !lua_isnumber(L, 2)) return 0;
    profile->maxInstances = luaconv::wrapToUInt32(lua_tonumber(L, 2));
    return 0;
}

int setMinDelay(lua_State* L) {
    AudioProfile* profile = profileAt(L);
    if (!profile || argumentCount(L) != 1 || !lua_isnumber(L, 2)) return 0;
    profile->minDelay = lua_tonumber(L, 2);
    return 0;
}

void registerProfileFields(lua_State* L) {
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_module(L, "ccexp", 0);
    tolua_beginmodule(L, "ccexp");
    tolua_beginmodule(L, "AudioProfile");
    tolua_variable(L, "name", getName, setName);
    tolua_variable(L, "maxInstances", getMaxInstances, setMaxInstances);
    tolua_variable(L, "minDelay", getMinDelay, setMinDelay);
    tolua_endmodule(L);
    tolua_endmodule(L);
    tolua_endmodule(L);
}

// ---- ccexp.AudioEngine:setFinishCallback

// The script function of one finish callback: called at most once, and released
// once, after its call or when the engine drops the callback uncalled.
class FinishHandler {
public:
    explicit FinishHandler(int handler) : _handler(handler) {}
    ~FinishHandler() { release(); }
    FinishHandler(const FinishHandler&) = delete;
    FinishHandler& operator=(const FinishHandler&) = delete;

    void call(int audioID, const std::string& file) {
        if (_released) return;
        if (engine::LuaEngine* luaEngine = scriptLuaEngine()) {
            engine::LuaStack* stack = luaEngine->getLuaStack();
            lua_State* L = stack->getLuaState();
            const int top = lua_gettop(L);
            stack->pushInt(audioID);
            stack->pushString(file.c_str(), static_cast<int>(file.size()));
            stack->executeFunctionByHandler(_handler, 2);
            lua_settop(L, top);
        }
        release();
    }

private:
    void release() {
        if (_released) return;
        _released = true;
        if (engine::LuaEngine* luaEngine = scriptLuaEngine()) luaEngine->removeScriptHandler(_handler);
    }

    int _handler;
    bool _released = false;
};

int lua_AudioEngine_setFinishCallback(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "ccexp.AudioEngine:setFinishCallback", argc, 2, "\n ");
    int32_t audioID = 0;
    tolua_Error err;
    if (!luaconv_read_int32(L, 2, &audioID) || !toluafix_isFunction(L, 3, "LUA_FUNCTION", 0, &err)) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_AudioEngine_setFinishCallback'");
    }
    auto handler = std::make_shared<FinishHandler>(handlerAt(L, 3));
    AudioEngine::setFinishCallback(audioID, [handler](int id, const std::string& file) { handler->call(id, file); });
    return 0;
}

const ClassFunction kAudioEngineManual[] = {
    {"setFinishCallback", lua_AudioEngine_setFinishCallback},
};

}  // namespace

std::span<const ClassEntry> audioEngineClassTable() { return kAudioEngineClasses; }

int register_audioengine_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kAudioEngineClasses);
    registerProfileFields(L);
    addClassFunctions(L, "ccexp.AudioEngine", kAudioEngineManual);
    return 1;
}

}  // namespace bindings
