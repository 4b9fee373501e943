#pragma once
// A node's sounds as a component (name "CCComAudio"): it keeps a file and a loop
// flag, and plays through the simple audio engine (so through the engine's audio
// layer): start() plays the file as an effect, looping when the flag says so,
// and stop() stops that effect; the music and effect calls reach the simple
// audio engine with the file and flag as their defaults. What start() played
// stops when the node leaves the running scene or the component is removed.
// Main thread only.
#include <string>

#include "engine/scene/Component.h"

namespace studio {

class ComAudio : public engine::Component {
public:
    static const std::string COMPONENT_NAME;

    static ComAudio* create();  // autoreleased
    bool init() override;

    void onExit() override;
    void onRemove() override;

    void setFile(const std::string& filePath) { _filePath = filePath; }
    const std::string& getFile() const { return _filePath; }
    void setLoop(bool loop) { _loop = loop; }
    bool isLoop() const { return _loop; }

    void start();
    void stop();

    void end();
    void preloadBackgroundMusic(const std::string& filePath);
    void playBackgroundMusic();  // the file, with the loop flag
    void playBackgroundMusic(const std::string& filePath, bool loop = false);
    void stopBackgroundMusic(bool releaseData = false);
    void pauseBackgroundMusic();
    void resumeBackgroundMusic();
    void rewindBackgroundMusic();
    bool willPlayBackgroundMusic() const;
    bool isBackgroundMusicPlaying() const;
    float getBackgroundMusicVolume() const;
    void setBackgroundMusicVolume(float volume);

    float getEffectsVolume() const;
    void setEffectsVolume(float volume);
    unsigned int playEffect();  // the file, with the loop flag
    unsigned int playEffect(const std::string& filePath, bool loop = false);
    void pauseEffect(unsigned int soundId);
    void pauseAllEffects();
    void resumeEffect(unsigned int soundId);
    void resumeAllEffects();
    void stopEffect(unsigned int soundId);
    void stopAllEffects();
    void preloadEffect(const std::string& filePath);
    void unloadEffect(const std::string& filePath);

protected:
    ComAudio() = default;

private:
    std::string _filePath;
    bool _loop = false;
    unsigned int _startedSoundId = 0;  // 0: start() has nothing playing
};

}  // namespace studio
