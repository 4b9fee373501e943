#pragma once
// The simple audio engine scripts use for background music and sound effects.
// There is no sound device behind it: it keeps what would be heard (the music
// file and whether it plays, loops or is paused, the effects playing with their
// ids, the two volumes) so that callers and tests can read it back.
#include <map>
#include <set>
#include <string>

namespace engine {

class SimpleAudioEngine {
public:
    static SimpleAudioEngine* getInstance();
    static void end();   // destroys the singleton

    void preloadBackgroundMusic(const std::string& file);
    void playBackgroundMusic(const std::string& file, bool loop = false);
    void stopBackgroundMusic(bool releaseData = false);
    void pauseBackgroundMusic();
    void resumeBackgroundMusic();
    void rewindBackgroundMusic();
    bool willPlayBackgroundMusic() const { return true; }
    bool isBackgroundMusicPlaying() const { return _musicPlaying && !_musicPaused; }
    const std::string& getBackgroundMusicFile() const { return _musicFile; }
    bool isBackgroundMusicLooping() const { return _musicLoop; }

    // Volumes are clamped to [0, 1].
    float getBackgroundMusicVolume() const { return _musicVolume; }
    // The desktop's music switch (VEXOSetMusicMuted), process-wide: while on, the
    // background music plays silent; the volume above stays what scripts set.
    static bool isBackgroundMusicMuted();
    // What the listener hears of the music: 0 while muted or not playing, else the volume.
    float getAudibleBackgroundMusicVolume() const;
    void setBackgroundMusicVolume(float volume);
    float getEffectsVolume() const { return _effectsVolume; }
    void setEffectsVolume(float volume);

    // Ids start at 1 and are never reused.
    unsigned int playEffect(const std::string& file, bool loop = false, float pitch = 1.0f,
                            float pan = 0.0f, float gain = 1.0f);
    void pauseEffect(unsigned int id);
    void resumeEffect(unsigned int id);
    void stopEffect(unsigned int id);
    void pauseAllEffects();
    void resumeAllEffects();
    void stopAllEffects();
    void preloadEffect(const std::string& file);
    void unloadEffect(const std::string& file);
    bool isEffectPlaying(unsigned int id) const;
    bool isEffectPreloaded(const std::string& file) const { return _preloaded.count(file) != 0; }
    size_t playingEffectCount() const;

private:
    SimpleAudioEngine() = default;
    struct Effect {
        std::string file;
        bool paused = false;
    };
    std::string _musicFile;
    bool _musicPlaying = false;
    bool _musicPaused = false;
    bool _musicLoop = false;
    float _musicVolume = 1.0f;
    float _effectsVolume = 1.0f;
    unsigned int _lastEffectId = 0;
    std::map<unsigned int, Effect> _effects;
    std::set<std::string> _preloaded;
};

}  // namespace engine

// The engine library's export for the desktop host: mutes or unmutes the
// background music (see SimpleAudioEngine::isBackgroundMusicMuted).
extern "C" void VEXOSetMusicMuted(bool muted);
