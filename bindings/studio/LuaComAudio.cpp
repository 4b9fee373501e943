#include "bindings/studio/LuaComAudio.h"

#include "engine/studio/ComAudio.h"

namespace bindings {

namespace {

using studio::ComAudio;

const Method kComAudioMethods[] = {
    {"create", {classFunction<&ComAudio::create>()}},
    {"setFile", {method<&ComAudio::setFile>()}},
    {"getFile", {method<&ComAudio::getFile>()}},
    {"setLoop", {method<&ComAudio::setLoop>()}},
    {"isLoop", {method<&ComAudio::isLoop>()}},
    {"start", {method<&ComAudio::start>()}},
    {"stop", {method<&ComAudio::stop>()}},
    {"end", {method<&ComAudio::end>()}},
    {"preloadBackgroundMusic", {method<&ComAudio::preloadBackgroundMusic>()}},
    {"playBackgroundMusic",
     {method<overload<void()>(&ComAudio::playBackgroundMusic)>(),
      method<overload<void(const std::string&, bool)>(&ComAudio::playBackgroundMusic), false>()}},
    {"stopBackgroundMusic", {method<&ComAudio::stopBackgroundMusic, false>()}},
    {"pauseBackgroundMusic", {method<&ComAudio::pauseBackgroundMusic>()}},
    {"resumeBackgroundMusic", {method<&ComAudio::resumeBackgroundMusic>()}},
    {"rewindBackgroundMusic", {method<&ComAudio::rewindBackgroundMusic>()}},
    {"willPlayBackgroundMusic", {method<&ComAudio::willPlayBackgroundMusic>()}},
    {"isBackgroundMusicPlaying", {method<&ComAudio::isBackgroundMusicPlaying>()}},
    {"getBackgroundMusicVolume", {method<&ComAudio::getBackgroundMusicVolume>()}},
    {"setBackgroundMusicVolume", {method<&ComAudio::setBackgroundMusicVolume>()}},
    {"getEffectsVolume", {method<&ComAudio::getEffectsVolume>()}},
    {"setEffectsVolume", {method<&ComAudio::setEffectsVolume>()}},
    {"playEffect",
     {method<overload<unsigned int()>(&ComAudio::playEffect)>(),
      method<overload<unsigned int(const std::string&, bool)>(&ComAudio::playEffect), false>()}},
    {"pauseEffect", {method<&ComAudio::pauseEffect>()}},
    {"pauseAllEffects", {method<&ComAudio::pauseAllEffects>()}},
    {"resumeEffect", {method<&ComAudio::resumeEffect>()}},
    {"resumeAllEffects", {method<&ComAudio::resumeAllEffects>()}},
    {"stopEffect", {method<&ComAudio::stopEffect>()}},
    {"stopAllEffects", {method<&ComAudio::stopAllEffects>()}},
    {"preloadEffect", {method<&ComAudio::preloadEffect>()}},
    {"unloadEffect", {method<&ComAudio::unloadEffect>()}},
};

}  // namespace

std::span<const Method> comAudioMethods() { return kComAudioMethods; }

}  // namespace bindings
