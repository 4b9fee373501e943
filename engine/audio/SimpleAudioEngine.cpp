#include "engine/audio/SimpleAudioEngine.h"

#include <algorithm>
#include <atomic>

namespace engine {
namespace {
SimpleAudioEngine* g_audio = nullptr;

float clampVolume(float v) { return std::clamp(v, 0.0f, 1.0f); }

std::atomic<bool> g_musicMuted{false};
}  // namespace

bool SimpleAudioEngine::isBackgroundMusicMuted() { return g_musicMuted.load(); }

float SimpleAudioEngine::getAudibleBackgroundMusicVolume() const {
    return isBackgroundMusicPlaying() && !isBackgroundMusicMuted() ? _musicVolume : 0.0f;
}

SimpleAudioEngine* SimpleAudioEngine::getInstance() {
    if (!g_audio) g_audio = new SimpleAudioEngine;
    return g_audio;
}

void SimpleAudioEngine::end() {
    delete g_audio;
    g_audio = nullptr;
}

void SimpleAudioEngine::preloadBackgroundMusic(const std::string& file) { _preloaded.insert(file); }

void SimpleAudioEngine::playBackgroundMusic(const std::string& file, bool loop) {
    _musicFile = file;
    _musicPlaying = true;
    _musicPaused = false;
    _musicLoop = loop;
}

void SimpleAudioEngine::stopBackgroundMusic(bool releaseData) {
    _musicPlaying = false;
    _musicPaused = false;
    if (releaseData) _preloaded.erase(_musicFile);
}

void SimpleAudioEngine::pauseBackgroundMusic() {
    if (_musicPlaying) _musicPaused = true;
}

void SimpleAudioEngine::resumeBackgroundMusic() { _musicPaused = false; }

void SimpleAudioEngine::rewindBackgroundMusic() {
    if (!_musicFile.empty()) {
        _musicPlaying = true;
        _musicPaused = false;
    }
}

void SimpleAudioEngine::setBackgroundMusicVolume(float volume) { _musicVolume = clampVolume(volume); }
void SimpleAudioEngine::setEffectsVolume(float volume) { _effectsVolume = clampVolume(volume); }

unsigned int SimpleAudioEngine::playEffect(const std::string& file, bool loop, float pitch, float pan,
                                           float gain) {
    (void)loop;
    (void)pitch;
    (void)pan;
    (void)gain;
    unsigned int id = ++_lastEffectId;
    _effects[id] = Effect{file, false};
    return id;
}

void SimpleAudioEngine::pauseEffect(unsigned int id) {
    auto it = _effects.find(id);
    if (it != _effects.end()) it->second.paused = true;
}

void SimpleAudioEngine::resumeEffect(unsigned int id) {
    auto it = _effects.find(id);
    if (it != _effects.end()) it->second.paused = false;
}

void SimpleAudioEngine::stopEffect(unsigned int id) { _effects.erase(id); }

void SimpleAudioEngine::pauseAllEffects() {
    for (auto& [id, e] : _effects) e.paused = true;
}

void SimpleAudioEngine::resumeAllEffects() {
    for (auto& [id, e] : _effects) e.paused = false;
}

void SimpleAudioEngine::stopAllEffects() { _effects.clear(); }

void SimpleAudioEngine::preloadEffect(const std::string& file) { _preloaded.insert(file); }

void SimpleAudioEngine::unloadEffect(const std::string& file) {
    _preloaded.erase(file);
    std::erase_if(_effects, [&](const auto& entry) { return entry.second.file == file; });
}

bool SimpleAudioEngine::isEffectPlaying(unsigned int id) const {
    auto it = _effects.find(id);
    return it != _effects.end() && !it->second.paused;
}

size_t SimpleAudioEngine::playingEffectCount() const {
    return static_cast<size_t>(std::count_if(_effects.begin(), _effects.end(),
                                             [](const auto& entry) { return !entry.second.paused; }));
}

}  // namespace engine

extern "C" void VEXOSetMusicMuted(bool muted) { engine::g_musicMuted.store(muted); }
