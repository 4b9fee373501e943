// The extension module: controls, scroll and table views, the assets managers
// and the particle pools (table "cc"), with the hand-written functions that take
// script handlers.
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/extension/ExtensionControlRows.h"
#include "bindings/extension/LuaAssetsManagers.h"
#include "bindings/extension/LuaControlEvents.h"
#include "bindings/extension/LuaScrollViews.h"

#include <vector>

#include "engine/extension/AssetsManagerEx.h"
#include "engine/extension/Control.h"
#include "engine/extension/ControlButton.h"
#include "engine/extension/Manifest.h"
#include "engine/extension/ScrollView.h"
#include "engine/extension/PUParticleSystem3D.h"
#include "engine/extension/ParticleSystem3D.h"
#include "engine/extension/TableView.h"
#include "engine/label/Label.h"
#include "engine/ui/Scale9Sprite.h"
#include "updater/AssetsManager.h"

namespace bindings {

namespace {

using namespace engine::extension;
using engine::ui::Scale9Sprite;

const Method kControlMethods[] = {
    {"create", {classFunction<&Control::create>()}},
    {"setEnabled", {method<&Control::setEnabled>()}},
    {"isEnabled", {method<&Control::isEnabled>()}},
    {"setSelected", {method<&Control::setSelected>()}},
    {"isSelected", {method<&Control::isSelected>()}},
    {"setHighlighted", {method<&Control::setHighlighted>()}},
    {"isHighlighted", {method<&Control::isHighlighted>()}},
    {"getState", {method<&Control::getState>()}},
    {"hasVisibleParents", {method<&Control::hasVisibleParents>()}},
    {"needsLayout", {method<&Control::needsLayout>()}},
    {"sendActionsForControlEvents", {method<&Control::sendActionsForControlEvents>()}},
};

ControlButton* createButton() { return ControlButton::create(); }
ControlButton* createButtonWithLabel(engine::Label* label, Scale9Sprite* sprite) {
    return ControlButton::create(label, sprite);
}
ControlButton* createButtonWithTitle(const std::string& title, const std::string& font, float size) {
    return ControlButton::create(title, font, size);
}
ControlButton* createButtonWithSprite(Scale9Sprite* sprite) { return ControlButton::create(sprite); }

const Method kControlButtonMethods[] = {
    {"create",
     {classFunction<&createButton>(), classFunction<&createButtonWithSprite>(),
      classFunction<&createButtonWithLabel>(), classFunction<&createButtonWithTitle>()}},
    {"getTitleLabel", {method<&ControlButton::getTitleLabel>()}},
    {"getBackgroundSprite", {method<&ControlButton::getBackgroundSprite>()}},
    {"isPushed", {method<&ControlButton::isPushed>()}},
    {"setTitleForState", {method<&ControlButton::setTitleForState>()}},
    {"getTitleForState", {method<&ControlButton::getTitleForState>()}},
    {"getCurrentTitle", {method<&ControlButton::getCurrentTitle>()}},
    {"setTitleColorForState", {method<&ControlButton::setTitleColorForState>()}},
    {"getTitleColorForState", {method<&ControlButton::getTitleColorForState>()}},
    {"setBackgroundSpriteForState", {method<&ControlButton::setBackgroundSpriteForState>()}},
    {"getBackgroundSpriteForState", {method<&ControlButton::getBackgroundSpriteForState>()}},
    {"setPreferredSize", {method<&ControlButton::setPreferredSize>()}},
    {"getPreferredSize", {method<&ControlButton::getPreferredSize>()}},
};

ScrollView* createScrollView() { return ScrollView::create(); }
ScrollView* createScrollViewWithSize(const engine::Size& size, engine::Node* container) {
    return ScrollView::create(size, container);
}
void setDirection(ScrollView* self, int32_t direction) {
    self->setDirection(static_cast<ScrollView::Direction>(direction >= -1 && direction <= 2 ? direction : 2));
}
int32_t getDirection(ScrollView* self) { return static_cast<int32_t>(self->getDirection()); }
void setContentOffset(ScrollView* self, const engine::Vec2& offset) { self->setContentOffset(offset); }

const Method kScrollViewMethods[] = {
    {"create",
     {classFunction<&createScrollView>(), classFunction<&createScrollViewWithSize, nullptr>()}},
    {"setViewSize", {method<&ScrollView::setViewSize>()}},
    {"getViewSize", {method<&ScrollView::getViewSize>()}},
    {"setContainer", {method<&ScrollView::setContainer>()}},
    {"getContainer", {method<&ScrollView::getContainer>()}},
    {"setDirection", {method<&setDirection>()}},
    {"getDirection", {method<&getDirection>()}},
    {"setBounceable", {method<&ScrollView::setBounceable>()}},
    {"isBounceable", {method<&ScrollView::isBounceable>()}},
    {"setTouchEnabled", {method<&ScrollView::setTouchEnabled>()}},
    {"isTouchEnabled", {method<&ScrollView::isTouchEnabled>()}},
    {"isDragging", {method<&ScrollView::isDragging>()}},
    {"isTouchMoved", {method<&ScrollView::isTouchMoved>()}},
    {"setContentOffset", {method<&setContentOffset>(), method<&ScrollView::setContentOffset>()}},
    {"getContentOffset", {method<&ScrollView::getContentOffset>()}},
    {"minContainerOffset", {method<&ScrollView::minContainerOffset>()}},
    {"maxContainerOffset", {method<&ScrollView::maxContainerOffset>()}},
    {"setZoomScale", {method<&ScrollView::setZoomScale>()}},
    {"getZoomScale", {method<&ScrollView::getZoomScale>()}},
};

TableViewCell* createCell() { return TableViewCell::create(); }

const Method kTableViewCellMethods[] = {
    {"new", {classFunction<&createCell>()}},
    {"create", {classFunction<&createCell>()}},
    {"getIdx", {method<&TableViewCell::getIdx>()}},
    {"setIdx", {method<&TableViewCell::setIdx>()}},
    {"reset", {method<&TableViewCell::reset>()}},
};

void setVerticalFillOrder(TableView* self, int32_t order) {
    self->setVerticalFillOrder(order == 0 ? TableView::VerticalFillOrder::TOP_DOWN
                                          : TableView::VerticalFillOrder::BOTTOM_UP);
}
int32_t getVerticalFillOrder(TableView* self) { return static_cast<int32_t>(self->getVerticalFillOrder()); }

const Method kTableViewMethods[] = {
    {"reloadData", {method<&TableView::reloadData>()}},
    {"dequeueCell", {method<&TableView::dequeueCell>()}},
    {"cellAtIndex", {method<&TableView::cellAtIndex>()}},
    {"updateCellAtIndex", {method<&TableView::updateCellAtIndex>()}},
    {"setVerticalFillOrder", {method<&setVerticalFillOrder>()}},
    {"getVerticalFillOrder", {method<&getVerticalFillOrder>()}},
};

constexpr char kNoText[] = "";

AssetsManager* newAssetsManager(const std::string& packageUrl, const std::string& versionFileUrl,
                                const std::string& storagePath) {
    return AssetsManager::create(packageUrl, versionFileUrl, storagePath);
}

const Method kAssetsManagerMethods[] = {
    {"new", {classFunction<&newAssetsManager, kNoText, kNoText, kNoText>()}},
    {"create", {classFunction<&AssetsManager::create>()}},
    {"checkUpdate", {method<&AssetsManager::checkUpdate>()}},
    {"update", {method<static_cast<void (AssetsManager::*)()>(&AssetsManager::update)>()}},
    {"getVersion", {method<&AssetsManager::getVersion>()}},
    {"deleteVersion", {method<&AssetsManager::deleteVersion>()}},
    {"setPackageUrl", {method<&AssetsManager::setPackageUrl>()}},
    {"getPackageUrl", {method<&AssetsManager::getPackageUrl>()}},
    {"setVersionFileUrl", {method<&AssetsManager::setVersionFileUrl>()}},
    {"getVersionFileUrl", {method<&AssetsManager::getVersionFileUrl>()}},
    {"setStoragePath", {method<&AssetsManager::setStoragePath>()}},
    {"getStoragePath", {method<&AssetsManager::getStoragePath>()}},
};

const Method kAssetsManagerExMethods[] = {
    {"create", {classFunction<&AssetsManagerEx::create>()}},
    {"getManifestUrl", {method<&AssetsManagerEx::getManifestUrl>()}},
    {"getStoragePath", {method<&AssetsManagerEx::getStoragePath>()}},
    {"getLocalManifest", {method<&AssetsManagerEx::getLocalManifest>()}},
};

Manifest* createManifest() { return Manifest::create(); }
Manifest* createManifestFromFile(const std::string& url) { return Manifest::create(url); }
bool parseManifestText(Manifest* self, const std::string& content) { return self->parseJSONString(content); }
const Method kManifestMethods[] = {
    {"create", {classFunction<&createManifestFromFile>(), classFunction<&createManifest>()}},
    {"parseFile", {method<&Manifest::parseFile>()}},
    {"parseJSONString", {method<&parseManifestText>()}},
    {"isLoaded", {method<&Manifest::isLoaded>()}},
    {"isVersionLoaded", {method<&Manifest::isVersionLoaded>()}},
    {"getPackageUrl", {method<&Manifest::getPackageUrl>()}},
    {"getManifestFileUrl", {method<&Manifest::getManifestFileUrl>()}},
    {"getVersionFileUrl", {method<&Manifest::getVersionFileUrl>()}},
    {"getVersion", {method<&Manifest::getVersion>()}},
    {"getEngineVersion", {method<&Manifest::getEngineVersion>()}},
    {"getSearchPaths", {method<&Manifest::getSearchPaths>()}},
    {"versionEquals", {method<&Manifest::versionEquals>()}},
};

const Method kEventAssetsManagerExMethods[] = {
    {"getEventCode", {method<&EventAssetsManagerEx::getEventCode>()}},
    {"getPercent", {method<&EventAssetsManagerEx::getPercent>()}},
    {"getAssetId", {method<&EventAssetsManagerEx::getAssetId>()}},
    {"getMessage", {method<&EventAssetsManagerEx::getMessage>()}},
    {"getAssetsManagerEx", {method<&EventAssetsManagerEx::getAssetsManagerEx>()}},
};

PartOfSelf<engine::ParticlePool> particlePoolOf(engine::ParticleSystem3D* self) { return {self->getParticlePool()}; }

using engine::ParticleSystem3D;
using engine::PUParticleSystem3D;
int32_t particleSystemState(ParticleSystem3D* self) { return static_cast<int32_t>(self->getState()); }

const Method kParticleSystem3DMethods[] = {
    {"create", {classFunction<&ParticleSystem3D::create>()}},
    {"getParticlePool", {method<&particlePoolOf>()}},
    {"startParticleSystem", {method<&ParticleSystem3D::startParticleSystem>()}},
    {"stopParticleSystem", {method<&ParticleSystem3D::stopParticleSystem>()}},
    {"pauseParticleSystem", {method<&ParticleSystem3D::pauseParticleSystem>()}},
    {"resumeParticleSystem", {method<&ParticleSystem3D::resumeParticleSystem>()}},
    {"getState", {method<&particleSystemState>()}},
    {"setEmitter", {method<&ParticleSystem3D::setEmitter>()}},
    {"getEmitter", {method<overload<engine::Particle3DEmitter*() const>(&ParticleSystem3D::getEmitter)>()}},
    {"addAffector", {method<&ParticleSystem3D::addAffector>()}},
    {"removeAffector", {method<&ParticleSystem3D::removeAffector>()}},
    {"removeAllAffector", {method<&ParticleSystem3D::removeAllAffector>()}},
    {"getAffector", {method<&ParticleSystem3D::getAffector>()}},
    {"getAffectorCount", {method<&ParticleSystem3D::getAffectorCount>()}},
    {"setRender", {method<&ParticleSystem3D::setRender>()}},
    {"getRender", {method<&ParticleSystem3D::getRender>()}},
    {"setParticleQuota", {method<&ParticleSystem3D::setParticleQuota>()}},
    {"getParticleQuota", {method<&ParticleSystem3D::getParticleQuota>()}},
    {"getAliveParticleCount", {method<&ParticleSystem3D::getAliveParticleCount>()}},
    {"setKeepLocal", {method<&ParticleSystem3D::setKeepLocal>()}},
    {"isKeepLocal", {method<&ParticleSystem3D::isKeepLocal>()}},
    {"setEnabled", {method<&ParticleSystem3D::setEnabled>()}},
    {"isEnabled", {method<&ParticleSystem3D::isEnabled>()}},
    {"setBlendFunc", {methodOf<ParticleSystem3D, &ParticleSystem3D::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<ParticleSystem3D, &ParticleSystem3D::getBlendFunc>()}},
};

const Method kParticle3DEmitterMethods[] = {
    {"setEnabled", {method<&engine::Particle3DEmitter::setEnabled>()}},
    {"isEnabled", {method<&engine::Particle3DEmitter::isEnabled>()}},
    {"getParticleSystem", {method<&engine::Particle3DEmitter::getParticleSystem>()}},
};

const Method kParticle3DAffectorMethods[] = {
    {"setEnabled", {method<&engine::Particle3DAffector::setEnabled>()}},
    {"isEnabled", {method<&engine::Particle3DAffector::isEnabled>()}},
    {"getParticleSystem", {method<&engine::Particle3DAffector::getParticleSystem>()}},
};

const Method kParticle3DRenderMethods[] = {
    {"create", {classFunction<&engine::Particle3DRender::create>()}},
    {"setVisible", {method<&engine::Particle3DRender::setVisible>()}},
    {"isVisible", {method<&engine::Particle3DRender::isVisible>()}},
    {"setTexture", {method<&engine::Particle3DRender::setTexture>()}},
    {"getTexture", {method<&engine::Particle3DRender::getTexture>()}},
    {"setDepthTest", {method<&engine::Particle3DRender::setDepthTest>()}},
    {"isDepthTest", {method<&engine::Particle3DRender::isDepthTest>()}},
    {"setDepthWrite", {method<&engine::Particle3DRender::setDepthWrite>()}},
    {"isDepthWrite", {method<&engine::Particle3DRender::isDepthWrite>()}},
};

using engine::PUEmitter;
const Method kPUEmitterMethods[] = {
    {"create", {classFunction<&PUEmitter::create>()}},
    {"setName", {method<&PUEmitter::setName>()}},
    {"getName", {method<&PUEmitter::getName>()}},
    {"setLocalPosition", {method<&PUEmitter::setLocalPosition>()}},
    {"getLocalPosition", {method<&PUEmitter::getLocalPosition>()}},
    {"setEmissionRate", {method<&PUEmitter::setEmissionRate>()}},
    {"getEmissionRate", {method<&PUEmitter::getEmissionRate>()}},
    {"setParticleTimeToLive", {method<&PUEmitter::setParticleTimeToLive>()}},
    {"getParticleTimeToLive", {method<&PUEmitter::getParticleTimeToLive>()}},
    {"setParticleVelocity", {method<&PUEmitter::setParticleVelocity>()}},
    {"getParticleVelocity", {method<&PUEmitter::getParticleVelocity>()}},
    {"setParticleDirection", {method<&PUEmitter::setParticleDirection>()}},
    {"getParticleDirection", {method<&PUEmitter::getParticleDirection>()}},
    {"setParticleColor", {method<&PUEmitter::setParticleColor>()}},
    {"getParticleColor", {method<&PUEmitter::getParticleColor>()}},
};

using engine::PUBehaviour;
const Method kPUBehaviourMethods[] = {
    {"create", {classFunction<&PUBehaviour::create>()}},
    {"setBehaviourType", {method<&PUBehaviour::setBehaviourType>()}},
    {"getBehaviourType", {method<&PUBehaviour::getBehaviourType>()}},
    {"clone", {method<&PUBehaviour::clone>()}},
};

using engine::PUObserver;
const Method kPUObserverMethods[] = {
    {"create", {classFunction<&PUObserver::create>()}},
    {"setName", {method<&PUObserver::setName>()}},
    {"getName", {method<&PUObserver::getName>()}},
    {"setEnabled", {method<&PUObserver::setEnabled>()}},
    {"isEnabled", {method<&PUObserver::isEnabled>()}},
    {"setObserverInterval", {method<&PUObserver::setObserverInterval>()}},
    {"getObserverInterval", {method<&PUObserver::getObserverInterval>()}},
    {"setObserveUntilEvent", {method<&PUObserver::setObserveUntilEvent>()}},
    {"isObserveUntilEvent", {method<&PUObserver::isObserveUntilEvent>()}},
};

std::vector<PUEmitter*> emittersOf(PUParticleSystem3D* self) {
    return {self->getEmitters().begin(), self->getEmitters().end()};
}
std::vector<PUBehaviour*> behaviourTemplatesOf(PUParticleSystem3D* self) {
    return {self->getBehaviourTemplates().begin(), self->getBehaviourTemplates().end()};
}
PUEmitter* namedEmitterOf(PUParticleSystem3D* self, const std::string& name) { return self->getEmitter(name); }

const Method kPUParticleSystem3DMethods[] = {
    {"create", {classFunction<&PUParticleSystem3D::create>()}},
    {"addEmitter", {method<&PUParticleSystem3D::addEmitter>()}},
    {"getEmitter",
     {method<overload<engine::Particle3DEmitter*() const>(&ParticleSystem3D::getEmitter)>(),
      method<&namedEmitterOf>()}},
    {"getEmitters", {method<&emittersOf>()}},
    {"removeAllEmitter", {method<&PUParticleSystem3D::removeAllEmitter>()}},
    {"addBehaviourTemplate", {method<&PUParticleSystem3D::addBehaviourTemplate>()}},
    {"getBehaviourTemplates", {method<&behaviourTemplatesOf>()}},
    {"removeAllBehaviourTemplate", {method<&PUParticleSystem3D::removeAllBehaviourTemplate>()}},
    {"addObserver", {method<&PUParticleSystem3D::addObserver>()}},
    {"getObserver", {method<&PUParticleSystem3D::getObserver>()}},
    {"getObserverCount", {method<&PUParticleSystem3D::getObserverCount>()}},
    {"removeAllObserver", {method<&PUParticleSystem3D::removeAllObserver>()}},
    {"addListener", {method<&PUParticleSystem3D::addListener>()}},
    {"removeListener", {method<&PUParticleSystem3D::removeListener>()}},
    {"removeAllListener", {method<&PUParticleSystem3D::removeAllListener>()}},
    {"setDefaultWidth", {method<&PUParticleSystem3D::setDefaultWidth>()}},
    {"getDefaultWidth", {method<&PUParticleSystem3D::getDefaultWidth>()}},
    {"setDefaultHeight", {method<&PUParticleSystem3D::setDefaultHeight>()}},
    {"getDefaultHeight", {method<&PUParticleSystem3D::getDefaultHeight>()}},
    {"setDefaultDepth", {method<&PUParticleSystem3D::setDefaultDepth>()}},
    {"getDefaultDepth", {method<&PUParticleSystem3D::getDefaultDepth>()}},
    {"setParticleSystemScaleVelocity", {method<&PUParticleSystem3D::setParticleSystemScaleVelocity>()}},
    {"getParticleSystemScaleVelocity", {method<&PUParticleSystem3D::getParticleSystemScaleVelocity>()}},
    {"setMaxVelocity", {method<&PUParticleSystem3D::setMaxVelocity>()}},
    {"getMaxVelocity", {method<&PUParticleSystem3D::getMaxVelocity>()}},
    {"getTimeElapsedSinceStart", {method<&PUParticleSystem3D::getTimeElapsedSinceStart>()}},
    {"forceUpdate", {method<&PUParticleSystem3D::forceUpdate>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kExtensionClasses = {
    classEntry<Control>("cc.Control", "cc.Layer", kControlMethods),
    classEntry<ControlButton>("cc.ControlButton", "cc.Control", kControlButtonMethods),
    classEntry<ScrollView>("cc.ScrollView", "cc.Layer", kScrollViewMethods),
    classEntry<TableViewCell>("cc.TableViewCell", "cc.Node", kTableViewCellMethods),
    classEntry<TableView>("cc.TableView", "cc.ScrollView", kTableViewMethods),
    classEntry<AssetsManager>("cc.AssetsManager", "cc.Node", kAssetsManagerMethods),
    classEntry<AssetsManagerEx>("cc.AssetsManagerEx", "cc.Ref", kAssetsManagerExMethods),
    classEntry<Manifest>("cc.Manifest", "cc.Ref", kManifestMethods),
    classEntry<EventAssetsManagerEx>("cc.EventAssetsManagerEx", "cc.EventCustom", kEventAssetsManagerExMethods),
    classEntry<EventListenerAssetsManagerEx>("cc.EventListenerAssetsManagerEx", "cc.EventListenerCustom"),
    classEntry<engine::ParticleSystem3D>("cc.ParticleSystem3D", "cc.Node", kParticleSystem3DMethods),
    classEntry<engine::ParticlePool>("cc.ParticlePool", nullptr),
    classEntry<engine::Particle3DEmitter>("cc.Particle3DEmitter", "cc.Ref", kParticle3DEmitterMethods),
    classEntry<engine::Particle3DAffector>("cc.Particle3DAffector", "cc.Ref", kParticle3DAffectorMethods),
    classEntry<engine::Particle3DRender>("cc.Particle3DRender", "cc.Ref", kParticle3DRenderMethods),
    classEntry<PUParticleSystem3D>("cc.PUParticleSystem3D", "cc.ParticleSystem3D", kPUParticleSystem3DMethods),
    classEntry<PUEmitter>("cc.PUEmitter", "cc.Particle3DEmitter", kPUEmitterMethods),
    classEntry<PUBehaviour>("cc.PUBehaviour", "cc.Ref", kPUBehaviourMethods),
    classEntry<engine::PUListener>("cc.PUListener", "cc.Ref"),
    classEntry<PUObserver>("cc.PUObserver", "cc.Ref", kPUObserverMethods),
};

// The hand-written functions, class by class.
void register_extension_manual(lua_State* L) {
    register_control_event_functions(L);
    register_scroll_view_functions(L);
    register_assets_manager_functions(L);
}

// The table's own rows, then those kept in other files.
const std::vector<ClassEntry>& allExtensionClasses() {
    static const std::vector<ClassEntry> all = [] {
        std::vector<ClassEntry> rows = kExtensionClasses;
        for (auto part : {extensionControlRows()}) rows.insert(rows.end(), part.begin(), part.end());
        return rows;
    }();
    return all;
}

}  // namespace

std::span<const ClassEntry> extensionClassTable() { return allExtensionClasses(); }

int register_extension_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, allExtensionClasses());
    register_extension_manual(L);
    return 1;
}

}  // namespace bindings
