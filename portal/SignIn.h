#pragma once
// The sign-in flows the native bridge starts. Each answers its callback once with
// one string: "success|" + user id + "|" + sign + "|" + timestamp + "|" + user id,
// "token|" + identity token, "ticket|" + bind ticket, or "faild" for every failure.
//
// Answers are "|"-joined, so a user id, sign, timestamp, token or ticket holding "|"
// or a control character (below 0x20, or 0x7f) fails the flow: "faild", and nothing
// is saved. So does a refresh token ("rt") holding a control character; it never
// joins an answer, so "|" is allowed in it.
//
// The *Answer functions compute a flow's answer (saving what it saves); the bridge
// hands the answer to the script. Main thread only.
#include <functional>
#include <string>

#include "portal/HttpPostForm.h"

namespace portal {

// Where the flows go: the build configuration's values until a test changes them.
struct SignInEndpoints {
    std::string portalRoot;       // the user portal, ends with "/"
    std::string apiHost;          // scheme://host[:port] of the silent re-login
    std::string googleAuthHost;   // scheme://host[:port] of Google's authorization page
    std::string googleClientId;
};
SignInEndpoints& signInEndpoints();

// Web sign-in, identity token and bind: `open` is the redirect capture of the pay
// window (address, prefix, capture callback) -> false when it cannot open. On
// false the answer is "faild" at once; otherwise the capture's address (empty
// when the window was closed first) gives the answer later.
using Answer = std::function<void(const std::string& text)>;
using CaptureOpener =
    std::function<bool(const std::string& url, const std::string& prefix, std::function<void(const std::string&)>)>;

void loginWithWebView(const CaptureOpener& open, const std::string& provider, const std::string& url,
                      const std::string& prefix, const std::string& tokenKey, Answer answer);
void getGoogleIdToken(const CaptureOpener& open, Answer answer);
void bindTelegram(const CaptureOpener& open, Answer answer);

// The captured address to the answer. A successful sign-in saves "method" :=
// provider and, when the address carries a non-empty "rt", tokenKey := rt.
std::string loginRedirectAnswer(const std::string& provider, const std::string& tokenKey, const std::string& address);
std::string googleIdTokenAnswer(const std::string& address);
std::string bindTelegramAnswer(const std::string& address);

// Silent re-login with the refresh token saved under tokenKey: POSTs
// "rt=<escaped token>" to the API host's "/app_relogin.php" (no token: "faild"
// without a request). Code "1000" with a user id and a sign succeeds; the reply's
// non-empty "rt" of a code-1000 reply is saved under tokenKey even when the user
// id or sign is missing (the host may have rotated the token). A failed transfer
// or another status answers "faild".
std::string loginSilentAnswer(const std::string& tokenKey);
// Its two halves, for a caller that sends the request elsewhere: the request's
// address and body (false, "faild" at once, when no token is saved), and the
// answer with its effects (the saved token) from the reply.
bool loginSilentRequest(const std::string& tokenKey, std::string* url, std::string* body);
std::string loginSilentReply(const std::string& tokenKey, const FormReply& reply);

// The Google identity-token page and the capture prefix of its redirect.
std::string googleAuthorizationUrl();
std::string googleCallbackPrefix();
// 16 lower-case hexadecimal digits: the millisecond tick count and a process
// counter (the first nonce carries 1), "%08x%08x".
std::string makeNonce();

}  // namespace portal
