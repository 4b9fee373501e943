#pragma once
// The class "cc.SimpleAudioEngine" (Lua class name "SimpleAudioEngine") over the
// engine's SimpleAudioEngine: getInstance, the music methods (preloadMusic,
// playMusic, stopMusic, pauseMusic, resumeMusic, rewindMusic, willPlayMusic,
// isMusicPlaying, getMusicVolume, setMusicVolume) and the effect methods
// (playEffect, pauseEffect, resumeEffect, stopEffect, pauseAllEffects,
// resumeAllEffects, stopAllEffects, preloadEffect, unloadEffect, getEffectsVolume,
// setEffectsVolume). Optional trailing arguments take the engine's defaults.
#include <lua.hpp>

namespace engine {

// Opens tolua++ on L and registers the class in the module "cc"; returns 1.
int register_audio_bindings(lua_State* L);

}  // namespace engine
