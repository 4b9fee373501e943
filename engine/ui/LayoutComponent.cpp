#include "engine/ui/LayoutComponent.h"

#include "engine/scene/Node.h"

namespace engine::ui {

namespace {

// The low edge of an extent placed on [0, span] by an edge rule (0 none, 1 low, 2 high, 3 centre).
float placedLow(int edge, float span, float size, float lowMargin, float highMargin, float current) {
    switch (edge) {
    case 1: return lowMargin;
    case 2: return span - highMargin - size;
    case 3: return (span - size) / 2;
    default: return current;
    }
}

}  // namespace

LayoutComponent* LayoutComponent::create() {
    auto* component = new LayoutComponent;
    component->setName(kComponentName);
    component->autorelease();
    return component;
}

LayoutComponent* LayoutComponent::bindLayoutComponent(Node* node) {
    if (!node) return nullptr;
    if (auto* existing = dynamic_cast<LayoutComponent*>(node->getComponent(kComponentName))) return existing;
    LayoutComponent* component = create();
    return node->addComponent(component) ? component : nullptr;
}

void LayoutComponent::update(float delta) {
    (void)delta;
    refreshLayout();
}

void LayoutComponent::refreshLayout() {
    Node* owner = getOwner();
    if (!_active || !owner || !owner->getParent()) return;
    const Size parent = owner->getParent()->getContentSize();
    Size size = owner->getContentSize();
    if (_percentWidthEnabled) size.width = parent.width * _percentWidth;
    else if (_stretchWidth) size.width = parent.width - _leftMargin - _rightMargin;
    if (_percentHeightEnabled) size.height = parent.height * _percentHeight;
    else if (_stretchHeight) size.height = parent.height - _bottomMargin - _topMargin;
    if (size.width < 0) size.width = 0;
    if (size.height < 0) size.height = 0;
    owner->setContentSize(size);

    const Vec2& anchor = owner->getAnchorPoint();
    float x = owner->getPositionX();
    float y = owner->getPositionY();
    if (_percentXEnabled) {
        x = parent.width * _percentX;
    } else {
        const float left = x - anchor.x * size.width;
        x = placedLow(static_cast<int>(_horizontalEdge), parent.width, size.width, _leftMargin, _rightMargin, left) +
            anchor.x * size.width;
    }
    if (_percentYEnabled) {
        y = parent.height * _percentY;
    } else {
        const float bottom = y - anchor.y * size.height;
        y = placedLow(static_cast<int>(_verticalEdge), parent.height, size.height, _bottomMargin, _topMargin,
                      bottom) +
            anchor.y * size.height;
    }
    owner->setPosition(x, y);
}

}  // namespace engine::ui
