#pragma once
// The pay/support web window: one owned pop-up over the game window with a
// 52-pixel header of three buttons ("Về game", "Quay lại", "Trang chủ") above a
// web view of the user portal. Scripts and the sidebar open it on a portal page;
// the sign-in flows open it with a redirect capture that catches the portal's final
// redirect before it loads. Closing only hides it; the web view stays for the next
// opening. Main thread only; the web view's events arrive through the message loop.
//
// Contract:
// - openPayWebView(url, target): false for an empty address, when no web-view
//   runtime is available (looked for once per process), when the window cannot be
//   made, or when the runtime refuses at once (the window is hidden again); true
//   otherwise, also while the web view is still being created (such an open
//   changes nothing). The target ("__support", "__shop" or a package id) is
//   opened once, on the first portal page reached after the sign-in that is not a
//   sign-in ("login.php") or package ("buypackage") page, and never while a
//   capture is armed.
// - openLoginCapture(url, prefix, callback): arms the capture and opens the
//   window on `url`. The first navigation to an address that begins with `prefix`
//   (exact, case-sensitive) is cancelled before it loads, the capture disarmed, the
//   window's hiding posted and `callback` given the full address; an open made
//   before the hiding is handled (a sign-in the answer starts) keeps the window,
//   so the posted hiding never reaches a newer capture. Every armed
//   capture is answered exactly once: hiding the window (close box, Escape, "Về
//   game"), the window going away, or a newer capture answers it with "". A failed
//   open disarms it without an answer and returns false.
// - The view loads web pages only (isWebAddress): a navigation to any other
//   address is cancelled with a log line, and a pop-up (window.open, a link or
//   form with a target) loads in the same view only for an http or https address,
//   else it is dropped with a log line.
// - Links to Telegram are cancelled in the view; one the user followed (a click
//   or key, not the page's script) is handed to the external opener, which is
//   started without waiting for it, at most once a second; others are dropped
//   with a log line.
// - The window's placement is saved at the end of each move or resize and restored
//   at its next creation when valid.
#include <functional>
#include <memory>
#include <string>

#include "platform/WebView.h"
#include "platform/Window.h"

namespace portal {

bool openPayWebView(const std::string& url, const std::string& target);

using CaptureCallback = std::function<void(const std::string& address)>;
bool openLoginCapture(const std::string& url, const std::string& prefix, CaptureCallback callback);

// Disarms and answers a capture, stops and blanks the view, hides the window and
// gives the game window the foreground.
void payWindowHide(platform::HWND window);

// Control ids of the header buttons.
inline constexpr int kPayButtonBack = 1001;     // "Về game"
inline constexpr int kPayButtonHistory = 1002;  // "Quay lại"
inline constexpr int kPayButtonHome = 1003;     // "Trang chủ"
inline constexpr int kPayHeaderHeight = 52;

inline constexpr const char* kPayTitle = "Nạp thẻ - Mộc Hà Lục";
inline constexpr const char* kSupportTitle = "Hỗ trợ - Kim Sa Lục";

// Inspection for tests and the painter.
platform::HWND payWindow();
platform::HWND payWindowButton(int id);   // 0 for an unknown id or no window
std::shared_ptr<platform::WebViewController> payWindowController();
bool payCaptureArmed();
bool payWebViewCreating();
// Forgets everything, the loader look-up included (tests).
void resetPayWebViewForTesting();

}  // namespace portal
