#pragma once
// Text on the clipboard, for the scripts' bridge and the text-input fix.
//
// Contract:
// - With a display (platform::nativeDisplayAvailable) both read and write the
//   desktop's CLIPBOARD selection, which the program serves while it runs; the
//   text read is cut at its first zero and at 65,536 UTF-16 units as below. The
//   rest of this contract is the window model's clipboard, used otherwise.
// - Opening the clipboard is tried up to 5 times, 15 ms apart; after the fifth
//   failure the operation fails.
// - readClipboardText: fails at once when no Unicode text is offered; opens the
//   clipboard as the game window (with no owner when there is none); the text
//   ends at its first zero unit and holds at most 65,536 UTF-16 units and no more
//   than the block holds (a block without a terminating zero is never read past).
// - getClipText: the text read, as UTF-8; false and "" when the read fails.
// - setClipText: fails without a game window; empties the clipboard and hands
//   it the text (UTF-16 with its terminating zero); the block is freed when the
//   hand-over fails. An empty text leaves an empty text on the clipboard.
//   Invalid UTF-8 arrives as U+FFFD.
// Main thread.
#include <string>

namespace portal {

bool readClipboardText(std::u16string* text);
bool getClipText(std::string* utf8);
bool setClipText(const std::string& utf8);

}  // namespace portal
