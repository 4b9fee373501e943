#pragma once
// Clipboard and select-all for the engine's text fields, through the engine's
// text-input hooks: Ctrl+A selects the whole field (shown in a highlight colour);
// Ctrl+C and Ctrl+Insert copy the field, Ctrl+X and Shift+Delete cut it, Ctrl+V and
// Shift+Insert paste one cleaned line of clipboard text; typing, Backspace or Delete
// while the whole field is selected replaces or clears it. Password fields are
// never copied or cut. Main thread only.
//
// Contract:
// - The key hook answers true (handled) for the clipboard and select-all keys on
//   press and repeat, acting on press only, and for Backspace/Delete when they
//   clear a selected field; false otherwise (the engine handles the key). The char
//   hook always answers false.
// - A selection is one field at a time, under the attachment serial it was made
//   in. It ends, with its colour given back, when: another field is attached or
//   the same one again (a new serial), the field is hidden or leaves the running
//   scene, its content changes, a navigation key is pressed, or its text is
//   replaced. Each end writes "[VEXOInput] bo chon (<reason>)" to the debugger
//   output.
// - A selection is checked every frame by a scheduler callback keyed
//   "VEXO_TextInput_selectAll", scheduled only while one exists.
namespace portal {

void installTextInputFix();

bool textInputKeyHook(int key, int scancode, int action, int mods);
bool textInputCharHook(unsigned int codePoint);

// Ends any selection without a log line and forgets it (tests).
void resetTextInputFixForTesting();

}  // namespace portal
