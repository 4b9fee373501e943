#pragma once
// The client's engine application: the engine's main loop calls it when the game
// has launched, is hidden and is shown again.
#include "engine/app/Application.h"

namespace host {

class AppDelegate : public engine::Application {
public:
    AppDelegate() = default;
    ~AppDelegate() override = default;

    // Sets the frame interval to 1/60 s.
    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override {}
    void applicationWillEnterForeground() override {}
};

}  // namespace host
