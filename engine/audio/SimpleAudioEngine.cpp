#include "engine/audio/SimpleAudioEngine.h"

#include <algorithm>
#include <atomic>

#include "engine/audio/AudioEngine.h"

namespace engine {
namespace {
using experimental::AudioEngine;

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
    SimpleAudioEngine* audio = g_audio;
    g_audio = nullptr;
    delete audio;
    AudioEngine::end();
}

void SimpleAudioEngine::playMusicVoice() {
    AudioEngine::stop(_musicVoice);
    AudioEngine::PlayOptions options;
    options.loop = _musicLoop;
    options.volume = _musicVolume;
    options.music = true;
    _musicVoice = AudioEngine::play(_musicFile, options);
    if (_musicVoice == AudioEngine::INVALID_AUDIO_ID) return;
    AudioEngine::setFinishCallback(_musicVoice, [](int voice, const std::string&) {
        if (g_audio) g_audio->musicEnded(voice);
    });
}

void SimpleAudioEngine::musicEnded(int voice) {
    if (voice != _musicVoice) return;
    _musicVoice = -1;
    _musicPlaying = false;
    _musicPaused = false;
}

void SimpleAudioEngine::effectEnded(unsigned int id, int voice) {
    auto it = _effects.find(id);
    if (it != _effects.end() && it->second.voice == voice) _effects.erase(it);
}

void SimpleAudioEngine::preloadBackgroundMusic(const std::string& file) { _preloaded.insert(file); }

void SimpleAudioEngine::playBackgroundMusic(const std::string& file, bool loop) {
    _musicFile = file;
    _musicPlaying = true;
    _musicPaused = false;
    _musicLoop = loop;
    playMusicVoice();
}

void SimpleAudioEngine::stopBackgroundMusic(bool releaseData) {
    AudioEngine::stop(_musicVoice);
    _musicVoice = -1;
    _musicPlaying = false;
    _musicPaused = false;
    if (releaseData) _preloaded.erase(_musicFile);
}

void SimpleAudioEngine::pauseBackgroundMusic() {
    if (!_musicPlaying) return;
    _musicPaused = true;
    AudioEngine::pause(_musicVoice);
}

void SimpleAudioEngine::resumeBackgroundMusic() {
    _musicPaused = false;
    AudioEngine::resume(_musicVoice);
}

void SimpleAudioEngine::rewindBackgroundMusic() {
    if (_musicFile.empty()) return;
    _musicPlaying = true;
    _musicPaused = false;
    if (AudioEngine::setCurrentTime(_musicVoice, 0.0f)) {
        AudioEngine::resume(_musicVoice);
    } else {
        playMusicVoice();
    }
}

void SimpleAudioEngine::setBackgroundMusicVolume(float volume) {
    _musicVolume = clampVolume(volume);
    AudioEngine::setVolume(_musicVoice, _musicVolume);
}

void SimpleAudioEngine::setEffectsVolume(float volume) {
    _effectsVolume = clampVolume(volume);
    for (auto& [id, e] : _effects) AudioEngine::setVolume(e.voice, _effectsVolume * e.gain);
}

unsigned int SimpleAudioEngine::playEffect(const std::string& file, bool loop, float pitch, float pan,
                                           float gain) {
    unsigned int id = ++_lastEffectId;
    Effect effect{file, false, -1, clampVolume(gain)};
    AudioEngine::PlayOptions options;
    options.loop = loop;
    options.volume = _effectsVolume * effect.gain;
    options.pitch = pitch;
    options.pan = pan;
    effect.voice = AudioEngine::play(file, options);
    if (effect.voice != AudioEngine::INVALID_AUDIO_ID) {
        AudioEngine::setFinishCallback(effect.voice, [id](int voice, const std::string&) {
            if (g_audio) g_audio->effectEnded(id, voice);
        });
    }
    _effects[id] = effect;
    return id;
}

void SimpleAudioEngine::pauseEffect(unsigned int id) {
    auto it = _effects.find(id);
    if (it == _effects.end()) return;
    it->second.paused = true;
    AudioEngine::pause(it->second.voice);
}

void SimpleAudioEngine::resumeEffect(unsigned int id) {
    auto it = _effects.find(id);
    if (it == _effects.end()) return;
    it->second.paused = false;
    AudioEngine::resume(it->second.voice);
}

void SimpleAudioEngine::stopEffect(unsigned int id) {
    auto it = _effects.find(id);
    if (it == _effects.end()) return;
    AudioEngine::stop(it->second.voice);
    _effects.erase(it);
}

void SimpleAudioEngine::pauseAllEffects() {
    for (auto& [id, e] : _effects) {
        e.paused = true;
        AudioEngine::pause(e.voice);
    }
}

void SimpleAudioEngine::resumeAllEffects() {
    for (auto& [id, e] : _effects) {
        e.paused = false;
        AudioEngine::resume(e.voice);
    }
}

void SimpleAudioEngine::stopAllEffects() {
    for (auto& [id, e] : _effects) AudioEngine::stop(e.voice);
    _effects.clear();
}

void SimpleAudioEngine::preloadEffect(const std::string& file) {
    _preloaded.insert(file);
    AudioEngine::preload(file);
}

void SimpleAudioEngine::unloadEffect(const std::string& file) {
    _preloaded.erase(file);
    std::erase_if(_effects, [&](const auto& entry) {
        if (entry.second.file != file) return false;
        AudioEngine::stop(entry.second.voice);
        return true;
    });
    AudioEngine::uncache(file);
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
