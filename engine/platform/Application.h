#pragma once
// The application: its constructor makes it the singleton; run() drives the
// director's loop until the director ends.
namespace engine {

class Application {
public:
    Application();
    virtual ~Application();
    static Application* getInstance();

    virtual bool applicationDidFinishLaunching() = 0;
    virtual void applicationDidEnterBackground() {}
    virtual void applicationWillEnterForeground() {}

    // Calls applicationDidFinishLaunching (returns 1 when it answers false), then runs
    // frames, sleeping to the animation interval, until the director has ended.
    // Returns 0 after a normal end.
    int run();
    void setAnimationInterval(float interval);
    // Two-letter language code from LC_ALL, LC_MESSAGES or LANG ("en" when unset or "C").
    const char* getCurrentLanguageCode();

private:
    static Application* s_instance;
    char _languageCode[8] = {0};
};

}  // namespace engine
