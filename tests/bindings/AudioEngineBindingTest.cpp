// ccexp.AudioEngine and ccexp.AudioProfile as scripts see them, on the silent
// audio layer with the clock driven by hand: the generated-style class functions,
// the profile fields, and the finish callback called once with (id, path) and
// released, also when the engine drops it uncalled.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/audio/AudioEngine.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/SoundDevice.h"
#include "engine/base/Clock.h"
#include "support/SoundFiles.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

using engine::experimental::AudioEngine;

class AudioEngineBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        engine::audio::SoundDevice::setAvailable(false);
        engine::Clock::setSource([this] { return _now; });
        LuaEngineBindingTest::SetUp();
        bindings::register_studio_module(L);
        bindings::register_audioengine_module(L);
        _tone = _dir.file("tone.wav");
        ASSERT_TRUE(testsupport::makeTone(_tone, 0.5));
        ASSERT_EQ(run("tone = '" + _tone + "' calls = {}\n"
                      "function note(id, path) calls[#calls + 1] = id .. ' ' .. path end\n"
                      "function handlers() local n = 0\n"
                      "  for _ in pairs(debug.getregistry().toluafix_refid_function_mapping or {}) do n = n + 1 end return n end"),
                  "");
    }
    void TearDown() override {
        AudioEngine::end();
        engine::Clock::setSource(nullptr);
        engine::audio::SoundDevice::setAvailable(true);
        LuaEngineBindingTest::TearDown();
    }
    void advance(double seconds) {
        _now += std::chrono::duration_cast<engine::Clock::TimePoint::duration>(std::chrono::duration<double>(seconds));
        testsupport::pumpMainThreadUntil([] { return false; }, std::chrono::milliseconds(30));
    }

    testsupport::TempDir _dir;
    std::string _tone;
    engine::Clock::TimePoint _now{std::chrono::hours(1)};
};

struct Case {
    const char* name;
    const char* chunk;
    const char* expression;
    const char* expected;
};

TEST_F(AudioEngineBindingTest, ClassFunctionsAndProfileFields) {
    const Case cases[] = {
        {"play and states", "A = ccexp.AudioEngine id = A:play2d(tone) other = A:play2d(tone, true, 0.5)",
         "A:getState(id) .. ' ' .. A:getState(other) .. ' ' .. A:getState(other + 100) .. ' ' .. other - id",
         "1 1 -1 1"},
        {"pause and resume", "A:pause(id)", "A:getState(id) .. ' ' .. (A:resume(id) or '') .. A:getState(id)", "2 1"},
        {"loop and volume", "A:setVolume(id, 7) A:setLoop(id, true)",
         "tostring(A:isLoop(id)) .. ' ' .. A:getVolume(id) .. ' ' .. A:getVolume(other) .. ' ' .. A:getDuration(id)",
         "true 1 0.5 0.5"},
        {"times", "A:setCurrentTime(id, 0.25)",
         "A:getCurrentTime(id) .. ' ' .. tostring(A:setCurrentTime(id, 2)) .. ' ' .. A:getDuration(999)", "0.25 false -1"},
        {"files that do not play", "",
         "A:play2d(tone .. '.none') .. ' ' .. A:play2d('') .. ' ' .. A:getPlayingAudioCount()", "-1 -1 2"},
        {"stop and stopAll", "A:stop(id)", "A:getState(id) .. ' ' .. (A:stopAll() or '') .. A:getPlayingAudioCount()", "-1 0"},
        {"instance limit", "", "tostring(A:setMaxAudioInstance(0)) .. ' ' .. A:getMaxAudioInstance()", "false 32"},
        {"new profile", "p = ccexp.AudioProfile:new()",
         "tolua.type(p) .. ' [' .. p.name .. '] ' .. p.maxInstances .. ' ' .. p.minDelay", "ccexp.AudioProfile [] 0 0"},
        {"profile fields", "p.name = 'fx' p.maxInstances = 1.9 p.minDelay = 0.25",
         "p.name .. ' ' .. p.maxInstances .. ' ' .. p.minDelay", "fx 1 0.25"},
        {"maxInstances wraps", "q = ccexp.AudioProfile:new() q.maxInstances = -1", "q.maxInstances", "4294967295"},
        {"a setter given another type does nothing", "q.name = 'kept' q.name = {} q.minDelay = 'x'",
         "q.name .. ' ' .. q.minDelay", "kept 0"},
        {"play with a profile", "a = A:play2d(tone, false, 1, p) b = A:play2d(tone, false, 1, p)",
         "(a >= 0) and b .. ' ' .. A:getProfile('fx').maxInstances .. ' ' .. A:getProfile(a).name", "-1 1 fx"},
        {"default profile", "",
         "tolua.type(A:getDefaultProfile()) .. ' ' .. tostring(A:getProfile('none')) .. ' ' .. "
         "tostring(A:getProfile(A:play2d(tone)) == A:getDefaultProfile())",
         "ccexp.AudioProfile nil true"},
        {"count errors", "", "A:play2d()",
         "error: ccexp.AudioEngine:play2d has wrong number of arguments: 0, was expecting 4 \n"},
        {"setFinishCallback count", "", "A:setFinishCallback(1)",
         "error: ccexp.AudioEngine:setFinishCallback has wrong number of arguments: 1, was expecting 2\n "},
        {"setFinishCallback arguments", "", "A:setFinishCallback(1, 2)",
         "error: invalid arguments in function 'lua_engine_AudioEngine_setFinishCallback'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval(c.expression), c.expected);
    }
}

TEST_F(AudioEngineBindingTest, FinishCallbackRunsOnceWithIdAndPathThenIsReleased) {
    ASSERT_EQ(run("before = handlers() A = ccexp.AudioEngine id = A:play2d(tone) A:setFinishCallback(id, note)"), "");
    EXPECT_EQ(eval("handlers() - before"), "1");
    advance(0.3);
    EXPECT_EQ(eval("#calls"), "0");
    advance(0.3);
    EXPECT_EQ(eval("table.concat(calls, ',') == id .. ' ' .. tone"), "true");
    EXPECT_EQ(eval("handlers() - before .. ' ' .. A:getState(id)"), "0 -1");
    advance(1);
    EXPECT_EQ(eval("#calls"), "1");
}

TEST_F(AudioEngineBindingTest, DroppedCallbacksAreReleasedUncalled) {
    const Case cases[] = {
        {"stop", "A:stop(id)", "", ""},
        {"uncache", "A:uncache(tone)", "", ""},
        {"uncacheAll", "A:uncacheAll()", "", ""},
        {"end (a keyword: called by its key)", "A['end'](A)", "", ""},
        {"replaced", "A:setFinishCallback(id, function() end) A:stop(id)", "", ""},
        {"unknown id", "A:setFinishCallback(id + 1000, note) A:stop(id)", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run("calls = {} before = handlers() A = ccexp.AudioEngine id = A:play2d(tone, true) A:setFinishCallback(id, note)"), "");
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval("handlers() - before"), "0");
        advance(1);
        EXPECT_EQ(eval("#calls"), "0");
    }
}

// The component plays through the simple audio engine, on the same layer.
TEST_F(AudioEngineBindingTest, ComAudioStartsAndStopsItsEffect) {
    const Case cases[] = {
        {"file and loop", "c = ccs.ComAudio:create() c:setFile(tone) c:setLoop(true)",
         "tolua.type(c) .. ' ' .. tostring(c:isLoop()) .. ' ' .. tostring(c:getFile() == tone)", "ccs.ComAudio true true"},
        {"start plays the file", "c:start()", "ccexp.AudioEngine:getPlayingAudioCount()", "1"},
        {"a loop outlives its length", "", "(function() return ccexp.AudioEngine:getPlayingAudioCount() end)()", "1"},
        {"stop", "c:stop()", "ccexp.AudioEngine:getPlayingAudioCount()", "0"},
        {"effects and music by file", "e = c:playEffect(tone, false) c:playBackgroundMusic(tone, true)",
         "ccexp.AudioEngine:getPlayingAudioCount() .. ' ' .. tostring(c:isBackgroundMusicPlaying())", "2 true"},
        {"music defaults", "c:stopBackgroundMusic() c:playBackgroundMusic()",
         "tostring(c:isBackgroundMusicPlaying()) .. ' ' .. c:getEffectsVolume()", "true 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval(c.expression), c.expected);
        advance(0.6);
    }
    engine::SimpleAudioEngine::end();
}

}  // namespace
}  // namespace bindingtest
