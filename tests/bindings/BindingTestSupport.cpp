#include "BindingTestSupport.h"

#include "bindings/LuaModules.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaEngine.h"

namespace bindingtest {

void BindingStackTest::SetUp() {
    bindings::installRegistrationHooks();
    stack = engine::LuaStack::create();
    stack->retain();
    L = stack->getLuaState();
    engine::AutoreleasePool::getInstance()->clear();
}

void BindingStackTest::TearDown() {
    // The state goes first: objects the scripts still see die after it.
    stack->release();
    engine::AutoreleasePool::getInstance()->clear();
    engine::Director::destroyInstance();
}

void LuaEngineBindingTest::SetUp() {
    bindings::installRegistrationHooks();
    engine::LuaEngine* luaEngine = engine::LuaEngine::getInstance();
    engine::ScriptEngineManager::getInstance()->setScriptEngine(luaEngine);
    stack = luaEngine->getLuaStack();
    stack->retain();
    L = stack->getLuaState();
    engine::AutoreleasePool::getInstance()->clear();
}

engine::GLView* startViewOnScene(float width, float height) {
    struct BareView : engine::GLView {};
    engine::GLView* view = new BareView;
    view->setFrameSize(width, height);
    view->setDesignResolutionSize(width, height, engine::ResolutionPolicy::EXACT_FIT);
    engine::Director::getInstance()->setOpenGLView(view);
    engine::Director::getInstance()->runWithScene(engine::Scene::create());
    engine::Director::getInstance()->mainLoop(0.f);
    return view;
}

void LuaEngineBindingTest::TearDown() {
    engine::Director::destroyInstance();
    stack->release();
    engine::ScriptEngineManager::destroyInstance();   // deletes the Lua engine and its stack
    engine::AutoreleasePool::getInstance()->clear();
}

std::string BindingStackTest::run(const std::string& chunk) {
    const int top = lua_gettop(L);
    std::string error;
    if (luaL_loadstring(L, chunk.c_str()) != 0 || lua_pcall(L, 0, 0, 0) != 0) {
        const char* text = lua_tostring(L, -1);
        error = text ? text : "(no message)";
    }
    lua_settop(L, top);
    return error;
}

std::string BindingStackTest::eval(const std::string& expression) {
    const int top = lua_gettop(L);
    const std::string chunk = "return tostring(" + expression + ")";
    std::string result;
    if (luaL_loadstring(L, chunk.c_str()) != 0 || lua_pcall(L, 0, 1, 0) != 0) {
        const char* text = lua_tostring(L, -1);
        std::string message = text ? text : "(no message)";
        // Lua puts the calling chunk's position in front: [string "..."]:1:
        const size_t chunkEnd = message.find("\"]:");
        if (message.starts_with("[string ") && chunkEnd != std::string::npos) {
            const size_t lineEnd = message.find(": ", chunkEnd + 3);
            if (lineEnd != std::string::npos) message.erase(0, lineEnd + 2);
        }
        result = "error: " + message;
    } else {
        result = lua_tostring(L, -1);
    }
    lua_settop(L, top);
    return result;
}

void BindingStackTest::runCases(std::span<const ChunkCase> cases) {
    for (const ChunkCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval(c.expression), c.expected);
    }
}

}  // namespace bindingtest
