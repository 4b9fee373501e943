#include "engine/input/TextInputHooks.h"

#include "engine/input/IMEDispatcher.h"

namespace engine {
namespace {

TextInputKeyHook s_keyHook = nullptr;
TextInputCharHook s_charHook = nullptr;

}  // namespace

void vexoSetTextInputHooks(TextInputKeyHook keyHook, TextInputCharHook charHook) {
    s_keyHook = keyHook;
    s_charHook = charHook;
}

IMEDelegate* vexoImeAttachedDelegate(unsigned int* serial) {
    return IMEDispatcher::sharedDispatcher()->getAttachedDelegate(serial);
}

bool runTextInputKeyHook(int key, int scancode, int action, int mods) {
    return s_keyHook && s_keyHook(key, scancode, action, mods);
}

bool runTextInputCharHook(unsigned int codePoint) { return s_charHook && s_charHook(codePoint); }

}  // namespace engine
