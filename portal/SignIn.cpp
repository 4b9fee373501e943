#include "portal/SignIn.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "portal/HttpPostForm.h"
#include "portal/SavedLogin.h"
#include "portal/SignInConfig.h"
#include "portal/SignInValues.h"

namespace portal {
namespace {

const std::string kFailed = "faild";

bool hasControl(const std::string& field) {
    for (const unsigned char c : field)
        if (c < 0x20 || c == 0x7f) return true;
    return false;
}

// A field that can stand between "|" separators.
bool isClean(const std::string& field) { return !hasControl(field) && field.find('|') == std::string::npos; }

std::string successAnswer(const std::string& userId, const std::string& sign, const std::string& timestamp) {
    return "success|" + userId + "|" + sign + "|" + timestamp + "|" + userId;
}

std::string escaped(const std::string& text) {
    std::unique_ptr<char, decltype(&curl_free)> out(
        curl_easy_escape(nullptr, text.c_str(), static_cast<int>(text.size())), curl_free);
    return out ? std::string(out.get()) : std::string();
}

void runCapture(const CaptureOpener& open, const std::string& url, const std::string& prefix,
                std::function<std::string(const std::string&)> toAnswer, Answer answer) {
    auto onCapture = [toAnswer = std::move(toAnswer), answer](const std::string& address) {
        answer(toAnswer(address));
    };
    if (!open || !open(url, prefix, onCapture)) answer(kFailed);
}

}  // namespace

SignInEndpoints& signInEndpoints() {
    static SignInEndpoints endpoints = [] {
        SignInEndpoints e{VEXO_PORTAL_ROOT, VEXO_PORTAL_API_HOST, VEXO_GOOGLE_AUTH_HOST, VEXO_GOOGLE_CLIENT_ID};
        return e;
    }();
    return endpoints;
}

std::string loginRedirectAnswer(const std::string& provider, const std::string& tokenKey, const std::string& address) {
    const std::string code = urlQueryValue(address, "code");
    const std::string userId = urlQueryValue(address, "userid");
    const std::string sign = urlQueryValue(address, "sign");
    const std::string timestamp = urlQueryValue(address, "timestamp");
    const std::string rt = urlQueryValue(address, "rt");
    if (code != "1000" || userId.empty() || sign.empty() || !isClean(userId) || !isClean(sign) ||
        !isClean(timestamp) || hasControl(rt))
        return kFailed;
    savedLoginSet("method", provider);
    if (!rt.empty()) savedLoginSet(tokenKey, rt);
    return successAnswer(userId, sign, timestamp);
}

std::string googleIdTokenAnswer(const std::string& address) {
    const std::string token = urlFragmentValue(address, "id_token");
    return !token.empty() && isClean(token) ? "token|" + token : kFailed;
}

std::string bindTelegramAnswer(const std::string& address) {
    const std::string ticket = urlParamValue(address, "ticket");
    return urlParamValue(address, "code") == "1000" && !ticket.empty() && isClean(ticket) ? "ticket|" + ticket
                                                                                          : kFailed;
}

void loginWithWebView(const CaptureOpener& open, const std::string& provider, const std::string& url,
                      const std::string& prefix, const std::string& tokenKey, Answer answer) {
    runCapture(
        open, url, prefix,
        [provider, tokenKey](const std::string& address) { return loginRedirectAnswer(provider, tokenKey, address); },
        std::move(answer));
}

void getGoogleIdToken(const CaptureOpener& open, Answer answer) {
    runCapture(open, googleAuthorizationUrl(), googleCallbackPrefix(), googleIdTokenAnswer, std::move(answer));
}

void bindTelegram(const CaptureOpener& open, Answer answer) {
    runCapture(open, signInEndpoints().portalRoot + "tglogin.php?from=bindsocial", "vexo://tgbind",
               bindTelegramAnswer, std::move(answer));
}

bool loginSilentRequest(const std::string& tokenKey, std::string* url, std::string* body) {
    const std::string token = savedLoginGet(tokenKey);
    if (token.empty()) return false;
    *url = signInEndpoints().apiHost + "/app_relogin.php";
    *body = "rt=" + escaped(token);
    return true;
}

std::string loginSilentAnswer(const std::string& tokenKey) {
    std::string url, body;
    if (!loginSilentRequest(tokenKey, &url, &body)) return kFailed;
    return loginSilentReply(tokenKey, httpPostForm(url, body));
}

std::string loginSilentReply(const std::string& tokenKey, const FormReply& reply) {
    if (!reply.ok || jsonFieldValue(reply.text, "code") != "1000") return kFailed;
    const std::string userId = jsonFieldValue(reply.text, "userid");
    const std::string sign = jsonFieldValue(reply.text, "sign");
    const std::string timestamp = jsonFieldValue(reply.text, "timestamp");
    const std::string rt = jsonFieldValue(reply.text, "rt");
    if (!isClean(userId) || !isClean(sign) || !isClean(timestamp) || hasControl(rt)) return kFailed;
    if (!rt.empty()) savedLoginSet(tokenKey, rt);
    if (userId.empty() || sign.empty()) return kFailed;
    return successAnswer(userId, sign, timestamp);
}

std::string googleCallbackPrefix() { return signInEndpoints().portalRoot + "gcallback.php#"; }

std::string googleAuthorizationUrl() {
    const SignInEndpoints& e = signInEndpoints();
    return e.googleAuthHost + "/o/oauth2/v2/auth?client_id=" + e.googleClientId +
           "&response_type=id_token&redirect_uri=" + escaped(e.portalRoot + "gcallback.php") +
           "&scope=openid%20email&prompt=select_account&nonce=" + makeNonce();
}

std::string makeNonce() {
    static unsigned counter = 0;
    ++counter;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    char text[17];
    std::snprintf(text, sizeof text, "%08x%08x", static_cast<unsigned>(ms), counter);
    return text;
}

}  // namespace portal
