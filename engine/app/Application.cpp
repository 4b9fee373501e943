#include "engine/app/Application.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/base/Director.h"
#include "engine/app/GLView.h"
#include "engine/base/Log.h"
#include "engine/network/WebSocket.h"
#include "platform/Locale.h"
#include "platform/UrlOpener.h"

namespace engine {

Application* Application::s_instance = nullptr;

Application::Application() { s_instance = this; }

Application::~Application() {
    if (s_instance == this) s_instance = nullptr;
}

Application* Application::getInstance() { return s_instance; }

int Application::run() {
    if (!applicationDidFinishLaunching()) return 1;
    return runMainLoop();
}

namespace {

// VEXO_FRAME_TIMES=1 (measurements): the frames' own time, the director's loop
// with its swap and without the wait for the next frame, logged when the loop
// ends as a count, mean, 95th percentile and maximum in milliseconds.
void logFrameTimes(std::vector<double> ms) {
    if (ms.empty()) return;
    double sum = 0;
    for (double t : ms) sum += t;
    std::sort(ms.begin(), ms.end());
    const size_t p95 = std::min(ms.size() - 1, ms.size() * 95 / 100);
    log("frame times: %zu frames, mean %.2f ms, p95 %.2f ms, max %.2f ms", ms.size(), sum / static_cast<double>(ms.size()),
        ms[p95], ms.back());
}

}  // namespace

// Frames are paced on a fixed grid of the animation interval: each deadline is the
// previous one plus the interval, so time lost waking up late is not added to every
// frame. A loop that falls more than a frame behind (a long frame, a stop in a
// debugger) starts a new grid from now rather than rushing to catch up.
int Application::runMainLoop() {
    using Clock = std::chrono::steady_clock;
    Director* director = Director::getInstance();
    const char* frameTimes = std::getenv("VEXO_FRAME_TIMES");
    const bool timing = frameTimes && std::string_view(frameTimes) == "1";
    std::vector<double> frameMs;
    Clock::time_point deadline = Clock::now();
    float gridInterval = -1.f;
    while (!director->hasEnded()) {
        const auto frameStart = Clock::now();
        director->mainLoop();
        if (timing)
            frameMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - frameStart).count());

        GLView* view = director->getOpenGLView();
        if (view && view->windowShouldClose() && !director->isEnding()) director->end();
        if (director->hasEnded()) break;

        const float interval = director->getAnimationInterval();
        if (interval <= 0.f) continue;
        const auto step = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(interval));
        const auto now = Clock::now();
        if (interval != gridInterval) {
            gridInterval = interval;
            deadline = frameStart;
        }
        deadline += step;
        if (now > deadline + step) deadline = now;
        else if (now < deadline) std::this_thread::sleep_until(deadline);
    }
    if (timing) logFrameTimes(std::move(frameMs));
    // The director has ended: no socket worker may outlive this into the
    // program's global clean-up (its TLS library is freed there).
    network::WebSocket::stopAll();
    return 0;
}

void Application::setAnimationInterval(float interval) {
    Director::getInstance()->setAnimationInterval(interval);
}

const char* Application::getCurrentLanguageCode() {
    std::strcpy(_languageCode, "en");
    const std::string locale = platform::messagesLocale();
    if (locale.empty()) return _languageCode;

    std::string language = locale.substr(0, locale.find_first_of("_.@"));
    auto isAsciiLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (language.size() != 2 || !isAsciiLetter(language[0]) || !isAsciiLetter(language[1])) {
        return _languageCode;   // "C", "POSIX" and anything unusual
    }
    for (int i = 0; i < 2; ++i) {
        char c = language[static_cast<size_t>(i)];
        _languageCode[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    _languageCode[2] = '\0';
    return _languageCode;
}

LanguageType Application::getCurrentLanguage() {
    static constexpr struct {
        const char* code;
        LanguageType language;
    } kLanguages[] = {
        {"zh", LanguageType::CHINESE},   {"fr", LanguageType::FRENCH},     {"it", LanguageType::ITALIAN},
        {"de", LanguageType::GERMAN},    {"es", LanguageType::SPANISH},    {"nl", LanguageType::DUTCH},
        {"ru", LanguageType::RUSSIAN},   {"ko", LanguageType::KOREAN},     {"ja", LanguageType::JAPANESE},
        {"hu", LanguageType::HUNGARIAN}, {"pt", LanguageType::PORTUGUESE}, {"ar", LanguageType::ARABIC},
        {"nb", LanguageType::NORWEGIAN}, {"no", LanguageType::NORWEGIAN},  {"pl", LanguageType::POLISH},
        {"tr", LanguageType::TURKISH},   {"uk", LanguageType::UKRAINIAN},  {"ro", LanguageType::ROMANIAN},
        {"bg", LanguageType::BULGARIAN},
    };
    const std::string_view code = getCurrentLanguageCode();
    for (const auto& entry : kLanguages) {
        if (code == entry.code) return entry.language;
    }
    return LanguageType::ENGLISH;
}

}  // namespace engine

namespace engine {

namespace {

bool startsWithNoCase(const std::string& text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// A zero byte would cut the address on its way to the browser, opening another.
bool hasControlCharacter(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f) return true;
    }
    return false;
}

}  // namespace

bool Application::openURL(const std::string& url) {
    if (!startsWithNoCase(url, "http://") && !startsWithNoCase(url, "https://")) {
        log("Application: refused to open an address that is not http or https: %s", url.c_str());
        return false;
    }
    if (hasControlCharacter(url)) {
        log("Application: refused to open an address holding control characters");
        return false;
    }
    if (platform::openUrl(url)) return true;
    log("Application: could not open %s", url.c_str());
    return false;
}

}  // namespace engine
