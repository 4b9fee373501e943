// Chunk protection, compressed chunks and the package loader.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ChunkMaker.h"
#include "ScriptTestSupport.h"
#include "engine/files/FileUtils.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptChunk.h"
#include "scripting/Xxtea.h"
#include "support/TestSupport.h"

namespace {

using scripttest::compressChunk;
using scripttest::LuaStackTest;
using scripttest::protectBody;
using scripttest::toHex;

const std::string kKey = "0123456789abcdef";
const std::string kSign = "VXSIGN";

TEST(Xxtea, TestEncryptorMatchesThePublishedVectors) {
    std::vector<uint32_t> zeros{0, 0};
    const unsigned char zeroKey[16] = {};
    scripttest::xxteaEncryptWords(zeros, zeroKey);
    std::string bytes;
    for (uint32_t w : zeros) {
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>(w >> (8 * b)));
    }
    EXPECT_EQ(toHex(bytes), "ab043705808c5d57");
    EXPECT_EQ(toHex(protectBody("return 42", kKey)), "1fc2f11543311d400d7858a5887a7bbe");
}

TEST(Xxtea, DecryptsAndRejectsBadBodies) {
    struct Case {
        std::string body;
        std::string key;
        bool ok;
    };
    const std::string good = protectBody("return 42", kKey);
    std::string badLength = good;
    badLength[0] ^= 1;   // scrambles every word, the length word included
    const Case cases[] = {
        {good, kKey, true},
        {good.substr(0, 12), kKey, false},   // a word short
        {badLength, kKey, false},
        {std::string(4, 'a'), kKey, false},   // one word
        {protectBody("x", "12345"), std::string("12345") + std::string(11, '\0'), true},
        {protectBody("x", "12345"), "12345", true},   // a short key is zero-padded
        {protectBody("x", kKey), kKey + "ignored-tail", true},   // only 16 bytes count
    };
    for (const Case& c : cases) {
        int length = -1;
        unsigned char* plain = xxtea_decrypt(reinterpret_cast<const unsigned char*>(c.body.data()),
                                             static_cast<int>(c.body.size()),
                                             reinterpret_cast<const unsigned char*>(c.key.data()),
                                             static_cast<int>(c.key.size()), &length);
        EXPECT_EQ(plain != nullptr, c.ok) << toHex(c.body);
        if (plain) {
            EXPECT_EQ(plain[length], 0);
        } else {
            EXPECT_EQ(length, 0);
        }
        std::free(plain);
    }
    int length = -1;
    EXPECT_EQ(xxtea_decrypt(reinterpret_cast<const unsigned char*>("x"), 0,
                            reinterpret_cast<const unsigned char*>(kKey.data()), 16, &length),
              nullptr);
}

class LoadBuffer : public LuaStackTest {
protected:
    int load(const std::string& bytes) {
        const int before = lua_gettop(L);
        const int status = stack->loadScriptBuffer(L, bytes.data(), static_cast<int>(bytes.size()), "chunk");
        pushed = lua_gettop(L) - before;
        if (status == 0) {
            lua_call(L, 0, 1);
            result = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
        }
        lua_settop(L, before);
        return status;
    }
    int pushed = 0;
    std::string result;
};

TEST_F(LoadBuffer, StatusesOfProtectedCompressedAndPlainChunks) {
    stack->setScriptKey(reinterpret_cast<const unsigned char*>(kKey.data()), 16,
                        reinterpret_cast<const unsigned char*>(kSign.data()), 6);
    const std::string ret = "return 'ok'";
    std::string mismatch = compressChunk(ret);
    mismatch[4] = static_cast<char>(ret.size() - 1);   // inflates to one byte more
    std::string corrupt = compressChunk(ret);
    corrupt[corrupt.size() - 3] ^= 0x55;

    struct Case {
        const char* what;
        std::string bytes;
        int status;
        int pushed;
    };
    const Case cases[] = {
        {"plain", ret, 0, 1},
        {"plain that does not compile", "VEXZabc", LUA_ERRSYNTAX, 1},   // 7 bytes: never VEXZ
        {"short VEXZ", "VEXZ", LUA_ERRSYNTAX, 1},
        {"VEXZ", compressChunk(ret), 0, 1},
        {"VEXZ raw size 0", compressChunk(ret, 0), engine::kChunkTooLarge, 0},
        {"VEXZ raw size 67108864", compressChunk(ret, 67108864), engine::kChunkTooLarge, 0},
        {"VEXZ size mismatch", mismatch, engine::kChunkRejected, 0},
        {"VEXZ corrupt stream", corrupt, engine::kChunkRejected, 0},
        {"protected", kSign + protectBody(ret, kKey), 0, 1},
        {"protected VEXZ", kSign + protectBody(compressChunk(ret), kKey), 0, 1},
        {"sign only", kSign, engine::kChunkRejected, 0},
        {"protected with a bad body", kSign + "12345678", engine::kChunkRejected, 0},
        {"shorter than the sign", "VXS", LUA_ERRSYNTAX, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(load(c.bytes), c.status) << c.what;
        EXPECT_EQ(pushed, c.pushed) << c.what;
        if (c.status == 0) {
            EXPECT_EQ(result, "ok") << c.what;
        }
    }

    // With protection off the signed bytes go to Lua as they are.
    stack->setScriptKey(nullptr, 0, nullptr, 0);
    EXPECT_EQ(load(kSign + protectBody(ret, kKey)), LUA_ERRSYNTAX);
}

TEST_F(LoadBuffer, LargestRawSizeIsAcceptedAsFarAsMemoryAllows) {
    // 67,108,863 bytes of "-" comment lines... a long comment keeps it cheap to compile.
    std::string big = "return 'ok' --[[";
    big.resize(67108863 - 2, 'x');
    big += "]]";
    EXPECT_EQ(load(compressChunk(big)), 0);
    EXPECT_EQ(result, "ok");
}

TEST_F(LoadBuffer, TheLuaEngineUsesTheConfiguredKeyAndSign) {
    engine::LuaEngine* luaEngine = engine::LuaEngine::getInstance();
    engine::LuaStack* s = luaEngine->getLuaStack();
    const std::string chunk = std::string(VEXO_TEST_SCRIPT_SIGN) +
                              protectBody("return 'configured'", VEXO_TEST_SCRIPT_KEY);
    lua_State* E = s->getLuaState();
    ASSERT_EQ(s->loadScriptBuffer(E, chunk.data(), static_cast<int>(chunk.size()), "c"), 0);
    lua_call(E, 0, 1);
    EXPECT_STREQ(lua_tostring(E, -1), "configured");
    lua_settop(E, 0);
    delete luaEngine;
}

class PackageLoader : public LuaStackTest {
protected:
    void SetUp() override {
        LuaStackTest::SetUp();
        engine::FileUtils::getInstance()->setDefaultResourceRootPath(dir.path());
        engine::FileUtils::getInstance()->setSearchPaths({});
        run("package.loaders[3] = nil; package.loaders[4] = nil; package.loaders[5] = nil");
    }
    void TearDown() override {
        engine::FileUtils::destroyInstance();
        LuaStackTest::TearDown();
    }
    testsupport::TempDir dir;
};

TEST_F(PackageLoader, LuacBeforeLuaWithinEachSegmentInPathOrder) {
    struct Case {
        std::vector<std::string> files;
        std::string module;
        std::string loaded;   // the file whose chunk ran
    };
    const Case cases[] = {
        {{"src/a/b.lua", "src/a/b.luac"}, "a.b", "src/a/b.luac"},
        {{"src/a/b.lua", "src/a/b.luac"}, "a.b.luac", "src/a/b.luac"},
        {{"src/a/b.lua", "lib/a/b.luac"}, "a.b", "src/a/b.lua"},
        {{"lib/a/b.lua"}, "a.b.lua", "lib/a/b.lua"},
    };
    int n = 0;
    for (const Case& c : cases) {
        testsupport::TempDir caseDir;
        engine::FileUtils::getInstance()->setDefaultResourceRootPath(caseDir.path());
        for (const std::string& f : c.files) caseDir.write(f, "return '" + f + "'");
        run("package.path = './src/?.lua;lib/?.lua'; package.loaded['" + c.module + "'] = nil");
        run("r = require('" + c.module + "')");
        EXPECT_EQ(global("r"), c.loaded) << c.module;
        ++n;
    }
    EXPECT_EQ(n, 4);
}

TEST_F(PackageLoader, ChunkNameIsTheRelativePathAndFailuresLetRequireGoOn) {
    dir.write("src/bad.lua", "error('from ' .. debug.getinfo(1, 'S').source)");
    dir.write("src/broken.lua", "this is not lua");
    run("package.path = 'src/?.lua'");
    run("ok, msg = pcall(require, 'bad')");
    EXPECT_NE(global("msg").find("from src/bad.lua"), std::string::npos);
    EXPECT_NE(luaL_dostring(L, "require 'broken'"), 0);
    EXPECT_NE(std::string(lua_tostring(L, -1)).find("src/broken.lua"), std::string::npos) << lua_tostring(L, -1);
    lua_settop(L, 0);
    EXPECT_NE(luaL_dostring(L, "require 'absent'"), 0);   // no file: require reports it
}

}  // namespace
