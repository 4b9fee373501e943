#pragma once
// The silent re-login without holding the frames: the saved token is read on the
// main thread, the form POST runs on a worker of its own, and its reply is turned
// into the answer (saving a rotated token first, as loginSilentAnswer does) on the
// main thread, through the scheduler's queue.
//
// Contract:
// - loginSilentAsync(tokenKey, answer): without a saved token, answer("faild")
//   within the call and no request. Otherwise returns at once; `answer` runs later
//   on the main thread, once, with what loginSilentAnswer would have answered.
//   Frames go on while the host takes its time (at most the POST's time-out).
// - stopSilentLogins(): ends every transfer under way (within about a second)
//   and joins its worker; their answers are dropped. For the program's end,
//   before the HTTP client's global clean-up; also run at exit.
// - Main thread only (the workers touch neither Lua nor the scene).
#include <functional>
#include <string>

namespace portal {

void loginSilentAsync(const std::string& tokenKey, std::function<void(const std::string& answer)> answer);
void stopSilentLogins();

}  // namespace portal
