#include <string>

#include "engine/app/GLView.h"
#include "engine/input/IMEDispatcher.h"
#include "engine/input/TextInputHooks.h"
#include "platform/Utf16.h"

namespace engine {
namespace {

constexpr int kKeyBackspace = 259;
constexpr int kActionRelease = 0;

}  // namespace

void GLView::onKeyInput(int key, int scancode, int action, int mods) {
    if (runTextInputKeyHook(key, scancode, action, mods)) return;
    if (action != kActionRelease && key == kKeyBackspace) IMEDispatcher::sharedDispatcher()->dispatchDeleteBackward();
}

void GLView::onCharInput(unsigned int codePoint) {
    if (runTextInputCharHook(codePoint)) return;
    std::string utf8;
    platform::appendUtf8(utf8, static_cast<char32_t>(codePoint));
    IMEDispatcher::sharedDispatcher()->dispatchInsertText(utf8.data(), utf8.size());
}

}  // namespace engine
