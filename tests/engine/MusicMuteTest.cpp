#include <gtest/gtest.h>

#include "engine/audio/SimpleAudioEngine.h"

using engine::SimpleAudioEngine;

TEST(MusicMute, MutedMusicPlaysSilentAndKeepsTheScriptsVolume) {
    SimpleAudioEngine* audio = SimpleAudioEngine::getInstance();
    audio->setBackgroundMusicVolume(0.6f);
    EXPECT_EQ(audio->getAudibleBackgroundMusicVolume(), 0.0f) << "nothing playing";
    audio->playBackgroundMusic("bgm.mp3", true);
    EXPECT_FLOAT_EQ(audio->getAudibleBackgroundMusicVolume(), 0.6f);

    VEXOSetMusicMuted(true);
    EXPECT_TRUE(SimpleAudioEngine::isBackgroundMusicMuted());
    EXPECT_TRUE(audio->isBackgroundMusicPlaying()) << "still playing, silent";
    EXPECT_EQ(audio->getAudibleBackgroundMusicVolume(), 0.0f);
    audio->setBackgroundMusicVolume(0.3f);
    EXPECT_FLOAT_EQ(audio->getBackgroundMusicVolume(), 0.3f);
    EXPECT_EQ(audio->getAudibleBackgroundMusicVolume(), 0.0f);

    // The switch belongs to the process, not to one audio engine.
    SimpleAudioEngine::end();
    audio = SimpleAudioEngine::getInstance();
    audio->playBackgroundMusic("bgm.mp3", true);
    EXPECT_EQ(audio->getAudibleBackgroundMusicVolume(), 0.0f);
    VEXOSetMusicMuted(false);
    EXPECT_FLOAT_EQ(audio->getAudibleBackgroundMusicVolume(), 1.0f);
    SimpleAudioEngine::end();
}
