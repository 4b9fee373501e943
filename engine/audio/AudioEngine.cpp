#include "engine/audio/AudioEngine.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/SoundDecoder.h"
#include "engine/audio/SoundDevice.h"
#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"

namespace engine::experimental {
namespace {

using audio::PcmSound;
using audio::SoundBytes;
using audio::SoundDevice;
using audio::SoundReader;
using TimePoint = Clock::TimePoint;

constexpr int kStreamBuffers = 4;
constexpr size_t kStreamChunkFrames = 8192;
constexpr auto kWorkerTick = std::chrono::milliseconds(10);

double secondsBetween(TimePoint from, TimePoint to) { return std::chrono::duration<double>(to - from).count(); }

// A decoded sound of the cache, with its OpenAL buffer when there is a device.
struct CachedSound {
    PcmSound pcm;
    ALuint buffer = 0;
    ~CachedSound() {
        if (buffer) alDeleteBuffers(1, &buffer);
    }
};

// The voices of one profile, and when it last let one play.
struct ProfileHelper {
    AudioProfile profile;
    std::set<int> ids;
    bool played = false;
    TimePoint lastPlay;
};

struct Voice {
    int id = 0;
    std::string file;  // as the caller gave it
    std::string key;   // full path: the cache key
    bool loop = false;
    float volume = 1.0f;
    float pitch = 1.0f;
    bool music = false;
    bool paused = false;
    double duration = 0.0;
    ProfileHelper* helper = nullptr;  // the profile it plays under

    // The clock: the position at `since`, advancing at `pitch` while not paused.
    double position = 0.0;
    TimePoint since;

    ALuint source = 0;
    float appliedGain = -1.0f;
    std::shared_ptr<CachedSound> sound;   // a cached sound
    std::unique_ptr<SoundReader> reader;  // a streamed one
    ALuint streamBuffers[kStreamBuffers] = {};
    bool readerEnded = false;
    bool endReported = false;

    double clockPosition(TimePoint now) const {
        double p = position;
        if (!paused) p += std::max(0.0, secondsBetween(since, now)) * pitch;
        if (duration <= 0.0) return 0.0;
        if (loop) return std::fmod(p, duration);
        return std::min(p, duration);
    }

    // Fixes the clock at now (before a change of pace, loop or pause).
    void settleClock(TimePoint now) {
        position = clockPosition(now);
        since = now;
    }

    ~Voice() {
        if (source) {
            alSourceStop(source);
            alSourcei(source, AL_BUFFER, 0);
            alDeleteSources(1, &source);
        }
        for (ALuint buffer : streamBuffers) {
            if (buffer) alDeleteBuffers(1, &buffer);
        }
    }
};

std::atomic<unsigned> g_epoch{0};
int g_nextId = 0;  // main thread; ids stay unique across end()

class Layer {
public:
    Layer() : _epoch(++g_epoch) {
        _device = SoundDevice::open();
        _worker = std::thread([this] { workerLoop(); });
    }

    ~Layer() {
        {
            std::lock_guard<std::mutex> lock(_mutex);
            _quit = true;
        }
        _wake.notify_all();
        _worker.join();
        dropVoices([](const Voice&) { return true; });
        _cache.clear();
        if (_scheduler) _scheduler->release();
        _device.reset();
    }

    bool hasDevice() const { return _device != nullptr; }

    // Follows the director's scheduler: finishes reach the main thread through it.
    void refreshScheduler() {
        Scheduler* scheduler = Director::getInstance()->getScheduler();
        std::lock_guard<std::mutex> lock(_mutex);
        if (scheduler == _scheduler) return;
        assignRetained(_scheduler, scheduler);
        // Ends already handed to the old scheduler will never run there.
        for (auto& [id, voice] : _voices) voice->endReported = false;
    }

    int play(const std::string& file, const AudioEngine::PlayOptions& options);

    template <class F>
    auto withVoice(int id, F&& f, decltype(f(std::declval<Voice&>())) otherwise) {
        std::lock_guard<std::mutex> lock(_mutex);
        auto it = _voices.find(id);
        if (it == _voices.end()) return otherwise;
        return f(*it->second);
    }

    void setLoop(int id, bool loop) {
        withVoice(id, [&](Voice& v) {
            v.settleClock(Clock::now());
            v.loop = loop;
            if (loop && v.reader && v.readerEnded && v.reader->seek(0)) v.readerEnded = false;
            if (v.sound && v.source) alSourcei(v.source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
            return 0;
        }, 0);
    }

    void setVolume(int id, float volume) {
        withVoice(id, [&](Voice& v) {
            v.volume = std::clamp(volume, 0.0f, 1.0f);
            applyGain(v);
            return 0;
        }, 0);
    }

    void pause(Voice& v) {
        if (v.paused) return;
        v.settleClock(Clock::now());
        v.paused = true;
        if (v.source) alSourcePause(v.source);
    }

    void resume(Voice& v) {
        if (!v.paused) return;
        v.since = Clock::now();
        v.paused = false;
        if (v.source) alSourcePlay(v.source);
    }

    void pauseAll(bool pausing) {
        std::lock_guard<std::mutex> lock(_mutex);
        for (auto& [id, voice] : _voices) pausing ? pause(*voice) : resume(*voice);
    }

    bool setCurrentTime(Voice& v, double sec);

    // Removes the voices that match, dropping their callbacks.
    template <class Match>
    void dropVoices(Match match) {
        std::vector<std::function<void(int, const std::string&)>> dropped;
        {
            std::lock_guard<std::mutex> lock(_mutex);
            for (auto it = _voices.begin(); it != _voices.end();) {
                if (!match(*it->second)) {
                    ++it;
                    continue;
                }
                forgetProfile(*it->second);
                auto cb = _callbacks.find(it->first);
                if (cb != _callbacks.end()) {
                    dropped.push_back(std::move(cb->second));
                    _callbacks.erase(cb);
                }
                it = _voices.erase(it);
            }
        }
        // The callbacks are destroyed here, outside the lock: they may call out.
    }

    void uncache(const std::string& key) {
        dropVoices([&](const Voice& v) { return v.key == key; });
        std::lock_guard<std::mutex> lock(_mutex);
        _cache.erase(key);
    }

    void uncacheAll() {
        dropVoices([](const Voice&) { return true; });
        std::lock_guard<std::mutex> lock(_mutex);
        _cache.clear();
    }

    void setFinishCallback(int id, const std::function<void(int, const std::string&)>& callback) {
        std::function<void(int, const std::string&)> replaced;
        {
            std::lock_guard<std::mutex> lock(_mutex);
            if (!_voices.count(id)) return;
            auto& slot = _callbacks[id];
            replaced = std::move(slot);
            slot = callback;
        }
    }

    // Main thread: the worker saw the end of id.
    void ended(int id) {
        std::function<void(int, const std::string&)> callback;
        std::string file;
        {
            std::lock_guard<std::mutex> lock(_mutex);
            auto it = _voices.find(id);
            if (it == _voices.end() || !it->second->endReported) return;
            file = it->second->file;
            forgetProfile(*it->second);
            _voices.erase(it);
            auto cb = _callbacks.find(id);
            if (cb != _callbacks.end()) {
                callback = std::move(cb->second);
                _callbacks.erase(cb);
            }
        }
        if (callback) callback(id, file);
    }

    unsigned epoch() const { return _epoch; }

    int maxInstances = AudioEngine::MAX_AUDIO_INSTANCES;
    ProfileHelper defaultHelper;
    std::mutex _mutex;
    std::map<int, std::unique_ptr<Voice>> _voices;
    std::map<std::string, ProfileHelper> _profiles;

    // Reads and, when it is short, decodes a file into the cache.
    std::shared_ptr<CachedSound> cached(const std::string& key, const SoundBytes& bytes, const audio::SoundInfo& info);
    SoundBytes readFile(const std::string& key);

private:
    void forgetProfile(const Voice& v) {
        if (v.helper) v.helper->ids.erase(v.id);
    }

    float gainOf(const Voice& v) const {
        return v.music && SimpleAudioEngine::isBackgroundMusicMuted() ? 0.0f : v.volume;
    }

    void applyGain(Voice& v) {
        const float gain = gainOf(v);
        if (gain == v.appliedGain) return;
        v.appliedGain = gain;
        if (v.source) alSourcef(v.source, AL_GAIN, gain);
    }

    // Queues decoded chunks on the free buffers of a streamed voice.
    void feed(Voice& v, const std::vector<ALuint>& freeBuffers);
    void service(Voice& v, TimePoint now);
    void workerLoop();

    const unsigned _epoch;
    std::unique_ptr<SoundDevice> _device;
    std::map<std::string, std::shared_ptr<CachedSound>> _cache;
    std::map<int, std::function<void(int, const std::string&)>> _callbacks;  // main thread
    Scheduler* _scheduler = nullptr;
    bool _quit = false;
    std::condition_variable _wake;
    std::thread _worker;
    std::vector<int16_t> _chunk;  // worker or main thread, under the mutex
};

Layer* g_layer = nullptr;

SoundBytes Layer::readFile(const std::string& key) {
    Data data = FileUtils::getInstance()->getDataFromFile(key);
    if (data.isNull()) return nullptr;
    return std::make_shared<const std::vector<unsigned char>>(data.getBytes(), data.getBytes() + data.getSize());
}

std::shared_ptr<CachedSound> Layer::cached(const std::string& key, const SoundBytes& bytes,
                                           const audio::SoundInfo& info) {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        auto it = _cache.find(key);
        if (it != _cache.end()) return it->second;
    }
    if (info.duration() > AudioEngine::kStreamAboveSeconds) return nullptr;
    auto sound = std::make_shared<CachedSound>();
    std::string error;
    // A header may understate the length: what decodes longer streams instead.
    const auto limit = static_cast<int64_t>((AudioEngine::kStreamAboveSeconds + 1.0) * info.sampleRate);
    if (!audio::decodeSound(bytes, limit, &sound->pcm, &error)) return nullptr;
    if (_device) {
        alGetError();
        alGenBuffers(1, &sound->buffer);
        alBufferData(sound->buffer, SoundDevice::format(sound->pcm.channels), sound->pcm.samples.data(),
                     static_cast<ALsizei>(sound->pcm.samples.size() * sizeof(int16_t)), sound->pcm.sampleRate);
        if (alGetError() != AL_NO_ERROR) {
            engine::log("audio: the device refused the sound of %s", key.c_str());
            return nullptr;
        }
    }
    std::lock_guard<std::mutex> lock(_mutex);
    return _cache.emplace(key, std::move(sound)).first->second;
}

int Layer::play(const std::string& file, const AudioEngine::PlayOptions& options) {
    const std::string key = file.empty() ? std::string() : FileUtils::getInstance()->fullPathForFilename(file);
    if (key.empty()) {
        engine::log("audio: no file %s", file.c_str());
        return AudioEngine::INVALID_AUDIO_ID;
    }
    // A cached sound is neither read nor decoded again.
    std::shared_ptr<CachedSound> sound;
    if (!options.music) {
        std::lock_guard<std::mutex> lock(_mutex);
        auto it = _cache.find(key);
        if (it != _cache.end()) sound = it->second;
    }
    SoundBytes bytes = sound ? nullptr : readFile(key);
    std::unique_ptr<SoundReader> reader;
    if (!sound) {
        if (!bytes) {
            engine::log("audio: cannot read %s", file.c_str());
            return AudioEngine::INVALID_AUDIO_ID;
        }
        reader = std::make_unique<SoundReader>(bytes);
        if (!reader->open()) {
            engine::log("audio: %s is not a sound file we play (%s)", file.c_str(), reader->error().c_str());
            return AudioEngine::INVALID_AUDIO_ID;
        }
    }
    {
        // Refusals come before any decoding.
        std::lock_guard<std::mutex> lock(_mutex);
        if (static_cast<int>(_voices.size()) >= maxInstances) {
            engine::log("audio: %d sounds already play, %s refused", maxInstances, file.c_str());
            return AudioEngine::INVALID_AUDIO_ID;
        }
        const bool named = options.profile && options.profile != &defaultHelper.profile;
        const AudioProfile& profile = named ? *options.profile : defaultHelper.profile;
        const ProfileHelper* helper = &defaultHelper;
        if (named) {
            auto it = _profiles.find(profile.name);
            helper = it == _profiles.end() ? nullptr : &it->second;
        }
        if (helper && profile.maxInstances && helper->ids.size() >= profile.maxInstances) {
            engine::log("audio: profile \"%s\" already plays %u sounds", profile.name.c_str(), profile.maxInstances);
            return AudioEngine::INVALID_AUDIO_ID;
        }
        if (helper && helper->played && profile.minDelay > 0.0 &&
            secondsBetween(helper->lastPlay, Clock::now()) < profile.minDelay) {
            return AudioEngine::INVALID_AUDIO_ID;
        }
    }

    if (!sound && !options.music) sound = cached(key, bytes, reader->info());

    auto voice = std::make_unique<Voice>();
    voice->file = file;
    voice->key = key;
    voice->loop = options.loop;
    voice->volume = std::clamp(options.volume, 0.0f, 1.0f);
    voice->pitch = options.pitch > 0.0f ? options.pitch : 1.0f;
    voice->music = options.music;
    voice->duration = sound ? sound->pcm.duration() : reader->info().duration();
    if (sound) {
        voice->sound = sound;
    } else {
        voice->reader = std::move(reader);
    }

    if (_device) {
        alGetError();
        alGenSources(1, &voice->source);
        if (alGetError() != AL_NO_ERROR) {
            voice->source = 0;
            engine::log("audio: the device has no free source for %s", file.c_str());
            return AudioEngine::INVALID_AUDIO_ID;
        }
        const ALuint s = voice->source;
        const float pan = std::clamp(options.pan, -1.0f, 1.0f);
        alSourcei(s, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(s, AL_ROLLOFF_FACTOR, 0.0f);
        alSource3f(s, AL_POSITION, pan, 0.0f, -std::sqrt(1.0f - pan * pan));
        alSourcef(s, AL_PITCH, voice->pitch);
        if (voice->sound) {
            alSourcei(s, AL_BUFFER, static_cast<ALint>(voice->sound->buffer));
            alSourcei(s, AL_LOOPING, voice->loop ? AL_TRUE : AL_FALSE);
        } else {
            alGenBuffers(kStreamBuffers, voice->streamBuffers);
        }
    }

    std::lock_guard<std::mutex> lock(_mutex);
    ProfileHelper* helper = &defaultHelper;
    if (options.profile && options.profile != &defaultHelper.profile) {
        helper = &_profiles[options.profile->name];
        helper->profile = *options.profile;
    }
    const TimePoint now = Clock::now();
    const int id = g_nextId++;
    voice->id = id;
    voice->helper = helper;
    helper->ids.insert(id);
    helper->played = true;
    helper->lastPlay = now;
    voice->since = now;
    Voice& v = *voice;
    _voices.emplace(id, std::move(voice));
    applyGain(v);
    if (v.source) {
        if (v.reader) feed(v, std::vector<ALuint>(v.streamBuffers, v.streamBuffers + kStreamBuffers));
        alSourcePlay(v.source);
    }
    _wake.notify_all();
    return id;
}

bool Layer::setCurrentTime(Voice& v, double sec) {
    if (sec < 0.0 || sec > v.duration) return false;
    const TimePoint now = Clock::now();
    if (v.reader) {
        const auto frame = static_cast<int64_t>(sec * v.reader->info().sampleRate);
        if (!v.reader->seek(frame)) return false;
        v.readerEnded = false;
        if (v.source) {
            alSourceStop(v.source);
            alSourcei(v.source, AL_BUFFER, 0);
            feed(v, std::vector<ALuint>(v.streamBuffers, v.streamBuffers + kStreamBuffers));
            if (!v.paused) alSourcePlay(v.source);
        }
    } else if (v.source) {
        alSourcef(v.source, AL_SEC_OFFSET, static_cast<float>(sec));
    }
    v.position = sec;
    v.since = now;
    v.endReported = false;
    return true;
}

void Layer::feed(Voice& v, const std::vector<ALuint>& freeBuffers) {
    const SoundReader& r = *v.reader;
    const int channels = r.info().channels;
    _chunk.resize(kStreamChunkFrames * static_cast<size_t>(channels));
    for (ALuint buffer : freeBuffers) {
        if (v.readerEnded) return;
        size_t got = v.reader->read(_chunk.data(), kStreamChunkFrames);
        if (got == 0 && v.loop && v.reader->seek(0)) got = v.reader->read(_chunk.data(), kStreamChunkFrames);
        if (got == 0) {
            v.readerEnded = true;
            return;
        }
        alBufferData(buffer, SoundDevice::format(channels), _chunk.data(),
                     static_cast<ALsizei>(got * static_cast<size_t>(channels) * sizeof(int16_t)), r.info().sampleRate);
        alSourceQueueBuffers(v.source, 1, &buffer);
    }
}

// Worker, under the mutex: feeds a streamed voice, applies the music mute, and
// tells whether the voice has reached its end.
void Layer::service(Voice& v, TimePoint now) {
    applyGain(v);
    if (v.endReported) return;
    bool ended = false;
    if (v.source) {
        ALint state = AL_PLAYING;
        if (v.reader) {
            ALint processed = 0;
            alGetSourcei(v.source, AL_BUFFERS_PROCESSED, &processed);
            std::vector<ALuint> freeBuffers(static_cast<size_t>(std::max(processed, 0)));
            if (!freeBuffers.empty()) {
                alSourceUnqueueBuffers(v.source, processed, freeBuffers.data());
                feed(v, freeBuffers);
            }
            alGetSourcei(v.source, AL_SOURCE_STATE, &state);
            ALint queued = 0;
            alGetSourcei(v.source, AL_BUFFERS_QUEUED, &queued);
            if (state == AL_STOPPED && !v.paused) {
                if (v.readerEnded && (queued == 0 || processed == queued)) {
                    ended = true;
                } else if (queued > 0) {
                    alSourcePlay(v.source);  // ran dry before we refilled it
                } else {
                    ended = true;
                }
            }
        } else {
            alGetSourcei(v.source, AL_SOURCE_STATE, &state);
            ended = state == AL_STOPPED && !v.paused;
        }
    } else {
        ended = !v.loop && !v.paused && v.clockPosition(now) >= v.duration;
    }
    if (!ended || !_scheduler) return;
    v.endReported = true;
    const unsigned epoch = _epoch;
    const int id = v.id;
    _scheduler->performFunctionInEngineThread([epoch, id] {
        if (g_layer && g_layer->epoch() == epoch) g_layer->ended(id);
    });
}

void Layer::workerLoop() {
    std::unique_lock<std::mutex> lock(_mutex);
    while (!_quit) {
        const TimePoint now = Clock::now();
        for (auto& [id, voice] : _voices) service(*voice, now);
        // Idle until a sound starts; while sounds play, every tick.
        if (_voices.empty()) {
            _wake.wait(lock);
        } else {
            _wake.wait_for(lock, kWorkerTick);
        }
    }
}

Layer* layer() {
    AudioEngine::lazyInit();
    return g_layer;
}

}  // namespace

bool AudioEngine::lazyInit() {
    if (!g_layer) {
        // The device must be closed before the process goes (OpenAL finishes its
        // output there): a program that never calls end() gets it at exit.
        static const bool endAtExit = std::atexit([] { AudioEngine::end(); }) == 0;
        (void)endAtExit;
        g_layer = new Layer;
    }
    g_layer->refreshScheduler();
    return true;
}

void AudioEngine::end() {
    Layer* l = g_layer;
    g_layer = nullptr;
    delete l;
}

bool AudioEngine::hasSoundDevice() { return g_layer && g_layer->hasDevice(); }

AudioProfile* AudioEngine::getDefaultProfile() { return &layer()->defaultHelper.profile; }

int AudioEngine::play2d(const std::string& filePath, bool loop, float volume, const AudioProfile* profile) {
    PlayOptions options;
    options.loop = loop;
    options.volume = volume;
    options.profile = profile;
    return play(filePath, options);
}

int AudioEngine::play(const std::string& filePath, const PlayOptions& options) {
    return layer()->play(filePath, options);
}

void AudioEngine::setLoop(int audioID, bool loop) {
    if (g_layer) g_layer->setLoop(audioID, loop);
}

bool AudioEngine::isLoop(int audioID) {
    return g_layer && g_layer->withVoice(audioID, [](Voice& v) { return v.loop; }, false);
}

void AudioEngine::setVolume(int audioID, float volume) {
    if (g_layer) g_layer->setVolume(audioID, volume);
}

float AudioEngine::getVolume(int audioID) {
    return g_layer ? g_layer->withVoice(audioID, [](Voice& v) { return v.volume; }, 0.0f) : 0.0f;
}

void AudioEngine::pause(int audioID) {
    if (g_layer) g_layer->withVoice(audioID, [](Voice& v) { return g_layer->pause(v), 0; }, 0);
}

void AudioEngine::pauseAll() {
    if (g_layer) g_layer->pauseAll(true);
}

void AudioEngine::resume(int audioID) {
    if (g_layer) g_layer->withVoice(audioID, [](Voice& v) { return g_layer->resume(v), 0; }, 0);
}

void AudioEngine::resumeAll() {
    if (g_layer) g_layer->pauseAll(false);
}

void AudioEngine::stop(int audioID) {
    if (g_layer) g_layer->dropVoices([audioID](const Voice& v) { return v.id == audioID; });
}

void AudioEngine::stopAll() {
    if (g_layer) g_layer->dropVoices([](const Voice&) { return true; });
}

bool AudioEngine::setCurrentTime(int audioID, float sec) {
    return g_layer && g_layer->withVoice(audioID, [sec](Voice& v) { return g_layer->setCurrentTime(v, sec); }, false);
}

float AudioEngine::getCurrentTime(int audioID) {
    if (!g_layer) return 0.0f;
    const TimePoint now = Clock::now();
    return g_layer->withVoice(audioID, [now](Voice& v) { return static_cast<float>(v.clockPosition(now)); }, 0.0f);
}

float AudioEngine::getDuration(int audioID) {
    if (!g_layer) return TIME_UNKNOWN;
    return g_layer->withVoice(audioID, [](Voice& v) { return static_cast<float>(v.duration); }, TIME_UNKNOWN);
}

AudioEngine::AudioState AudioEngine::getState(int audioID) {
    if (!g_layer) return AudioState::ERROR;
    return g_layer->withVoice(audioID, [](Voice& v) { return v.paused ? AudioState::PAUSED : AudioState::PLAYING; },
                              AudioState::ERROR);
}

void AudioEngine::setFinishCallback(int audioID, const std::function<void(int, const std::string&)>& callback) {
    if (g_layer) g_layer->setFinishCallback(audioID, callback);
}

int AudioEngine::getMaxAudioInstance() { return layer()->maxInstances; }

bool AudioEngine::setMaxAudioInstance(int maxInstances) {
    if (maxInstances < 1 || maxInstances > MAX_AUDIO_INSTANCES) return false;
    layer()->maxInstances = maxInstances;
    return true;
}

int AudioEngine::getPlayingAudioCount() {
    if (!g_layer) return 0;
    std::lock_guard<std::mutex> lock(g_layer->_mutex);
    return static_cast<int>(g_layer->_voices.size());
}

void AudioEngine::uncache(const std::string& filePath) {
    if (!g_layer) return;
    const std::string key = FileUtils::getInstance()->fullPathForFilename(filePath);
    if (!key.empty()) g_layer->uncache(key);
}

void AudioEngine::uncacheAll() {
    if (g_layer) g_layer->uncacheAll();
}

AudioProfile* AudioEngine::getProfile(int audioID) {
    if (!g_layer) return nullptr;
    return g_layer->withVoice(audioID, [](Voice& v) { return &v.helper->profile; }, static_cast<AudioProfile*>(nullptr));
}

AudioProfile* AudioEngine::getProfile(const std::string& profileName) {
    if (!g_layer) return nullptr;
    std::lock_guard<std::mutex> lock(g_layer->_mutex);
    auto it = g_layer->_profiles.find(profileName);
    return it == g_layer->_profiles.end() ? nullptr : &it->second.profile;
}

void AudioEngine::preload(const std::string& filePath, std::function<void(bool)> callback) {
    Layer* l = layer();
    const std::string key = filePath.empty() ? std::string() : FileUtils::getInstance()->fullPathForFilename(filePath);
    bool ok = false;
    if (SoundBytes bytes = key.empty() ? nullptr : l->readFile(key)) {
        SoundReader reader(bytes);
        // A long sound streams when it plays: nothing to keep, but it is playable.
        ok = reader.open() && (reader.info().duration() > kStreamAboveSeconds || l->cached(key, bytes, reader.info()));
    }
    if (!ok) engine::log("audio: cannot preload %s", filePath.c_str());
    if (!callback) return;
    Director::getInstance()->getScheduler()->performFunctionInEngineThread(
        [callback = std::move(callback), ok] { callback(ok); });
}

}  // namespace engine::experimental
