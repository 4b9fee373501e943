// The client-fix buttons on the engine itself (the real bindings and the widget
// touch path): what the banner screen gets, taps that run each action once, and the
// role kept in the saved settings.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <lua.hpp>
#include <tolua++.h>

#include "LuaChunks.h"
#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/UserDefault.h"
#include "engine/files/FileUtils.h"
#include "engine/label/Label.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/ui/Layout.h"
#include "engine/ui/Scale9Sprite.h"
#include "host/app/AppDelegate.h"
#include "host/app/BindingHooks.h"
#include "host/app/ClientFixes.h"
#include "scripting/LuaEngine.h"
#include "support/TestSupport.h"

namespace {

struct BareView : engine::GLView {};

constexpr float kWidth = 800;
constexpr float kHeight = 600;

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// One line per node: its kind, look and place; children follow in brackets.
std::string describe(engine::Node* node) {
    std::string text;
    if (auto* layout = dynamic_cast<engine::ui::Layout*>(node)) {
        text = std::string("Layout") + (layout->isTouchEnabled() ? " touchable" : "");
    } else if (dynamic_cast<engine::ui::Scale9Sprite*>(node)) {
        text = "Scale9Sprite";
    } else if (dynamic_cast<engine::LayerColor*>(node)) {
        const engine::Color3B& c = node->getColor();
        text = "LayerColor " + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "," +
               std::to_string(node->getOpacity());
    } else if (auto* label = dynamic_cast<engine::Label*>(node)) {
        const engine::Color4B& c = label->getTextColor();
        const engine::Color4B& o = label->getOutlineColor();
        text = "Label '" + label->getString() + "' size " + number(label->getSystemFontSize()) + " colour " +
               std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + " outline " +
               std::to_string(o.r) + "," + std::to_string(o.g) + "," + std::to_string(o.b) + "/" +
               std::to_string(label->getOutlineSize());
    } else if (dynamic_cast<engine::Sprite*>(node)) {
        text = "Sprite";
    } else {
        text = "Node";
    }
    const engine::Size& size = node->getContentSize();
    if (!dynamic_cast<engine::Sprite*>(node) && !dynamic_cast<engine::Label*>(node)) {
        text += " " + number(size.width) + "x" + number(size.height);
    }
    if (node->getScale() != 1.f) text += " scale " + number(node->getScale());
    const engine::Vec2& anchor = node->getAnchorPoint();
    if (dynamic_cast<engine::ui::Layout*>(node)) text += " anchor " + number(anchor.x) + "," + number(anchor.y);
    text += " at " + number(node->getPosition().x) + "," + number(node->getPosition().y);
    for (engine::Node* child : node->getChildren()) text += " [" + describe(child) + "]";
    return text;
}

class ClientFixOnTheEngine : public testing::Test {
protected:
    void SetUp() override {
        engine::FileUtils::getInstance()->setWritablePath(_dir.path() + "/");
        engine::FileUtils::getInstance()->setSearchPaths({VEXO_SOURCE_DIR "/tests/host/fixtures/game/res"});
        host::installBindingHooks();
        engine::LuaEngine* lua = engine::LuaEngine::getInstance();
        engine::ScriptEngineManager::getInstance()->setScriptEngine(lua);
        L = lua->getLuaStack()->getLuaState();
        host::AppDelegate::registerScriptModules(L);

        _view = new BareView;
        _view->setFrameSize(kWidth, kHeight);
        _view->setDesignResolutionSize(kWidth, kHeight, engine::ResolutionPolicy::EXACT_FIT);
        engine::Director::getInstance()->setOpenGLView(_view);
        engine::Director::getInstance()->runWithScene(engine::Scene::create());
        engine::Director::getInstance()->mainLoop(0.f);

        ASSERT_EQ(run("package.path = '" VEXO_SOURCE_DIR "/tests/host/fixtures/game/src/?.lua;' .. package.path;"
                      "LOG = {}; release_print = function(t) LOG[#LOG + 1] = t end; OPENED = {};"
                      "vexo_native = function(cls, mth, args) OPENED[#OPENED + 1] = args[1]; return true end"),
                  "");
        host::installClientFixes(L, "https://portal.test");
        ASSERT_EQ(run("C = require('game.baner.BanerCommand'); C.account = { uid = 5, sign = 's', serverId = 6 };"
                      "V = require('game.baner.BanerView').new(40); V.root:setPosition(400, 300);"
                      "cc.Director:getInstance():getRunningScene():addChild(V.root)"),
                  "");
    }
    void TearDown() override {
        _view->release();
        engine::SpriteFrameCache::destroyInstance();
        engine::Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }

    std::string run(const std::string& code) { return hosttest::runLua(L, code); }
    std::string eval(const std::string& expr) { return hosttest::evalLua(L, expr); }

    engine::Node* root() {
        lua_getglobal(L, "V");
        lua_getfield(L, -1, "root");
        auto* node = static_cast<engine::Node*>(tolua_tousertype(L, -1, nullptr));
        lua_pop(L, 2);
        return node;
    }
    // A tap at a point of the design resolution (y up).
    void tap(float x, float y) {
        _view->handleTouchBegin(1, x, kHeight - y);
        _view->handleTouchEnd(1, x, kHeight - y);
    }
    size_t logged(const std::string& line) {
        size_t count = 0;
        const std::string log = eval("table.concat(LOG, '\\n')");
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
        return count;
    }

    testsupport::TempDir _dir;
    lua_State* L = nullptr;
    BareView* _view = nullptr;
};

TEST_F(ClientFixOnTheEngine, BannerButtonsAreDrawnWithTheSkin) {
    engine::Node* banner = root();
    ASSERT_NE(banner, nullptr);
    const std::vector<engine::Node*>& children = banner->getChildren();
    ASSERT_EQ(children.size(), 3u) << describe(banner);
    const char* const texts[] = {"Đổi Tài Khoản", "Liên Hệ AD"};
    const char* const xs[] = {"-150", "150"};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(describe(children[i + 1]),
                  std::string("Layout touchable 286x78 anchor 0.5,0.5 at ") + xs[i] + ",-70"
                  " [Scale9Sprite 286x78 at 143,39] [LayerColor 26,19,17,235 262x54 at 12,12]"
                  " [Label '" + texts[i] + "' size 29 colour 250,210,90 outline 40,16,6/2 at 143,39]"
                  " [Sprite scale 0.24 at 30,39] [Sprite scale 0.24 at 256,39]");
    }
}

TEST_F(ClientFixOnTheEngine, ATapRunsTheButtonsActionOnce) {
    ASSERT_EQ(run("C.onEnterGame({ id = 9, name = 'N', level = 3 })"), "");
    tap(400 - 150, 300 - 70);
    EXPECT_EQ(logged("fixture changeAccount"), 1u);
    tap(400 + 150 + 100, 300 - 70);   // on the support button, near its right end
    EXPECT_EQ(logged("fixture showWaiting true"), 1u) << "one support request";
    tap(400, 300 - 70);               // between the two: nothing
    EXPECT_EQ(logged("fixture changeAccount"), 1u);
    EXPECT_EQ(logged("fixture showWaiting true"), 1u);
    // The role is in the saved settings.
    const std::string saved = engine::UserDefault::getInstance()->getStringForKey("vexo_native_support_role_5_6");
    EXPECT_NE(saved.find("\"name\":\"N\""), std::string::npos) << saved;
}

}  // namespace
