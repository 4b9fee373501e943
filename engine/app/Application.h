#pragma once
// The application: its constructor makes it the singleton; run() drives the
// director's loop until the director ends.
#include <string>

namespace engine {

// Numbered as the engine's scripts know them.
enum class LanguageType {
    ENGLISH = 0, CHINESE, FRENCH, ITALIAN, GERMAN, SPANISH, DUTCH, RUSSIAN, KOREAN, JAPANESE,
    HUNGARIAN, PORTUGUESE, ARABIC, NORWEGIAN, POLISH, TURKISH, UKRAINIAN, ROMANIAN, BULGARIAN
};

class Application {
public:
    enum class Platform {
        OS_WINDOWS = 0, OS_LINUX, OS_MAC, OS_ANDROID, OS_IPHONE, OS_IPAD, OS_BLACKBERRY, OS_NACL,
        OS_EMSCRIPTEN, OS_TIZEN, OS_WINRT, OS_WP8
    };

    Application();
    virtual ~Application();
    static Application* getInstance();

    virtual bool applicationDidFinishLaunching() = 0;
    virtual void applicationDidEnterBackground() {}
    virtual void applicationWillEnterForeground() {}

    // Calls applicationDidFinishLaunching (returns 1 when it answers false), then runs
    // frames until the director has ended: each frame is one director->mainLoop(),
    // after which the thread sleeps for what is left of the animation interval
    // (measured from the frame's start on the steady clock; no sleep when the frame
    // took longer). A view whose windowShouldClose() turns true ends the director.
    // Once it has ended, every WebSocket worker is stopped and joined. Returns 0
    // after a normal end.
    int run();
    // The frames of run() alone, without applicationDidFinishLaunching.
    int runMainLoop();
    void setAnimationInterval(float interval);   // the director's
    // Two-letter language code from the first non-empty of LC_ALL, LC_MESSAGES and
    // LANG: the part before '_', '.' or '@', lower-cased ("de_DE.UTF-8" gives "de").
    // "en" when unset, "C", "POSIX", or when that part is not two ASCII letters.
    const char* getCurrentLanguageCode();
    // The language of that code; ENGLISH for a language the list does not name.
    LanguageType getCurrentLanguage();
    // This build's platform: always OS_LINUX.
    Platform getTargetPlatform() const { return Platform::OS_LINUX; }
    // Opens a web address in the desktop's browser (platform::openUrl). Only
    // "http://" and "https://" addresses (scheme in any case) are opened; any other
    // is refused and logged, as is one holding a control character (a zero byte
    // would cut it short). True when the browser was started.
    bool openURL(const std::string& url);

private:
    static Application* s_instance;
    char _languageCode[8] = {0};
};

}  // namespace engine
