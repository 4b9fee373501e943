#pragma once
// Opening an address with the desktop's handler (the system browser for web
// addresses). One opener for the whole program.
//
// Contract:
// - openUrl runs "xdg-open" (found on PATH) with the address as its one argument:
//   an argument vector, never a shell, so nothing in the address is interpreted.
//   It answers false when the address is empty or begins with "-" (it would be
//   read as an option), when the program cannot be started, or when it ends with
//   a non-zero status within one second. A handler still running after that
//   second counts as opened; it is reaped in the background when it ends.
// - startUrl starts the same handler and returns at once: true when it was
//   started (same refusals as above); it never waits for the handler, which is
//   reaped in the background. For callers on the frame's thread.
// - Which schemes may be opened is the caller's decision.
// - setUrlOpenerForTesting installs a function that receives every address (of
//   openUrl and startUrl) in place of the real opener and gives the answer; an empty function restores
//   the real one. Any thread may call any of these.
#include <functional>
#include <string>

namespace platform {

bool openUrl(const std::string& url);
bool startUrl(const std::string& url);

using UrlOpenerFunction = std::function<bool(const std::string& url)>;
void setUrlOpenerForTesting(UrlOpenerFunction opener);

}  // namespace platform
