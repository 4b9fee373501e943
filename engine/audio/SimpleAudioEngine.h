#pragma once
// The simple audio engine scripts use for background music and sound effects.
// It plays through the engine's audio layer (engine/audio/AudioEngine.h): the
// music streams and follows the desktop's music mute, effects are decoded once
// and cached. It keeps what is heard (the music file and whether it plays, loops
// or is paused, the effects playing with their ids, the two volumes) so that
// callers can read it back: a sound ends (music no longer playing, the effect
// gone) when the layer reports its end; a file the layer cannot play keeps its
// state as if it played, silently. Main thread only.
#include <map>
#include <set>
#include <string>

namespace engine {

class SimpleAudioEngine {
public:
    static SimpleAudioEngine* getInstance();
    // Destroys the singleton and ends the audio layer (every sound stops).
    static void end();

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
        int voice = -1;  // the layer's audio id; -1 when the layer did not play it
        float gain = 1.0f;
    };
    void playMusicVoice();
    void musicEnded(int voice);
    void effectEnded(unsigned int id, int voice);
    std::string _musicFile;
    bool _musicPlaying = false;
    bool _musicPaused = false;
    bool _musicLoop = false;
    int _musicVoice = -1;
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
