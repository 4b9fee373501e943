#pragma once
// Reading another X client's selection (the CLIPBOARD) without trusting it to
// answer: a connection of its own asks the owner for the text and waits a bounded
// time, so an owner that never answers costs one time-out, not the program.
//
// Contract:
// - readX11Selection(display, selection, timeout, text) asks the owner of
//   `selection` ("CLIPBOARD") for UTF-8 text (plain text when it has no UTF-8) and
//   waits at most `timeout` in all. Answers:
//     Text     *text holds the owner's text (possibly ""), its first 4 MiB;
//     NoOwner  nobody owns the selection;
//     Refused  the owner has no text, or answered in a form not read here
//              (incremental transfers of very large texts);
//     TimedOut no answer within the time-out (logged);
//     NoDisplay the display cannot be opened.
//   *text is "" for every answer but Text.
// - x11SelectionOwner gives the owner window of `selection` (0: none or no
//   display), so that a caller can tell its own ownership apart and answer it
//   itself: a program asking its own connection would wait for itself.
// - Any thread; every call opens and closes its own connection to `display`
//   ("" for $DISPLAY).
#include <chrono>
#include <string>

namespace platform {

enum class SelectionRead { Text, NoOwner, Refused, TimedOut, NoDisplay };

SelectionRead readX11Selection(const std::string& display, const std::string& selection,
                               std::chrono::milliseconds timeout, std::string* text);
unsigned long x11SelectionOwner(const std::string& display, const std::string& selection);

}  // namespace platform
