#pragma once
// The engine's audio layer, and its script face (ccexp.AudioEngine): every sound
// of the game plays here, also those of the simple audio engine and of audio
// components.
//
// Playing: play2d answers an audio id (from 0, never reused) or INVALID_AUDIO_ID
// when the file is missing or not a sound file, when MAX instances already play,
// or when the profile refuses (its maxInstances reached, or less than its
// minDelay seconds since its last accepted play). A sound up to
// kStreamAboveSeconds long is decoded once and kept in the cache (also by
// preload) until uncache; a longer one, and music, streams from the layer's
// worker thread. Output goes through OpenAL; without a sound device the layer
// plays silently and keeps the same states and times, by the clock.
//
// States: an id is PLAYING or PAUSED from play2d until it ends, is stopped or is
// uncached; then getState answers ERROR. Looping sounds never end by themselves.
//
// The finish callback of an id runs once on the main thread (through the
// director's scheduler) when the sound reaches its end, with the id and the file
// as given to play2d. A stop, an uncache or end() drops an id's callback
// without calling it. A new callback replaces (drops) the earlier one.
//
// Volumes are clamped to [0, 1]. Music (the simple audio engine's) follows the
// desktop's music mute (VEXOSetMusicMuted): silent while it is on.
//
// The API is for the main thread; the worker only feeds OpenAL and reports ends.
#include <functional>
#include <string>

namespace engine::experimental {

struct AudioProfile {
    std::string name;
    unsigned int maxInstances = 0;  // 0: no limit of its own
    double minDelay = 0.0;          // seconds between two plays; 0: none
};

class AudioEngine {
public:
    enum class AudioState { ERROR = -1, INITIALIZING = 0, PLAYING = 1, PAUSED = 2 };

    static constexpr int INVALID_AUDIO_ID = -1;
    static constexpr float TIME_UNKNOWN = -1.0f;
    // The most sounds that may play at once (setMaxAudioInstance's upper bound).
    static constexpr int MAX_AUDIO_INSTANCES = 32;
    static constexpr double kStreamAboveSeconds = 10.0;

    // Opens the device (or notes there is none) and starts the worker; true once
    // the layer runs. Every other call does this first. The first call of the
    // process also makes a normal exit call end(), so the device is always closed.
    static bool lazyInit();
    // Stops every sound (callbacks dropped), empties the cache, closes the device.
    static void end();

    static AudioProfile* getDefaultProfile();

    static int play2d(const std::string& filePath, bool loop = false, float volume = 1.0f,
                      const AudioProfile* profile = nullptr);
    static void setLoop(int audioID, bool loop);
    static bool isLoop(int audioID);
    static void setVolume(int audioID, float volume);
    static float getVolume(int audioID);
    static void pause(int audioID);
    static void pauseAll();
    static void resume(int audioID);
    static void resumeAll();
    static void stop(int audioID);
    static void stopAll();
    // False for an unknown id or a time outside [0, duration].
    static bool setCurrentTime(int audioID, float sec);
    static float getCurrentTime(int audioID);
    static float getDuration(int audioID);  // TIME_UNKNOWN for an unknown id
    static AudioState getState(int audioID);
    static void setFinishCallback(int audioID, const std::function<void(int, const std::string&)>& callback);

    static int getMaxAudioInstance();
    // False (nothing changed) outside 1..MAX_AUDIO_INSTANCES.
    static bool setMaxAudioInstance(int maxInstances);
    static int getPlayingAudioCount();

    static void uncache(const std::string& filePath);
    static void uncacheAll();

    // The profile an id plays with (the default one when play2d had none); null for an unknown id.
    static AudioProfile* getProfile(int audioID);
    // The profile of that name once a play used it; null before.
    static AudioProfile* getProfile(const std::string& profileName);

    static void preload(const std::string& filePath) { preload(filePath, nullptr); }
    // Decodes the file into the cache; the callback (if any) gets whether it is
    // there, on the main thread, after preload has returned.
    static void preload(const std::string& filePath, std::function<void(bool)> callback);

    // Beyond play2d, for the simple audio engine and audio components.
    struct PlayOptions {
        bool loop = false;
        float volume = 1.0f;
        const AudioProfile* profile = nullptr;
        float pitch = 1.0f;    // playback rate, > 0
        float pan = 0.0f;      // -1 (left) .. 1 (right)
        bool music = false;    // streams, follows the music mute
    };
    static int play(const std::string& filePath, const PlayOptions& options);

    // Whether sound reaches a device (false: silent mode, or not initialised).
    static bool hasSoundDevice();
};

}  // namespace engine::experimental
