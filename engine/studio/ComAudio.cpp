#include "engine/studio/ComAudio.h"

#include "engine/audio/SimpleAudioEngine.h"

namespace studio {

namespace {
engine::SimpleAudioEngine* audio() { return engine::SimpleAudioEngine::getInstance(); }
}  // namespace

const std::string ComAudio::COMPONENT_NAME = "CCComAudio";

ComAudio* ComAudio::create() {
    auto* component = new ComAudio;
    if (!component->init()) {
        delete component;
        return nullptr;
    }
    component->autorelease();
    return component;
}

bool ComAudio::init() {
    setName(COMPONENT_NAME);
    return true;
}

void ComAudio::onExit() { stop(); }
void ComAudio::onRemove() { stop(); }

void ComAudio::start() {
    stop();
    _startedSoundId = audio()->playEffect(_filePath, _loop);
}

void ComAudio::stop() {
    if (_startedSoundId == 0) return;
    audio()->stopEffect(_startedSoundId);
    _startedSoundId = 0;
}

void ComAudio::end() { engine::SimpleAudioEngine::end(); }

void ComAudio::preloadBackgroundMusic(const std::string& filePath) { audio()->preloadBackgroundMusic(filePath); }
void ComAudio::playBackgroundMusic() { audio()->playBackgroundMusic(_filePath, _loop); }
void ComAudio::playBackgroundMusic(const std::string& filePath, bool loop) {
    audio()->playBackgroundMusic(filePath, loop);
}
void ComAudio::stopBackgroundMusic(bool releaseData) { audio()->stopBackgroundMusic(releaseData); }
void ComAudio::pauseBackgroundMusic() { audio()->pauseBackgroundMusic(); }
void ComAudio::resumeBackgroundMusic() { audio()->resumeBackgroundMusic(); }
void ComAudio::rewindBackgroundMusic() { audio()->rewindBackgroundMusic(); }
bool ComAudio::willPlayBackgroundMusic() const { return audio()->willPlayBackgroundMusic(); }
bool ComAudio::isBackgroundMusicPlaying() const { return audio()->isBackgroundMusicPlaying(); }
float ComAudio::getBackgroundMusicVolume() const { return audio()->getBackgroundMusicVolume(); }
void ComAudio::setBackgroundMusicVolume(float volume) { audio()->setBackgroundMusicVolume(volume); }

float ComAudio::getEffectsVolume() const { return audio()->getEffectsVolume(); }
void ComAudio::setEffectsVolume(float volume) { audio()->setEffectsVolume(volume); }
unsigned int ComAudio::playEffect() { return audio()->playEffect(_filePath, _loop); }
unsigned int ComAudio::playEffect(const std::string& filePath, bool loop) { return audio()->playEffect(filePath, loop); }
void ComAudio::pauseEffect(unsigned int soundId) { audio()->pauseEffect(soundId); }
void ComAudio::pauseAllEffects() { audio()->pauseAllEffects(); }
void ComAudio::resumeEffect(unsigned int soundId) { audio()->resumeEffect(soundId); }
void ComAudio::resumeAllEffects() { audio()->resumeAllEffects(); }
void ComAudio::stopEffect(unsigned int soundId) { audio()->stopEffect(soundId); }
void ComAudio::stopAllEffects() { audio()->stopAllEffects(); }
void ComAudio::preloadEffect(const std::string& filePath) { audio()->preloadEffect(filePath); }
void ComAudio::unloadEffect(const std::string& filePath) { audio()->unloadEffect(filePath); }

}  // namespace studio
