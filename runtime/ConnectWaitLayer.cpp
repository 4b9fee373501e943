#include "runtime/ConnectWaitLayer.h"

#include <cmath>
#include <cstdio>

#include "engine/actions/ActionInterval.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Log.h"
#include "engine/base/Version.h"
#include "engine/image/Image.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"
#include "engine/label/Label.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"
#include "host/config/ConfigFileReader.h"
#include "runtime/ConsoleCommand.h"
#include "runtime/FileServer.h"
#include "runtime/RuntimeEngine.h"
#include "runtime/VisibleRect.h"
#include "runtime/WaitScreenArt.h"

namespace runtime {

namespace {

engine::Image* decode(const EmbeddedImage& art) {
    auto* image = new engine::Image;
    if (!image->initWithImageData(art.data, art.size)) {
        engine::log("ConnectWaitLayer: a built-in picture could not be decoded");
    }
    return image;
}

// A sprite of the image's texture, cached under `key`; an empty sprite when the
// picture is unusable.
engine::Sprite* spriteOf(engine::Image* image, const std::string& key) {
    engine::TextureCache* cache = engine::TextureCache::getInstance();
    engine::Texture2D* texture = cache->getTextureForKey(key);
    if (!texture) texture = cache->addImage(image, key);
    engine::Sprite* sprite = texture ? engine::Sprite::createWithTexture(texture) : nullptr;
    return sprite ? sprite : engine::Sprite::create();
}

}  // namespace

ConnectWaitLayer* ConnectWaitLayer::create() {
    auto* layer = new ConnectWaitLayer;
    layer->init();
    layer->autorelease();
    return layer;
}

bool ConnectWaitLayer::init() {
    if (!engine::Layer::init()) return false;
    const bool landscape = host::ConfigFileReader::getInstance()->isLandscape();
    _backgroundImage = decode(landscape ? kWaitBackgroundLandscape : kWaitBackgroundPortrait);
    if (engine::GLView* view = engine::Director::getInstance()->getOpenGLView()) {
        if (landscape) {
            view->setDesignResolutionSize(1280, 800, engine::ResolutionPolicy::EXACT_FIT);
        } else {
            view->setDesignResolutionSize(800, 1280, engine::ResolutionPolicy::FIXED_HEIGHT);
        }
    }
    _playImage = decode(kWaitPlayButton);
    _shineImage = decode(kWaitPlayShine);

    _background = spriteOf(_backgroundImage, "play_background");
    _background->setAnchorPoint(engine::Vec2(0.5f, 0.5f));
    _background->setPosition(VisibleRect::center());
    addChild(_background, 9000);

    const engine::Vec2 buttonPosition = landscape ? engine::Vec2(902, 400) : engine::Vec2(400, 500);
    _play = spriteOf(_playImage, "play_enable");
    _play->setPosition(buttonPosition);
    addChild(_play, 9999);

    _shine = spriteOf(_shineImage, "shine");
    _shine->setOpacity(0);
    _shine->setPosition(buttonPosition);
    _shine->runAction(engine::RepeatForever::create(engine::Sequence::create(
        {engine::DelayTime::create(0.4f), engine::FadeTo::create(0.8f, 200), engine::FadeTo::create(0.8f, 255),
         engine::FadeTo::create(0.8f, 200), engine::FadeTo::create(0.8f, 0), engine::DelayTime::create(0.4f)})));
    addChild(_shine, 9998);

    _address = engine::Label::createWithSystemFont(addressText(), "", 72);
    _address->setAnchorPoint(engine::Vec2(0, 0));
    const engine::Vec2 leftTop = VisibleRect::leftTop();
    _address->setPosition(leftTop.x + 72, leftTop.y - 200);
    addChild(_address, 9001);

    _version = engine::Label::createWithSystemFont(versionText(), "", 24);
    _version->setAnchorPoint(engine::Vec2(0, 0));
    _version->setHorizontalAlignment(engine::TextHAlignment::LEFT);
    const engine::Vec2 rightBottom = VisibleRect::rightBottom();
    const float width = std::trunc(_version->getBoundingBox().size.width);
    _version->setPosition(rightBottom.x - width, rightBottom.y);
    addChild(_version, 9002);

    _status = engine::Label::createWithSystemFont(kWaitingText, "", 36);
    _status->setAnchorPoint(engine::Vec2(0, 0));
    _status->setHorizontalAlignment(engine::TextHAlignment::LEFT);
    _status->setPosition(leftTop.x + 72, _address->getPosition().y - 72);
    addChild(_status, 9003);

    auto* listener = engine::EventListenerTouchOneByOne::create();
    listener->onTouchBegan = [this](engine::Touch* touch, engine::Event*) {
        if (!insidePlayButton(touch->getLocation())) return false;
        _play->stopAllActions();
        _play->runAction(engine::Sequence::create(
            {engine::ScaleBy::create(0.05f, 0.9f), engine::ScaleTo::create(0.125f, 1.0f)}));
        return true;
    };
    listener->onTouchEnded = [this](engine::Touch* touch, engine::Event*) {
        if (insidePlayButton(touch->getLocation())) onPlayPressed();
    };
    engine::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, _play);

    scheduleUpdate();
    return true;
}

ConnectWaitLayer::~ConnectWaitLayer() {
    for (engine::Image* image : {_backgroundImage, _playImage, _shineImage}) {
        if (image) image->release();
    }
}

bool ConnectWaitLayer::insidePlayButton(const engine::Vec2& location) const {
    const engine::Vec2 local = _play->convertToNodeSpace(location);
    const engine::Size& size = _play->getContentSize();
    return local.x >= 0 && local.y >= 0 && local.x <= size.width && local.y <= size.height;
}

std::string ConnectWaitLayer::addressText() {
    std::string ip = getLocalIP();
    return "IP: " + (ip.empty() ? std::string("0.0.0.0") : ip);
}

std::string ConnectWaitLayer::versionText() {
    char text[256];
    std::snprintf(text, sizeof text, "runtimeVersion:%s \nengineVersion:%s", RuntimeEngine::getRuntimeVersion(),
                  engine::engineVersion());
    return text;
}

const std::string& ConnectWaitLayer::getStatusText() const { return _status->getString(); }

void ConnectWaitLayer::update(float) {
    std::string name = FileServer::getShareInstance()->getTransferFileName();
    if (!name.empty() && name != _status->getString()) _status->setString(name);
}

void ConnectWaitLayer::onPlayPressed() {
    RuntimeEngine* engine = RuntimeEngine::getInstance();
    engine->setupRuntime();
    engine->startScript("");
}

}  // namespace runtime
