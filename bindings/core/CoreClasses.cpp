// The "cc" table of the core module: the engine's base classes, its scene graph,
// director, scheduler, files, textures, views, events and actions.
#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/core/CoreClassRows.h"
#include "bindings/core/LuaCoreManual.h"
#include "bindings/core/LuaLabels.h"
#include "bindings/core/LuaMathGlobals.h"
#include "bindings/core/LuaObjectLists.h"
#include "bindings/core/LuaScriptHandlers.h"

#include <algorithm>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/actions/ActionInterval.h"
#include "engine/actions/ActionManager.h"
#include "engine/app/Application.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/Event.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/EventListener.h"
#include "engine/input/EventTouch.h"
#include "engine/input/InputEvents.h"
#include "engine/base/Scheduler.h"
#include "engine/base/UserDefault.h"
#include "engine/console/Console.h"
#include "engine/files/FileUtils.h"
#include "engine/image/Image.h"
#include "engine/input/Touch.h"
#include "engine/label/Label.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/AtlasNode.h"
#include "engine/scene/BlendNodes.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/scene/Component.h"
#include "engine/scene/DrawNode.h"
#include "engine/scene/Layer.h"
#include "engine/scene/MenuItem.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace bindings {

namespace {

using namespace engine;

// Opacity of nodes (the geometry forms are hand-written: LuaNodeMethods.h).
void setOpacity(Node* self, int32_t opacity) { self->setOpacity(static_cast<uint8_t>(opacity)); }
int32_t getOpacity(Node* self) { return self->getOpacity(); }

const Method kRefMethods[] = {
    {"getReferenceCount", {method<&Ref::getReferenceCount>()}},
};

const Method kNodeMethods[] = {
    {"create", {classFunction<&Node::create>()}},
    {"addChild", {method<&Node::addChild, 0, Node::INVALID_TAG>()}},
    {"removeFromParent", {method<&Node::removeFromParent>()}},
    {"getParent", {method<&Node::getParent>()}},
    {"getChildByTag", {method<&Node::getChildByTag>()}},
    {"getChildByName", {method<&Node::getChildByName>()}},
    {"getChildrenCount", {method<&Node::getChildrenCount>()}},
    {"setPosition", {method<overload<void(const Vec2&)>(&Node::setPosition)>(),
                     method<overload<void(float, float)>(&Node::setPosition)>()}},
    {"setTag", {method<&Node::setTag>()}},
    {"getTag", {method<&Node::getTag>()}},
    {"getLocalZOrder", {method<&Node::getLocalZOrder>()}},
    {"setName", {method<&Node::setName>()}},
    {"getName", {method<&Node::getName>()}},
    {"setVisible", {method<&Node::setVisible>()}},
    {"isVisible", {method<&Node::isVisible>()}},
    {"setScale", {method<overload<void(float)>(&Node::setScale)>(),
                  method<overload<void(float, float)>(&Node::setScale)>()}},
    {"getScale", {method<&Node::getScale>()}},
    {"setRotation", {method<&Node::setRotation>()}},
    {"getRotation", {method<&Node::getRotation>()}},
    {"addComponent", {method<&Node::addComponent>()}},
    {"getComponent", {method<&Node::getComponent>()}},
    {"removeComponent", {method<overload<bool(const std::string&)>(&Node::removeComponent)>(),
                         method<overload<bool(Component*)>(&Node::removeComponent)>()}},
    {"removeAllComponents", {method<&Node::removeAllComponents>()}},
    {"setSkewX", {method<&Node::setSkewX>()}},
    {"setSkewY", {method<&Node::setSkewY>()}},
    {"getSkewX", {method<&Node::getSkewX>()}},
    {"getSkewY", {method<&Node::getSkewY>()}},
    {"setPosition3D", {method<&Node::setPosition3D>()}},
    {"getPosition3D", {method<&Node::getPosition3D>()}},
    {"setPositionZ", {method<&Node::setPositionZ>()}},
    {"getPositionZ", {method<&Node::getPositionZ>()}},
    {"setScaleZ", {method<&Node::setScaleZ>()}},
    {"getScaleZ", {method<&Node::getScaleZ>()}},
    {"setRotation3D", {method<&Node::setRotation3D>()}},
    {"getRotation3D", {method<&Node::getRotation3D>()}},
    {"getAnchorPoint", {method<&Node::getAnchorPoint>()}},
    {"getContentSize", {method<&Node::getContentSize>()}},
    {"setColor", {method<&Node::setColor>()}},
    {"getColor", {method<&Node::getColor>()}},
    {"convertToWorldSpace", {method<&Node::convertToWorldSpace>()}},
    {"convertToNodeSpace", {method<&Node::convertToNodeSpace>()}},
    {"setOpacity", {method<&setOpacity>()}},
    {"getOpacity", {method<&getOpacity>()}},
    {"runAction", {method<&Node::runAction>()}},
    {"stopAllActions", {method<&Node::stopAllActions>()}},
};

const Method kLayerMethods[] = {
    {"create", {classFunction<&Layer::create>()}},
};

LayerColor* createLayerColor(const Color4B& color) { return LayerColor::create(color); }

const Method kLayerColorMethods[] = {
    {"create", {classFunction<static_cast<LayerColor* (*)()>(&LayerColor::create)>(), classFunction<&createLayerColor>(),
                classFunction<static_cast<LayerColor* (*)(const Color4B&, float, float)>(&LayerColor::create)>()}},
    {"setBlendFunc", {methodOf<LayerColor, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<LayerColor, &BlendProtocol::getBlendFunc>()}},
};

LayerGradient* createLayerGradient2(const Color4B& start, const Color4B& end) { return LayerGradient::create(start, end); }
void setStartOpacity(LayerGradient* self, int32_t opacity) { self->setStartOpacity(static_cast<uint8_t>(opacity)); }
int32_t getStartOpacity(LayerGradient* self) { return self->getStartOpacity(); }
void setEndOpacity(LayerGradient* self, int32_t opacity) { self->setEndOpacity(static_cast<uint8_t>(opacity)); }
int32_t getEndOpacity(LayerGradient* self) { return self->getEndOpacity(); }

const Method kLayerGradientMethods[] = {
    {"create", {classFunction<static_cast<LayerGradient* (*)()>(&LayerGradient::create)>(),
                classFunction<&createLayerGradient2>(),
                classFunction<static_cast<LayerGradient* (*)(const Color4B&, const Color4B&, const Vec2&)>(
                    &LayerGradient::create)>()}},
    {"setStartColor", {method<&LayerGradient::setStartColor>()}},
    {"getStartColor", {method<&LayerGradient::getStartColor>()}},
    {"setEndColor", {method<&LayerGradient::setEndColor>()}},
    {"getEndColor", {method<&LayerGradient::getEndColor>()}},
    {"setStartOpacity", {method<&setStartOpacity>()}},
    {"getStartOpacity", {method<&getStartOpacity>()}},
    {"setEndOpacity", {method<&setEndOpacity>()}},
    {"getEndOpacity", {method<&getEndOpacity>()}},
    {"setVector", {method<&LayerGradient::setVector>()}},
    {"getVector", {method<&LayerGradient::getVector>()}},
    {"setCompressedInterpolation", {method<&LayerGradient::setCompressedInterpolation>()}},
    {"isCompressedInterpolation", {method<&LayerGradient::isCompressedInterpolation>()}},
};

Sprite* createSprite(const std::string& file) { return Sprite::create(file); }
Sprite* createSpriteWithTexture(Texture2D* texture) { return Sprite::createWithTexture(texture); }

const Method kSpriteMethods[] = {
    {"create", {classFunction<static_cast<Sprite* (*)()>(&Sprite::create)>(), classFunction<&createSprite>()}},
    {"createWithTexture", {classFunction<&createSpriteWithTexture>()}},
    {"getTexture", {method<&Sprite::getTexture>()}},
    {"createWithSpriteFrame", {classFunction<&Sprite::createWithSpriteFrame>()}},
    {"createWithSpriteFrameName", {classFunction<&Sprite::createWithSpriteFrameName>()}},
    {"setSpriteFrame", {method<overload<void(SpriteFrame*)>(&Sprite::setSpriteFrame)>(),
                        method<overload<void(const std::string&)>(&Sprite::setSpriteFrame)>()}},
    {"getSpriteFrame", {method<&Sprite::getSpriteFrame>()}},
    {"isFrameDisplayed", {method<&Sprite::isFrameDisplayed>()}},
    {"setFlippedX", {method<&Sprite::setFlippedX>()}},
    {"setFlippedY", {method<&Sprite::setFlippedY>()}},
    {"isFlippedX", {method<&Sprite::isFlippedX>()}},
    {"isFlippedY", {method<&Sprite::isFlippedY>()}},
    {"setBlendFunc", {methodOf<Sprite, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<Sprite, &BlendProtocol::getBlendFunc>()}},
};

Label* createLabelWithSystemFont(const std::string& text, const std::string& font, float size) {
    return Label::createWithSystemFont(text, font, size);
}
Label* createLabelWithSystemFontInBox(const std::string& text, const std::string& font, float size,
                                      const Size& dimensions) {
    return Label::createWithSystemFont(text, font, size, dimensions);
}

void setLabelAlignment(Label* self, int32_t h) { self->setHorizontalAlignment(hAlignmentOf(h)); }
void setLabelAlignment2(Label* self, int32_t h, int32_t v) { self->setAlignment(hAlignmentOf(h), vAlignmentOf(v)); }
void setLabelHAlignment(Label* self, int32_t h) { self->setHorizontalAlignment(hAlignmentOf(h)); }
void setLabelVAlignment(Label* self, int32_t v) { self->setVerticalAlignment(vAlignmentOf(v)); }
int32_t getLabelHAlignment(Label* self) { return static_cast<int32_t>(self->getHorizontalAlignment()); }
int32_t getLabelVAlignment(Label* self) { return static_cast<int32_t>(self->getVerticalAlignment()); }

const Method kLabelMethods[] = {
    {"setMaxLineWidth", {method<&Label::setMaxLineWidth>()}},
    {"getMaxLineWidth", {method<&Label::getMaxLineWidth>()}},
    {"setAlignment", {method<&setLabelAlignment>(), method<&setLabelAlignment2>()}},
    {"setHorizontalAlignment", {method<&setLabelHAlignment>()}},
    {"setVerticalAlignment", {method<&setLabelVAlignment>()}},
    {"getHorizontalAlignment", {method<&getLabelHAlignment>()}},
    {"getVerticalAlignment", {method<&getLabelVAlignment>()}},
    {"setDimensions", {method<&Label::setDimensions>()}},
    {"getDimensions", {method<&Label::getDimensions>()}},
    {"setWidth", {method<&Label::setWidth>()}},
    {"setSystemFontName", {method<&Label::setSystemFontName>()}},
    {"getSystemFontName", {method<&Label::getSystemFontName>()}},
    {"create", {classFunction<&Label::create>()}},
    {"createWithSystemFont", {classFunction<&createLabelWithSystemFont>(),
                              classFunction<&createLabelWithSystemFontInBox>()}},
    {"setString", {method<&Label::setString>()}},
    {"getString", {method<&Label::getString>()}},
    {"setSystemFontSize", {method<&Label::setSystemFontSize>()}},
    {"getSystemFontSize", {method<&Label::getSystemFontSize>()}},
    {"setTextColor", {method<&Label::setTextColor>()}},
    {"enableOutline", {method<&Label::enableOutline, -1>()}},
};

const Method kScaleToMethods[] = {
    {"create", {classFunction<static_cast<ScaleTo* (*)(float, float)>(&ScaleTo::create)>(),
                classFunction<static_cast<ScaleTo* (*)(float, float, float)>(&ScaleTo::create)>()}},
};

const Method kScaleByMethods[] = {
    {"create", {classFunction<static_cast<ScaleBy* (*)(float, float)>(&ScaleBy::create)>(),
                classFunction<static_cast<ScaleBy* (*)(float, float, float)>(&ScaleBy::create)>()}},
};

const Method kDrawNodeMethods[] = {
    {"create", {classFunction<&DrawNode::create>()}},
    {"setBlendFunc", {methodOf<DrawNode, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<DrawNode, &BlendProtocol::getBlendFunc>()}},
    {"clear", {method<&DrawNode::clear>()}},
    {"drawSolidRect", {method<&DrawNode::drawSolidRect>()}},
};

// The classes that draw with a blend function of their own.
template <class T>
const Method kBlendMethods[] = {
    {"create", {classFunction<&T::create>()}},
    {"setBlendFunc", {methodOf<T, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<T, &BlendProtocol::getBlendFunc>()}},
};
const Method kSpriteBatchNodeMethods[] = {
    {"create", {classFunction<&SpriteBatchNode::create>()}},
    {"setBlendFunc", {methodOf<SpriteBatchNode, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<SpriteBatchNode, &BlendProtocol::getBlendFunc>()}},
    {"getDescendants", {method<&SpriteBatchNode::getDescendants>()}},
};

const Method kSceneMethods[] = {
    {"create", {classFunction<&Scene::create>()}},
};

TextureCache* directorTextureCache(Director*) { return TextureCache::getInstance(); }
TextureCache* textureCacheInstance() { return TextureCache::getInstance(); }
Texture2D* addImageFile(TextureCache* self, const std::string& path) { return self->addImage(path); }

const Method kGLProgramMethods[] = {
    {"getUniformLocation", {method<&GLProgram::getUniformLocation>()}},
};

const Method kGLProgramStateMethods[] = {
    {"getOrCreateWithGLProgram", {classFunction<&GLProgramState::getOrCreateWithGLProgram>()}},
};

const Method kTexture2DMethods[] = {
    {"getPixelsWide", {method<&Texture2D::getPixelsWide>()}},
    {"getPixelsHigh", {method<&Texture2D::getPixelsHigh>()}},
    {"getContentSize", {method<&Texture2D::getContentSize>()}},
    {"getPath", {method<&Texture2D::getPath>()}},
};

const Method kTextureCacheMethods[] = {
    {"getInstance", {classFunction<&textureCacheInstance>()}},
    {"addImage", {method<&addImageFile>()}},
    {"getTextureForKey", {method<&TextureCache::getTextureForKey>()}},
    {"removeAllTextures", {method<&TextureCache::removeAllTextures>()}},
    {"removeUnusedTextures", {method<&TextureCache::removeUnusedTextures>()}},
};

const Method kDirectorMethods[] = {
    {"getActionManager", {method<&Director::getActionManager>()}},
    {"getInstance", {classFunction<&Director::getInstance>()}},
    {"runWithScene", {method<&Director::runWithScene>()}},
    {"replaceScene", {method<&Director::replaceScene>()}},
    {"getRunningScene", {method<&Director::getRunningScene>()}},
    {"getScheduler", {method<&Director::getScheduler>()}},
    {"getEventDispatcher", {method<&Director::getEventDispatcher>()}},
    {"getOpenGLView", {method<&Director::getOpenGLView>()}},
    {"getWinSize", {method<&Director::getWinSize>()}},
    {"getVisibleSize", {method<&Director::getVisibleSize>()}},
    {"getVisibleOrigin", {method<&Director::getVisibleOrigin>()}},
    {"convertToGL", {method<&Director::convertToGL>()}},
    {"convertToUI", {method<&Director::convertToUI>()}},
    {"getAnimationInterval", {method<&Director::getAnimationInterval>()}},
    {"setAnimationInterval", {method<&Director::setAnimationInterval>()}},
    {"endToLua", {method<&Director::end>()}},
    {"pause", {method<&Director::pause>()}},
    {"resume", {method<&Director::resume>()}},
    {"isPaused", {method<&Director::isPaused>()}},
    {"getConsole", {method<&Director::getConsole>()}},
    {"getTextureCache", {method<&directorTextureCache>()}},
};

const Method kFileUtilsMethods[] = {
    {"getInstance", {classFunction<&FileUtils::getInstance>()}},
    {"isFileExist", {method<&FileUtils::isFileExist>()}},
    {"isDirectoryExist", {method<&FileUtils::isDirectoryExist>()}},
    {"isAbsolutePath", {method<&FileUtils::isAbsolutePath>()}},
    {"getStringFromFile", {method<&FileUtils::getStringFromFile>()}},
    {"fullPathForFilename", {method<&FileUtils::fullPathForFilename>()}},
    {"getWritablePath", {method<&FileUtils::getWritablePath>()}},
    // For scripts that replace files on disk (the resource prefetcher).
    {"purgeCachedEntries", {method<&FileUtils::purgeCachedEntries>()}},
};

// Saved settings and the browser.
constexpr char kEmptyText[] = "";

const Method kUserDefaultMethods[] = {
    {"getInstance", {classFunction<&UserDefault::getInstance>()}},
    {"getStringForKey", {method<overload<std::string(const std::string&, const std::string&) const>(&UserDefault::getStringForKey), kEmptyText>()}},
    {"setStringForKey", {method<&UserDefault::setStringForKey>()}},
    {"getBoolForKey", {method<&UserDefault::getBoolForKey, false>()}},
    {"setBoolForKey", {method<&UserDefault::setBoolForKey>()}},
    {"getIntegerForKey", {method<&UserDefault::getIntegerForKey, 0>()}},
    {"setIntegerForKey", {method<&UserDefault::setIntegerForKey>()}},
    {"getFloatForKey", {method<&UserDefault::getFloatForKey, 0>()}},
    {"setFloatForKey", {method<&UserDefault::setFloatForKey>()}},
    {"getDoubleForKey", {method<&UserDefault::getDoubleForKey, 0>()}},
    {"setDoubleForKey", {method<&UserDefault::setDoubleForKey>()}},
    {"deleteValueForKey", {method<&UserDefault::deleteValueForKey>()}},
    {"flush", {method<&UserDefault::flush>()}},
};

// Input: events scripts make and raise, listeners and the dispatcher.
Touch* newTouch() {
    auto* touch = new Touch;
    touch->autorelease();
    return touch;
}
EventTouch* newEventTouch() {
    auto* event = new EventTouch;
    event->autorelease();
    return event;
}
void setEventCode(EventTouch* self, int code) {
    if (code >= 0 && code <= 3) self->setEventCode(static_cast<EventTouch::EventCode>(code));
}
int getEventCode(EventTouch* self) { return static_cast<int>(self->getEventCode()); }
// setTouches({touch, ...}): the live touches of the table, in order.
int lua_setTouches(lua_State* L) {
    auto* event = checkSelf<EventTouch>(L, "cc.EventTouch", "cc.EventTouch:setTouches");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.EventTouch:setTouches", argc, 1, " \n");
    if (!lua_istable(L, 2)) return luaL_error(L, "invalid arguments in function 'lua_engine_EventTouch_setTouches'");
    const int count = static_cast<int>(lua_objlen(L, 2));
    std::vector<Touch*> touches;
    for (int i = 1; i <= count; ++i) {
        lua_rawgeti(L, 2, i);
        if (Touch* touch = objectAt<Touch>(L, -1, "cc.Touch")) touches.push_back(touch);
        lua_pop(L, 1);
    }
    event->setTouches(touches);
    return 0;
}
Vector<Touch*> getTouches(EventTouch* self) {
    Vector<Touch*> touches;
    for (Touch* touch : self->getTouches()) touches.pushBack(touch);
    return touches;
}
EventKeyboard* newEventKeyboard(int keyCode, bool pressed) {
    auto* event = new EventKeyboard(keyCode, pressed);
    event->autorelease();
    return event;
}
EventMouse* newEventMouse(int type) {
    auto* event = new EventMouse(static_cast<EventMouse::MouseEventType>(type >= 0 && type <= 4 ? type : 0));
    event->autorelease();
    return event;
}
int getMouseEventType(EventMouse* self) { return static_cast<int>(self->getMouseEventType()); }
EventAcceleration* newEventAcceleration(double x, double y, double z, double timestamp) {
    Acceleration reading;
    reading.x = x;
    reading.y = y;
    reading.z = z;
    reading.timestamp = timestamp;
    auto* event = new EventAcceleration(reading);
    event->autorelease();
    return event;
}
EventCustom* newEventCustom(const std::string& name) {
    auto* event = new EventCustom(name);
    event->autorelease();
    return event;
}
int getEventType(Event* self) { return static_cast<int>(self->getType()); }
void dispatchCustomEvent(EventDispatcher* self, const std::string& name) { self->dispatchCustomEvent(name); }
void addWithFixedPriority(EventDispatcher* self, EventListener* listener, int priority) {
    self->addEventListenerWithFixedPriority(listener, priority);
}

const Method kTouchMethods[] = {
    {"new", {classFunction<&newTouch>()}},
    {"setTouchInfo", {method<&Touch::setTouchInfo>()}},
    {"getId", {method<&Touch::getId>()}},
    {"getLocation", {method<&Touch::getLocation>()}},
    {"getPreviousLocation", {method<&Touch::getPreviousLocation>()}},
    {"getStartLocation", {method<&Touch::getStartLocation>()}},
    {"getLocationInView", {method<&Touch::getLocationInView>()}},
    {"getPreviousLocationInView", {method<&Touch::getPreviousLocationInView>()}},
    {"getStartLocationInView", {method<&Touch::getStartLocationInView>()}},
};
const Method kEventMethods[] = {
    {"getType", {method<&getEventType>()}},
    {"stopPropagation", {method<&Event::stopPropagation>()}},
    {"isStopped", {method<&Event::isStopped>()}},
};
const Method kEventTouchMethods[] = {
    {"new", {classFunction<&newEventTouch>()}},
    {"setEventCode", {method<&setEventCode>()}},
    {"getEventCode", {method<&getEventCode>()}},
    {"getTouches", {method<&getTouches>()}},
};
const Method kEventKeyboardMethods[] = {
    {"new", {classFunction<&newEventKeyboard>()}},
    {"getKeyCode", {method<&EventKeyboard::getKeyCode>()}},
    {"isPressed", {method<&EventKeyboard::isPressed>()}},
};
const Method kEventMouseMethods[] = {
    {"new", {classFunction<&newEventMouse>()}},
    {"getMouseEventType", {method<&getMouseEventType>()}},
    {"setCursorPosition", {method<&EventMouse::setCursorPosition>()}},
    {"getCursorX", {method<&EventMouse::getCursorX>()}},
    {"getCursorY", {method<&EventMouse::getCursorY>()}},
    {"setMouseButton", {method<&EventMouse::setMouseButton>()}},
    {"getMouseButton", {method<&EventMouse::getMouseButton>()}},
    {"setScrollData", {method<&EventMouse::setScrollData>()}},
    {"getScrollX", {method<&EventMouse::getScrollX>()}},
    {"getScrollY", {method<&EventMouse::getScrollY>()}},
};
const Method kEventAccelerationMethods[] = {
    {"new", {classFunction<&newEventAcceleration>()}},
};
const Method kEventCustomMethods[] = {
    {"new", {classFunction<&newEventCustom>()}},
    {"getEventName", {method<&EventCustom::getEventName>()}},
};
const Method kEventListenerMethods[] = {
    {"setEnabled", {method<&EventListener::setEnabled>()}},
    {"isEnabled", {method<&EventListener::isEnabled>()}},
    {"checkAvailable", {method<&EventListener::checkAvailable>()}},
};
const Method kTouchOneByOneMethods[] = {
    {"setSwallowTouches", {method<&EventListenerTouchOneByOne::setSwallowTouches>()}},
    {"isSwallowTouches", {method<&EventListenerTouchOneByOne::isSwallowTouches>()}},
};
const Method kEventDispatcherMethods[] = {
    {"addEventListenerWithSceneGraphPriority", {method<&EventDispatcher::addEventListenerWithSceneGraphPriority>()}},
    {"addEventListenerWithFixedPriority", {method<&addWithFixedPriority>()}},
    {"removeEventListener", {method<&EventDispatcher::removeEventListener>()}},
    {"removeEventListenersForTarget", {method<&EventDispatcher::removeEventListenersForTarget>()}},
    {"removeCustomEventListeners", {method<&EventDispatcher::removeCustomEventListeners>()}},
    {"dispatchEvent", {method<&EventDispatcher::dispatchEvent>()}},
    {"dispatchCustomEvent", {method<&dispatchCustomEvent>()}},
    {"setEnabled", {method<&EventDispatcher::setEnabled>()}},
    {"isEnabled", {method<&EventDispatcher::isEnabled>()}},
};
const Method kMenuItemMethods[] = {
    {"activate", {method<&MenuItem::activate>()}},
    {"setEnabled", {method<&MenuItem::setEnabled>()}},
    {"isEnabled", {method<&MenuItem::isEnabled>()}},
    {"selected", {method<&MenuItem::selected>()}},
    {"unselected", {method<&MenuItem::unselected>()}},
    {"isSelected", {method<&MenuItem::isSelected>()}},
    {"rect", {method<&MenuItem::rect>()}},
};

const Method kComponentMethods[] = {
    {"create", {classFunction<&Component::create>()}},
    {"init", {method<&Component::init>()}},
    {"getName", {method<&Component::getName>()}},
    {"setName", {method<&Component::setName>()}},
    {"getOwner", {method<&Component::getOwner>()}},
    {"setOwner", {method<&Component::setOwner>()}},
    {"isEnabled", {method<&Component::isEnabled>()}},
    {"setEnabled", {method<&Component::setEnabled>()}},
    {"update", {method<&Component::update>()}},
    {"onEnter", {method<&Component::onEnter>()}},
    {"onExit", {method<&Component::onExit>()}},
    {"onAdd", {method<&Component::onAdd>()}},
    {"onRemove", {method<&Component::onRemove>()}},
};

const Method kActionManagerMethods[] = {
    {"getActionByTag", {method<&ActionManager::getActionByTag>()}},
    {"pauseTarget", {method<&ActionManager::pauseTarget>()}},
    {"resumeTarget", {method<&ActionManager::resumeTarget>()}},
    {"removeAllActions", {method<&ActionManager::removeAllActions>()}},
    {"removeAllActionsFromTarget", {method<&ActionManager::removeAllActionsFromTarget>()}},
    {"removeAction", {method<&ActionManager::removeAction>()}},
    {"removeActionByTag", {method<&ActionManager::removeActionByTag>()}},
    {"getNumberOfRunningActionsInTarget", {method<&ActionManager::getNumberOfRunningActionsInTarget>()}},
    {"update", {method<&ActionManager::update>()}},
};

const Method kConsoleMethods[] = {
    {"listenOnTCP", {method<&Console::listenOnTCP>()}},
    {"stop", {method<&Console::stop>()}},
};

const Method kApplicationMethods[] = {
    {"getInstance", {classFunction<&Application::getInstance>()}},
    {"openURL", {method<&Application::openURL>()}},
};

const std::vector<ClassEntry> kCoreClasses = {
    classEntry<Ref>("cc.Ref", nullptr, kRefMethods),
    classEntry<Node>("cc.Node", "cc.Ref", kNodeMethods),
    classEntry<Component>("cc.Component", "cc.Ref", kComponentMethods),
    classEntry<Scene>("cc.Scene", "cc.Node", kSceneMethods),
    classEntry<MenuItem>("cc.MenuItem", "cc.Node", kMenuItemMethods),
    classEntry<Layer>("cc.Layer", "cc.Node", kLayerMethods),
    classEntry<LayerColor>("cc.LayerColor", "cc.Layer", kLayerColorMethods),
    classEntry<LayerGradient>("cc.LayerGradient", "cc.LayerColor", kLayerGradientMethods),
    classEntry<Sprite>("cc.Sprite", "cc.Node", kSpriteMethods),
    classEntry<Label>("cc.Label", "cc.Node", kLabelMethods),
    classEntry<DrawNode>("cc.DrawNode", "cc.Node", kDrawNodeMethods),
    classEntry<ParticleSystem>("cc.ParticleSystem", "cc.Node", particleSystemMethods()),
    classEntry<ParticleBatchNode>("cc.ParticleBatchNode", "cc.Node", kBlendMethods<ParticleBatchNode>),
    classEntry<MotionStreak>("cc.MotionStreak", "cc.Node", kBlendMethods<MotionStreak>),
    classEntry<AtlasNode>("cc.AtlasNode", "cc.Node", atlasNodeMethods()),
    classEntry<SpriteBatchNode>("cc.SpriteBatchNode", "cc.Node", kSpriteBatchNodeMethods),
    classEntry<Director>("cc.Director", nullptr, kDirectorMethods),
    classEntry<Scheduler>("cc.Scheduler", "cc.Ref"),
    classEntry<EventDispatcher>("cc.EventDispatcher", "cc.Ref", kEventDispatcherMethods),
    classEntry<EventListener>("cc.EventListener", "cc.Ref", kEventListenerMethods),
    classEntry<EventListenerCustom>("cc.EventListenerCustom", "cc.EventListener"),
    classEntry<EventListenerKeyboard>("cc.EventListenerKeyboard", "cc.EventListener"),
    classEntry<EventListenerMouse>("cc.EventListenerMouse", "cc.EventListener"),
    classEntry<EventListenerAcceleration>("cc.EventListenerAcceleration", "cc.EventListener"),
    classEntry<EventListenerTouchOneByOne>("cc.EventListenerTouchOneByOne", "cc.EventListener", kTouchOneByOneMethods),
    classEntry<EventListenerTouchAllAtOnce>("cc.EventListenerTouchAllAtOnce", "cc.EventListener"),
    classEntry<Event>("cc.Event", "cc.Ref", kEventMethods),
    classEntry<EventCustom>("cc.EventCustom", "cc.Event", kEventCustomMethods),
    classEntry<EventTouch>("cc.EventTouch", "cc.Event", kEventTouchMethods),
    classEntry<EventKeyboard>("cc.EventKeyboard", "cc.Event", kEventKeyboardMethods),
    classEntry<EventMouse>("cc.EventMouse", "cc.Event", kEventMouseMethods),
    classEntry<EventAcceleration>("cc.EventAcceleration", "cc.Event", kEventAccelerationMethods),
    classEntry<Touch>("cc.Touch", "cc.Ref", kTouchMethods),
    classEntry<FileUtils>("cc.FileUtils", nullptr, kFileUtilsMethods),
    classEntry<Image>("cc.Image", "cc.Ref"),
    classEntry<Texture2D>("cc.Texture2D", "cc.Ref", kTexture2DMethods),
    classEntry<TextureCache>("cc.TextureCache", nullptr, kTextureCacheMethods),
    classEntry<GLView>("cc.GLView", "cc.Ref"),
    classEntry<GLViewImpl>("cc.GLViewImpl", "cc.GLView"),
    classEntry<Application>("cc.Application", nullptr, kApplicationMethods),
    classEntry<Console>("cc.Console", nullptr, kConsoleMethods),
    classEntry<Action>("cc.Action", "cc.Ref"),
    classEntry<FiniteTimeAction>("cc.FiniteTimeAction", "cc.Action"),
    classEntry<CallFunc>("cc.CallFunc", "cc.FiniteTimeAction"),
    classEntry<ActionInterval>("cc.ActionInterval", "cc.FiniteTimeAction"),
    classEntry<DelayTime>("cc.DelayTime", "cc.ActionInterval"),
    classEntry<Sequence>("cc.Sequence", "cc.ActionInterval"),
    classEntry<Spawn>("cc.Spawn", "cc.ActionInterval"),
    classEntry<RepeatForever>("cc.RepeatForever", "cc.ActionInterval"),
    classEntry<ScaleTo>("cc.ScaleTo", "cc.ActionInterval", kScaleToMethods),
    classEntry<ScaleBy>("cc.ScaleBy", "cc.ScaleTo", kScaleByMethods),
    classEntry<ActionManager>("cc.ActionManager", "cc.Ref", kActionManagerMethods),
    classEntry<GLProgram>("cc.GLProgram", "cc.Ref", kGLProgramMethods),
    classEntry<GLProgramState>("cc.GLProgramState", "cc.Ref", kGLProgramStateMethods),
    classEntry<GLProgramCache>("cc.GLProgramCache", nullptr),
    classEntry<Renderer>("cc.Renderer", nullptr),
    classEntry<UserDefault>("cc.UserDefault", nullptr, kUserDefaultMethods),
};

// The table's own rows, then the rows kept in other files (bindings/core/CoreClassRows.h).
const std::vector<ClassEntry>& allCoreClasses() {
    static const std::vector<ClassEntry> all = [] {
        std::vector<ClassEntry> rows = kCoreClasses;
        for (auto part : {coreActionRows(), coreSceneRows(), coreSpriteRows(), coreCurveRows(),
                          coreMenuRows(), coreModelRows(), coreParticleRows(), coreNodeRows(), coreGridRows()}) {
            rows.insert(rows.end(), part.begin(), part.end());
        }
        return rows;
    }();
    return all;
}

}  // namespace

std::span<const ClassEntry> coreClassTable() { return allCoreClasses(); }

int register_core_classes(lua_State* L) {
    registerClassTable(L, allCoreClasses());
    const ClassFunction eventTouchFunctions[] = {{"setTouches", lua_setTouches}};
    addClassFunctions(L, "cc.EventTouch", eventTouchFunctions);
    register_core_manual(L);
    register_utils_module(L);
    register_math_globals(L);
    register_sprite_frames_manual(L);
    register_object_lists_manual(L);
    register_action_float_manual(L);
    return 1;
}

}  // namespace bindings
