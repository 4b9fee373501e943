#include "engine/studio/ArmatureParts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/base/Log.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/studio/Armature.h"

namespace studio {

// ---- DecorativeDisplay

DecorativeDisplay* DecorativeDisplay::create() {
    auto* display = new DecorativeDisplay;
    display->autorelease();
    return display;
}

DecorativeDisplay::~DecorativeDisplay() {
    if (_display) _display->release();
    if (_displayData) _displayData->release();
}

void DecorativeDisplay::setDisplay(engine::Node* display) { engine::assignRetained(_display, display); }

void DecorativeDisplay::setDisplayData(DisplayData* data) { engine::assignRetained(_displayData, data); }

// ---- DisplayManager

DisplayManager* DisplayManager::create(Bone* bone) {
    auto* manager = new DisplayManager;
    manager->_bone = bone;
    manager->autorelease();
    return manager;
}

// The shown display stays the bone's child: the bone's own end takes it.
DisplayManager::~DisplayManager() = default;

namespace {
// Where a new display goes: its index, or the end.
size_t slotFor(int index, size_t size) {
    return index >= 0 && static_cast<size_t>(index) < size ? static_cast<size_t>(index) : size;
}
}  // namespace

void DisplayManager::addDisplay(DisplayData* displayData, int index) {
    if (!displayData) return;
    engine::Node* node = nullptr;
    if (displayData->displayType == DisplayType::SPRITE && !displayData->displayName.empty()) {
        Skin* skin = Skin::create(displayData->displayName);
        if (skin) {
            skin->setBone(_bone);
            if (auto* sprite = dynamic_cast<SpriteDisplayData*>(displayData)) skin->setSkinData(sprite->getSkinData());
        }
        node = skin;
    }
    if (!node) node = engine::Node::create();
    DecorativeDisplay* display = DecorativeDisplay::create();
    display->setDisplay(node);
    display->setDisplayData(displayData);
    const size_t slot = slotFor(index, _displays.size());
    if (slot < _displays.size()) {
        const bool shown = static_cast<int>(slot) == _currentIndex;
        removeDisplay(static_cast<int>(slot));
        _displays.insert(slot, display);
        if (shown) changeDisplayWithIndex(static_cast<int>(slot), true);
    } else {
        _displays.pushBack(display);
    }
}

void DisplayManager::addDisplay(engine::Node* display, int index) {
    if (!display) return;
    DisplayData* data = DisplayData::create();
    if (auto* skin = dynamic_cast<Skin*>(display)) {
        skin->setBone(_bone);
        data->displayName = skin->getDisplayName();
    } else {
        data->displayType = DisplayType::ARMATURE;
    }
    DecorativeDisplay* decorative = DecorativeDisplay::create();
    decorative->setDisplay(display);
    decorative->setDisplayData(data);
    const size_t slot = slotFor(index, _displays.size());
    if (slot < _displays.size()) {
        const bool shown = static_cast<int>(slot) == _currentIndex;
        removeDisplay(static_cast<int>(slot));
        _displays.insert(slot, decorative);
        if (shown) changeDisplayWithIndex(static_cast<int>(slot), true);
    } else {
        _displays.pushBack(decorative);
    }
}

void DisplayManager::removeDisplay(int index) {
    if (index < 0 || static_cast<size_t>(index) >= _displays.size()) return;
    if (index == _currentIndex) changeDisplayWithIndex(-1, true);
    _displays.erase(static_cast<size_t>(index));
    if (_currentIndex > index) --_currentIndex;
}

void DisplayManager::changeDisplayWithIndex(int index, bool force) {
    if (index >= static_cast<int>(_displays.size()) || index < -1) return;
    if (index == _currentIndex && !force) return;
    if (engine::Node* shown = getDisplayRenderNode(); shown && shown->getParent() == _bone) shown->removeFromParent();
    _currentIndex = index;
    engine::Node* node = getDisplayRenderNode();
    if (node && _bone) {
        _bone->addChild(node);
        node->setVisible(_visible);
    }
}

void DisplayManager::changeDisplayWithName(const std::string& name, bool force) {
    for (size_t i = 0; i < _displays.size(); ++i) {
        DisplayData* data = _displays.at(i)->getDisplayData();
        if (data && data->displayName == name) {
            changeDisplayWithIndex(static_cast<int>(i), force);
            return;
        }
    }
}

engine::Node* DisplayManager::getDisplayRenderNode() const {
    return _currentIndex >= 0 && static_cast<size_t>(_currentIndex) < _displays.size()
               ? _displays.at(static_cast<size_t>(_currentIndex))->getDisplay()
               : nullptr;
}

void DisplayManager::setVisible(bool visible) {
    _visible = visible;
    if (engine::Node* node = getDisplayRenderNode()) node->setVisible(visible);
}

// ---- Tween

Tween* Tween::create(Bone* bone) {
    auto* tween = new Tween;
    tween->_bone = bone;
    tween->autorelease();
    return tween;
}

Tween::~Tween() {
    if (_data) _data->release();
}

void Tween::setMovementBoneData(MovementBoneData* data) { engine::assignRetained(_data, data); }

void Tween::play(MovementBoneData* movementBoneData, int durationTo, int durationTween, int loop, int tweenEasing) {
    (void)durationTo;
    (void)durationTween;
    (void)tweenEasing;
    setMovementBoneData(movementBoneData);
    _loop = loop > 0;
    gotoAndPlay(0);
}

void Tween::gotoAndPlay(int frameIndex) {
    _frame = static_cast<float>(std::max(frameIndex, 0));
    _playing = _data != nullptr;
    apply(_frame);
}

void Tween::gotoAndPause(int frameIndex) {
    _frame = static_cast<float>(std::max(frameIndex, 0));
    _playing = false;
    apply(_frame);
}

void Tween::update(float dt) {
    if (!_playing || !_data || !(dt > 0.f)) return;
    const float duration = std::max(_data->duration, 1.f);
    _frame += dt * ArmatureDef::kFramesPerSecond;
    if (_frame >= duration) {
        if (_loop) {
            _frame = std::fmod(_frame, duration);
        } else {
            _frame = duration;
            _playing = false;
        }
    }
    apply(_frame);
}

void Tween::apply(float frame) {
    _frameIndex = static_cast<int>(frame);
    if (!_data || !_bone) return;
    const engine::Vector<FrameData*>& frames = _data->getFrameDatas();
    if (frames.size() == 0) return;
    const FrameData* from = frames.at(0);
    const FrameData* to = from;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (static_cast<float>(frames.at(i)->frameID) <= frame) {
            from = frames.at(i);
            to = i + 1 < frames.size() ? frames.at(i + 1) : from;
        }
    }
    const float span = static_cast<float>(to->frameID - from->frameID);
    const float t = span > 0 ? std::clamp((frame - static_cast<float>(from->frameID)) / span, 0.f, 1.f) : 0.f;
    auto mix = [t](float a, float b) { return a + (b - a) * t; };
    _bone->setPosition(mix(from->x, to->x), mix(from->y, to->y));
    _bone->setScaleX(mix(from->scaleX, to->scaleX));
    _bone->setScaleY(mix(from->scaleY, to->scaleY));
    _bone->setRotation(mix(from->skewX, to->skewX) * 180.f / std::numbers::pi_v<float>);
    _bone->setLocalZOrder(from->zOrder);
    if (from->displayIndex >= 0) _bone->getDisplayManager()->changeDisplayWithIndex(from->displayIndex, false);
}

// ---- ColliderDetector

ColliderDetector* ColliderDetector::create() { return create(nullptr); }

ColliderDetector* ColliderDetector::create(Bone* bone) {
    auto* detector = new ColliderDetector;
    detector->_bone = bone;
    detector->autorelease();
    return detector;
}

void ColliderDetector::addContourData(ContourData* contourData) {
    if (contourData) _contours.pushBack(contourData);
}

void ColliderDetector::addContourDataList(const engine::Vector<ContourData*>& list) {
    for (ContourData* contour : list) addContourData(contour);
}

void ColliderDetector::removeContourData(ContourData* contourData) {
    for (size_t i = 0; i < _contours.size(); ++i) {
        if (_contours.at(i) == contourData) {
            _contours.erase(i);
            return;
        }
    }
}

void ColliderDetector::updateTransform(const engine::Mat4& transform) {
    _world.clear();
    if (!_active) return;
    for (const ContourData* contour : _contours) {
        std::vector<engine::Vec2> points;
        points.reserve(contour->vertexList.size());
        for (const engine::Vec2& vertex : contour->vertexList) {
            engine::Vec3 point(vertex.x, vertex.y, 0.f);
            transform.transformPoint(&point);
            points.emplace_back(point.x, point.y);
        }
        _world.push_back(std::move(points));
    }
}

// ---- Skin

Skin* Skin::create() {
    auto* skin = new Skin;
    skin->init();
    skin->autorelease();
    return skin;
}

Skin* Skin::create(const std::string& fileName) {
    engine::Texture2D* texture = engine::TextureCache::getInstance()->addImage(fileName);
    if (!texture) return nullptr;
    Skin* skin = create();
    skin->setTexture(texture);
    skin->setTextureRect(engine::Rect(0, 0, texture->getContentSize().width, texture->getContentSize().height));
    skin->_displayName = fileName;
    return skin;
}

Skin* Skin::createWithSpriteFrameName(const std::string& frameName) {
    engine::SpriteFrame* frame = engine::SpriteFrameCache::getInstance()->getSpriteFrameByName(frameName);
    if (!frame) {
        engine::log("Skin: no sprite frame '%s'", frameName.c_str());
        return nullptr;
    }
    Skin* skin = create();
    skin->setSpriteFrame(frame);
    skin->_displayName = frameName;
    return skin;
}

Skin::~Skin() {
    if (_skinData) _skinData->release();
}

void Skin::setSkinData(BaseData* data) {
    engine::assignRetained(_skinData, data);
    if (!data) return;
    setPosition(data->x, data->y);
    setScaleX(data->scaleX);
    setScaleY(data->scaleY);
    setRotation(data->skewX * 180.f / std::numbers::pi_v<float>);
}

BatchNode* BatchNode::create() {
    auto* node = new BatchNode;
    node->init();
    node->autorelease();
    return node;
}

}  // namespace studio
