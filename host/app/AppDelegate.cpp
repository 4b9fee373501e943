#include "host/app/AppDelegate.h"

#include "engine/base/Director.h"

namespace host {

bool AppDelegate::applicationDidFinishLaunching() {
    engine::Director::getInstance()->setAnimationInterval(1.0f / 60);
    return true;
}

}  // namespace host
