#pragma once
// Hooks that see keyboard and character input before the engine handles it, and
// the attached input-method delegate for them to act on. Main thread only.
//
// Contract:
// - The key hook gets every key press, repeat and release (GLFW key codes,
//   actions 0 release, 1 press, 2 repeat, modifier bits 1 Shift, 2 Control,
//   4 Alt, 8 Super) before the engine's own handling, which is skipped when the
//   hook answers true. The char hook gets every typed code point before it is
//   inserted, which is skipped when it answers true.
// - vexoSetTextInputHooks replaces both (null: none).
// - vexoImeAttachedDelegate gives the delegate attached to the input method (null
//   when none) and writes the serial of that attachment (changes at every new
//   attachment).
#include "engine/input/IMEDelegate.h"

namespace engine {

using TextInputKeyHook = bool (*)(int key, int scancode, int action, int mods);
using TextInputCharHook = bool (*)(unsigned int codePoint);

void vexoSetTextInputHooks(TextInputKeyHook keyHook, TextInputCharHook charHook);
IMEDelegate* vexoImeAttachedDelegate(unsigned int* serial);

// The view's side: false when no hook is set.
bool runTextInputKeyHook(int key, int scancode, int action, int mods);
bool runTextInputCharHook(unsigned int codePoint);

}  // namespace engine
