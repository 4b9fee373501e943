// The text-input fix on the desktop's clipboard: text another X client (xclip)
// put on the CLIPBOARD selection is pasted into the attached field by Ctrl+V, and
// a field copied by Ctrl+C is what that client reads back. Runs on its own
// virtual display; skipped without one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>

#include "engine/base/Director.h"
#include "engine/input/TextInputHooks.h"
#include "engine/label/TextFieldTTF.h"
#include "engine/scene/Scene.h"
#include "platform/NativeWindow.h"
#include "portal/PortalWindowFixture.h"
#include "portal/TextInputFix.h"

namespace {

constexpr int kKeyC = 67, kKeyV = 86, kPress = 1, kControl = 2;

std::string xclipOutput() {
    std::string read;
    if (FILE* pipe = popen("xclip -o -selection clipboard", "r")) {
        char buffer[256];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) read.append(buffer, n);
        pclose(pipe);
    }
    return read;
}

class ClipboardPaste : public portaltest::PortalWindowFixture {
protected:
    void SetUp() override {
        PortalWindowFixture::SetUp();
        if (!platform::nativeDisplayAvailable()) GTEST_SKIP() << "no X display";
        makeGameWindow();
        portal::installTextInputFix();
        engine::Scene* scene = engine::Scene::create();
        engine::Director::getInstance()->runWithScene(scene);
        engine::Director::getInstance()->mainLoop(1.f / 60);
        field = engine::TextFieldTTF::create();
        scene->addChild(field);
        field->attachWithIME();
    }
    void TearDown() override {
        engine::vexoSetTextInputHooks(nullptr, nullptr);
        PortalWindowFixture::TearDown();
    }

    engine::TextFieldTTF* field = nullptr;
};

TEST_F(ClipboardPaste, AnotherClientsTextIsPastedAndACopiedFieldIsReadBack) {
    ASSERT_EQ(std::system("printf '%s' 'dán từ xclip' | xclip -i -selection clipboard"), 0);
    // xclip's server takes the selection after the command returned.
    for (int i = 0; i < 100 && xclipOutput() != "dán từ xclip"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(portal::textInputKeyHook(kKeyV, 0, kPress, kControl));
    EXPECT_EQ(field->getString(), "dán từ xclip");

    field->setString("chép ra ngoài");
    EXPECT_TRUE(portal::textInputKeyHook(kKeyC, 0, kPress, kControl));
    // The program serves its selection from its event pump while the client reads.
    auto read = std::async(std::launch::async, xclipOutput);
    while (read.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) platform::pollNativeEvents();
    EXPECT_EQ(read.get(), "chép ra ngoài");
}

}  // namespace
