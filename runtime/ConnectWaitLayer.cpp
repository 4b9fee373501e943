#include "runtime/ConnectWaitLayer.h"

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "host/config/ConfigFileReader.h"
#include "runtime/ConsoleCommand.h"
#include "runtime/FileServer.h"
#include "runtime/RuntimeEngine.h"

namespace runtime {

ConnectWaitLayer* ConnectWaitLayer::create() {
    auto* layer = new ConnectWaitLayer;
    layer->init();
    layer->autorelease();
    return layer;
}

bool ConnectWaitLayer::init() {
    // The screen's art is laid out for 1280x800 (landscape) or 800x1280 (portrait).
    if (engine::GLView* view = engine::Director::getInstance()->getOpenGLView()) {
        if (host::ConfigFileReader::getInstance()->isLandscape()) {
            view->setDesignResolutionSize(1280, 800, engine::ResolutionPolicy::EXACT_FIT);
        } else {
            view->setDesignResolutionSize(800, 1280, engine::ResolutionPolicy::FIXED_HEIGHT);
        }
    }
    engine::Director::getInstance()->getScheduler()->scheduleUpdate(this, 0, false,
                                                                     [this](float dt) { update(dt); });
    return true;
}

ConnectWaitLayer::~ConnectWaitLayer() { engine::Director::getInstance()->getScheduler()->unscheduleUpdate(this); }

std::string ConnectWaitLayer::addressText() {
    std::string ip = getLocalIP();
    return "IP: " + (ip.empty() ? std::string("0.0.0.0") : ip);
}

void ConnectWaitLayer::update(float) {
    std::string name = FileServer::getShareInstance()->getTransferFileName();
    if (!name.empty()) _statusText = std::move(name);
}

void ConnectWaitLayer::onPlayPressed() {
    RuntimeEngine* engine = RuntimeEngine::getInstance();
    engine->setupRuntime();
    engine->startScript("");
}

}  // namespace runtime
