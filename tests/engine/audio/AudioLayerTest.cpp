// The audio layer heard through OpenAL Soft's wave-file output: each format
// plays its tone once and reports the end, loops run on without gaps, a paused
// sound is silence, volumes scale the level, the music mute silences music; and,
// without a device, the same states and times by the clock.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/SoundFiles.h"
#include "support/TestSupport.h"
#include "engine/audio/AudioEngine.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/SoundDevice.h"
#include "engine/base/Clock.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"
#include "engine/studio/ComAudio.h"

namespace {

using engine::experimental::AudioEngine;
using engine::experimental::AudioProfile;
using State = AudioEngine::AudioState;
using namespace std::chrono_literals;

// OpenAL reads its configuration once a process: one wave file for all of it,
// rewritten by each device that opens.
const std::string& waveFile() {
    static testsupport::TempDir dir;
    static const std::string file = [] {
        const std::string out = dir.file("out.wav");
        const std::string conf = dir.write("alsoft.conf", "[general]\ndrivers=wave\n[wave]\nfile=" + out + "\n");
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        return out;
    }();
    return file;
}

struct Finish {
    int calls = 0;
    int id = -2;
    std::string file;
};

class AudioLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        waveFile();
        engine::audio::SoundDevice::setAvailable(true);
    }
    void TearDown() override {
        AudioEngine::end();
        engine::SimpleAudioEngine::end();
        engine::audio::SoundDevice::setAvailable(true);
        VEXOSetMusicMuted(false);
        engine::Director::destroyInstance();
    }

    std::string tone(const std::string& name, double seconds) {
        const std::string path = _dir.file(name);
        EXPECT_TRUE(testsupport::makeTone(path, seconds)) << name;
        return path;
    }

    void watch(int id, Finish* finish) {
        AudioEngine::setFinishCallback(id, [finish](int audioID, const std::string& file) {
            ++finish->calls;
            finish->id = audioID;
            finish->file = file;
        });
    }

    static void pump(std::chrono::milliseconds time) {
        testsupport::pumpMainThreadUntil([] { return false; }, time);
    }

    // Closes the device (the wave file is then complete) and measures it.
    static testsupport::SoundStat heard(const std::string& effects) {
        AudioEngine::end();
        return testsupport::soxStat(waveFile(), effects);
    }

    testsupport::TempDir _dir;
};

// A program that never calls end() still closes the device when it exits: the
// wave output's header then holds the real sizes, not the placeholders of an open
// recording.
TEST_F(AudioLayerTest, ExitClosesTheDevice) {
    const std::string out = _dir.file("exit-out.wav");
    const std::string sound = tone("exit.wav", 0.2);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // This process has not read OpenAL's configuration yet: point it elsewhere.
        const std::string conf = _dir.write("exit.conf", "[general]\ndrivers=wave\n[wave]\nfile=" + out + "\n");
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        AudioEngine::play2d(sound);
        std::this_thread::sleep_for(100ms);
        std::exit(AudioEngine::hasSoundDevice() ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    ASSERT_NE(WEXITSTATUS(status), 3) << "no wave device";
    const std::string wave = testsupport::readFile(out);
    ASSERT_GT(wave.size(), 44u);
    uint32_t riffSize = 0;   // little-endian at offset 4
    for (int i = 7; i >= 4; --i) riffSize = riffSize << 8 | static_cast<uint8_t>(wave[i]);
    EXPECT_EQ(riffSize, wave.size() - 8);
}

TEST_F(AudioLayerTest, EachFormatPlaysItsToneOnceAndReportsTheEnd) {
    struct Case {
        const char* file;
        float volume;
        double rms;  // of the first channel: a half-scale tone, panned to the middle
    };
    const Case cases[] = {
        {"tone.wav", 1.0f, 0.205}, {"tone.ogg", 1.0f, 0.205}, {"tone.flac", 1.0f, 0.205},
        {"tone.mp3", 1.0f, 0.205}, {"tone.wav", 0.5f, 0.1025},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.volume));
        const std::string path = tone(c.file, 0.4);
        ASSERT_TRUE(AudioEngine::lazyInit());
        ASSERT_TRUE(AudioEngine::hasSoundDevice());
        const int id = AudioEngine::play2d(path, false, c.volume);
        ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
        EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
        EXPECT_NEAR(AudioEngine::getDuration(id), 0.4, 0.06);
        Finish finish;
        watch(id, &finish);
        EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return finish.calls > 0; }, 3s));
        pump(100ms);
        EXPECT_EQ(finish.calls, 1);
        EXPECT_EQ(finish.id, id);
        EXPECT_EQ(finish.file, path);
        EXPECT_EQ(AudioEngine::getState(id), State::ERROR);

        const testsupport::SoundStat stat = heard(testsupport::audibleOnly());
        ASSERT_TRUE(stat.ok);
        EXPECT_NEAR(stat.length, 0.4, 0.06);
        EXPECT_NEAR(stat.frequency, 440, 20);
        EXPECT_NEAR(stat.rms, c.rms, c.rms * 0.15);
    }
}

TEST_F(AudioLayerTest, LoopPlaysOnWithoutGapsUntilStopped) {
    const std::string path = tone("short.wav", 0.2);
    const int id = AudioEngine::play2d(path, true);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    Finish finish;
    watch(id, &finish);
    pump(700ms);
    EXPECT_EQ(finish.calls, 0);
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
    EXPECT_TRUE(AudioEngine::isLoop(id));
    EXPECT_LT(AudioEngine::getCurrentTime(id), 0.2f);
    AudioEngine::stop(id);
    EXPECT_EQ(AudioEngine::getState(id), State::ERROR);
    pump(100ms);
    EXPECT_EQ(finish.calls, 0) << "a stopped sound reports no end";

    const testsupport::SoundStat whole = heard(testsupport::audibleOnly());
    EXPECT_NEAR(whole.length, 0.7, 0.12);
    // Every stretch of the loop sounds, across the seams at 0.2 and 0.4 s.
    for (const char* window : {"trim 0.15 0.1", "trim 0.35 0.1", "trim 0.45 0.1"}) {
        const testsupport::SoundStat part = testsupport::soxStat(waveFile(), testsupport::audibleOnly() + " " + window);
        EXPECT_NEAR(part.rms, 0.205, 0.03) << window;
    }
}

TEST_F(AudioLayerTest, PausedSoundIsSilenceAndResumesWhereItStopped) {
    const std::string path = tone("tone.wav", 0.6);
    const int id = AudioEngine::play2d(path);
    Finish finish;
    watch(id, &finish);
    pump(200ms);
    AudioEngine::pause(id);
    EXPECT_EQ(AudioEngine::getState(id), State::PAUSED);
    const float pausedAt = AudioEngine::getCurrentTime(id);
    pump(500ms);
    EXPECT_FLOAT_EQ(AudioEngine::getCurrentTime(id), pausedAt);
    EXPECT_EQ(finish.calls, 0);
    AudioEngine::resume(id);
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
    EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return finish.calls > 0; }, 3s));

    const testsupport::SoundStat whole = heard(testsupport::audibleOnly());
    EXPECT_NEAR(whole.length, 1.1, 0.12);
    const testsupport::SoundStat pause = testsupport::soxStat(waveFile(), testsupport::audibleOnly() + " trim 0.35 0.25");
    EXPECT_LT(pause.rms, 0.005);
    const testsupport::SoundStat after = testsupport::soxStat(waveFile(), testsupport::audibleOnly() + " trim 0.8 0.2");
    EXPECT_NEAR(after.rms, 0.205, 0.03);
}

TEST_F(AudioLayerTest, MusicStreamsAndFallsSilentWhileMuted) {
    const std::string path = tone("music.ogg", 0.3);
    engine::SimpleAudioEngine* audio = engine::SimpleAudioEngine::getInstance();
    audio->playBackgroundMusic(path, true);
    pump(300ms);
    VEXOSetMusicMuted(true);
    pump(300ms);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying()) << "muted music plays on";
    VEXOSetMusicMuted(false);
    pump(300ms);
    audio->stopBackgroundMusic();

    const testsupport::SoundStat whole = heard(testsupport::audibleOnly());
    EXPECT_NEAR(whole.length, 0.9, 0.12);
    EXPECT_NEAR(testsupport::soxStat(waveFile(), testsupport::audibleOnly() + " trim 0.05 0.2").rms, 0.205, 0.03);
    EXPECT_LT(testsupport::soxStat(waveFile(), testsupport::audibleOnly() + " trim 0.38 0.15").rms, 0.005);
    EXPECT_NEAR(testsupport::soxStat(waveFile(), testsupport::audibleOnly() + " trim 0.65 0.2").rms, 0.205, 0.03);
}

TEST_F(AudioLayerTest, LongSoundStreamsFromWhereItIsSet) {
    const std::string path = tone("long.flac", 11.0);
    const int id = AudioEngine::play2d(path);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    EXPECT_NEAR(AudioEngine::getDuration(id), 11.0, 0.01);
    EXPECT_FALSE(AudioEngine::setCurrentTime(id, 11.5f));
    EXPECT_TRUE(AudioEngine::setCurrentTime(id, 10.7f));
    Finish finish;
    watch(id, &finish);
    EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return finish.calls > 0; }, 3s));
    const testsupport::SoundStat stat = heard(testsupport::audibleOnly());
    EXPECT_NEAR(stat.length, 0.3, 0.08);
    EXPECT_NEAR(stat.frequency, 440, 20);
}

// ---- Without a device: the clock, driven by hand.

class SilentLayerTest : public AudioLayerTest {
protected:
    void SetUp() override {
        engine::audio::SoundDevice::setAvailable(false);
        engine::Clock::setSource([this] { return _now; });
    }
    void TearDown() override {
        AudioEngine::end();
        engine::Clock::setSource(nullptr);
        AudioLayerTest::TearDown();
    }
    void advance(double seconds) {
        _now += std::chrono::duration_cast<engine::Clock::TimePoint::duration>(std::chrono::duration<double>(seconds));
        pump(30ms);  // the worker looks at least once, the scheduler runs what it reports
    }
    engine::Clock::TimePoint _now{std::chrono::hours(1)};
};

TEST_F(SilentLayerTest, StatesAndTimesFollowTheClock) {
    const std::string path = tone("tone.wav", 0.5);
    const int id = AudioEngine::play2d(path);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    EXPECT_FALSE(AudioEngine::hasSoundDevice());
    Finish finish;
    watch(id, &finish);
    advance(0.2);
    EXPECT_NEAR(AudioEngine::getCurrentTime(id), 0.2, 1e-3);
    AudioEngine::pause(id);
    advance(5);
    EXPECT_EQ(AudioEngine::getState(id), State::PAUSED);
    EXPECT_NEAR(AudioEngine::getCurrentTime(id), 0.2, 1e-3);
    AudioEngine::resume(id);
    advance(0.29);
    EXPECT_EQ(finish.calls, 0);
    EXPECT_EQ(AudioEngine::getState(id), State::PLAYING);
    advance(0.02);
    EXPECT_EQ(finish.calls, 1);
    EXPECT_EQ(finish.id, id);
    EXPECT_EQ(AudioEngine::getState(id), State::ERROR);
    advance(1);
    EXPECT_EQ(finish.calls, 1);

    const int looping = AudioEngine::play2d(path, true, 3.0f);
    EXPECT_EQ(looping, id + 1) << "ids are never reused";
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(looping), 1.0f);
    advance(1.2);
    EXPECT_NEAR(AudioEngine::getCurrentTime(looping), 0.2, 1e-3);
    EXPECT_TRUE(AudioEngine::setCurrentTime(looping, 0.45f));
    AudioEngine::setLoop(looping, false);
    advance(0.1);
    EXPECT_EQ(AudioEngine::getState(looping), State::ERROR);

    // Unknown ids and files.
    EXPECT_EQ(AudioEngine::getState(999), State::ERROR);
    EXPECT_EQ(AudioEngine::getDuration(999), AudioEngine::TIME_UNKNOWN);
    EXPECT_FALSE(AudioEngine::setCurrentTime(999, 0));
    EXPECT_EQ(AudioEngine::play2d(_dir.file("none.wav")), AudioEngine::INVALID_AUDIO_ID);
    EXPECT_EQ(AudioEngine::play2d(_dir.write("text.wav", "not a sound")), AudioEngine::INVALID_AUDIO_ID);
    EXPECT_EQ(AudioEngine::play2d(""), AudioEngine::INVALID_AUDIO_ID);
}

TEST_F(SilentLayerTest, StopUncacheAndEndDropTheCallbackUncalled) {
    const std::string path = tone("tone.wav", 0.5);
    struct Case {
        const char* name;
        void (*drop)(int id, const std::string& path);
    };
    const Case cases[] = {
        {"stop", [](int id, const std::string&) { AudioEngine::stop(id); }},
        {"stopAll", [](int, const std::string&) { AudioEngine::stopAll(); }},
        {"uncache", [](int, const std::string& file) { AudioEngine::uncache(file); }},
        {"uncacheAll", [](int, const std::string&) { AudioEngine::uncacheAll(); }},
        {"end", [](int, const std::string&) { AudioEngine::end(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int id = AudioEngine::play2d(path);
        auto alive = std::make_shared<int>(0);
        int calls = 0;
        AudioEngine::setFinishCallback(id, [alive, &calls](int, const std::string&) { ++calls; });
        EXPECT_EQ(alive.use_count(), 2);
        c.drop(id, path);
        EXPECT_EQ(alive.use_count(), 1) << "the callback is destroyed";
        EXPECT_EQ(AudioEngine::getState(id), State::ERROR);
        advance(1);
        EXPECT_EQ(calls, 0);
    }
}

TEST_F(SilentLayerTest, EffectsAreDecodedOnceUntilUncached) {
    const std::string path = tone("tone.wav", 0.5);
    std::vector<std::string> preloaded;
    for (const std::string& file : {path, _dir.file("none.wav")}) {
        AudioEngine::preload(file, [&preloaded, file](bool ok) { preloaded.push_back(file + (ok ? " yes" : " no")); });
    }
    EXPECT_TRUE(preloaded.empty()) << "the callback comes after preload returns";
    advance(0);
    EXPECT_EQ(preloaded, (std::vector<std::string>{path + " yes", _dir.file("none.wav") + " no"}));

    _dir.write("tone.wav", "no longer a sound");
    const int id = AudioEngine::play2d(path);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID) << "played from the cache";
    EXPECT_NEAR(AudioEngine::getDuration(id), 0.5, 1e-3);
    AudioEngine::uncache(path);
    EXPECT_EQ(AudioEngine::getState(id), State::ERROR);
    EXPECT_EQ(AudioEngine::play2d(path), AudioEngine::INVALID_AUDIO_ID) << "read again after uncache";
}

TEST_F(SilentLayerTest, ProfilesLimitInstancesAndDelay) {
    const std::string path = tone("tone.wav", 0.5);
    AudioProfile crowd{"crowd", 2, 0.0};
    AudioProfile slow{"slow", 0, 0.3};
    EXPECT_EQ(AudioEngine::getProfile("crowd"), nullptr);

    const int a = AudioEngine::play2d(path, true, 1, &crowd);
    const int b = AudioEngine::play2d(path, true, 1, &crowd);
    EXPECT_EQ(AudioEngine::play2d(path, true, 1, &crowd), AudioEngine::INVALID_AUDIO_ID) << "third of two";
    ASSERT_NE(AudioEngine::getProfile("crowd"), nullptr);
    EXPECT_EQ(AudioEngine::getProfile("crowd")->maxInstances, 2u);
    EXPECT_EQ(AudioEngine::getProfile(a), AudioEngine::getProfile("crowd"));
    AudioEngine::stop(b);
    EXPECT_NE(AudioEngine::play2d(path, true, 1, &crowd), AudioEngine::INVALID_AUDIO_ID) << "a place is free again";

    const int plain = AudioEngine::play2d(path);
    EXPECT_EQ(AudioEngine::getProfile(plain), AudioEngine::getDefaultProfile());
    EXPECT_EQ(AudioEngine::getProfile(12345), nullptr);

    EXPECT_NE(AudioEngine::play2d(path, false, 1, &slow), AudioEngine::INVALID_AUDIO_ID);
    advance(0.1);
    EXPECT_EQ(AudioEngine::play2d(path, false, 1, &slow), AudioEngine::INVALID_AUDIO_ID) << "within the delay";
    advance(0.25);
    EXPECT_NE(AudioEngine::play2d(path, false, 1, &slow), AudioEngine::INVALID_AUDIO_ID);

    // The layer's own limit.
    AudioEngine::stopAll();
    EXPECT_EQ(AudioEngine::getMaxAudioInstance(), AudioEngine::MAX_AUDIO_INSTANCES);
    for (int bad : {0, -1, AudioEngine::MAX_AUDIO_INSTANCES + 1}) EXPECT_FALSE(AudioEngine::setMaxAudioInstance(bad));
    EXPECT_TRUE(AudioEngine::setMaxAudioInstance(2));
    AudioEngine::play2d(path);
    AudioEngine::play2d(path);
    EXPECT_EQ(AudioEngine::play2d(path), AudioEngine::INVALID_AUDIO_ID);
    EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 2);
}

TEST_F(SilentLayerTest, SimpleAudioEngineStateFollowsTheEnds) {
    const std::string path = tone("tone.wav", 0.5);
    engine::SimpleAudioEngine* audio = engine::SimpleAudioEngine::getInstance();
    audio->playBackgroundMusic(path, false);
    const unsigned int effect = audio->playEffect(path);
    const unsigned int looped = audio->playEffect(path, true);
    const unsigned int missing = audio->playEffect(_dir.file("none.wav"));
    EXPECT_TRUE(audio->isEffectPlaying(effect));
    advance(0.6);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << "the music ended";
    EXPECT_FALSE(audio->isEffectPlaying(effect));
    EXPECT_TRUE(audio->isEffectPlaying(looped));
    EXPECT_TRUE(audio->isEffectPlaying(missing)) << "a file that cannot play keeps its state";
    audio->rewindBackgroundMusic();
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 2);
}

TEST_F(SilentLayerTest, ComAudioStopsWhatItStartedWhenTheNodeLetsGo) {
    const std::string path = tone("tone.wav", 0.5);
    struct Case {
        const char* name;
        void (*letGo)(engine::Node* node, studio::ComAudio* audio);
    };
    const Case cases[] = {
        {"the node leaves the scene", [](engine::Node* node, studio::ComAudio*) { node->onExit(); }},
        {"the component is removed", [](engine::Node* node, studio::ComAudio* audio) {
             node->removeComponent(audio);
             node->onExit();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine::Node* node = engine::Node::create();
        node->retain();
        node->onEnter();
        studio::ComAudio* audio = studio::ComAudio::create();
        EXPECT_EQ(audio->getName(), "CCComAudio");
        audio->setFile(path);
        audio->setLoop(true);
        ASSERT_TRUE(node->addComponent(audio));
        audio->start();
        advance(1);
        EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 1) << "a loop plays on";
        c.letGo(node, audio);
        EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 0);
        node->release();
        engine::AutoreleasePool::getInstance()->clear();
    }
}

}  // namespace
