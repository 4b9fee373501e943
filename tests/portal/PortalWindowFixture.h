#pragma once
// A game window on the director, and every model the portal uses reset around
// each test.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "platform/Clipboard.h"
#include "platform/DebugOutput.h"
#include "platform/Monitor.h"
#include "platform/Mouse.h"
#include "platform/UrlOpener.h"
#include "platform/WebView.h"
#include "platform/Window.h"
#include "portal/PayWebWindow.h"
#include "portal/TextInputFix.h"

namespace portaltest {

class PortalWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        resetAll();
        // The program's user folder goes to a folder of the test's own.
        const char* previous = std::getenv("XDG_DATA_HOME");
        _hadDataHome = previous != nullptr;
        _previousDataHome = previous ? previous : "";
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        _previousSink = platform::setDebugOutputSink([this](const std::string& text) { debugLines.push_back(text); });
        platform::setUrlOpenerForTesting([this](const std::string& url) {
            opened.push_back(url);
            return true;
        });
    }
    void TearDown() override {
        resetAll();
        platform::setDebugOutputSink(_previousSink);
        platform::setUrlOpenerForTesting({});
        if (_hadDataHome) {
            setenv("XDG_DATA_HOME", _previousDataHome.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        // The windows painted their captions: Cairo's and fontconfig's process-wide
        // caches go, so the leak check at exit sees none of them.
        cairo_debug_reset_static_data();
        FcFini();
    }

    // The game window: a desktop view whose client area is 960 x 640 at (40, 40).
    platform::HWND makeGameWindow() {
        auto* view = engine::GLViewImpl::createWithRect("game", engine::Rect(40, 40, 960, 640));
        engine::Director::getInstance()->setOpenGLView(view);
        game = view->getWin32Window();
        return game;
    }

    // Runs the message loop until it is idle (bounded).
    static void pumpAll() {
        for (int i = 0; i < 200 && platform::pumpMessages() > 0; ++i) {
        }
    }

    testsupport::TempDir data;
    std::vector<std::string> debugLines;
    std::vector<std::string> opened;
    platform::HWND game = 0;

private:
    static void resetAll() {
        portal::resetPayWebViewForTesting();
        portal::resetTextInputFixForTesting();
        engine::Director::destroyInstance();
        platform::resetWindowModel();
        platform::resetMouseModel();
        platform::resetClipboardModel();
        platform::resetMonitors();
        platform::WebViewRuntime::instance().reset();
    }

    platform::DebugOutputSink _previousSink;
    std::string _previousDataHome;
    bool _hadDataHome = false;
};

}  // namespace portaltest
