#include "engine/ui/Slider.h"

#include <algorithm>
#include <cmath>

namespace engine::ui {

Slider* Slider::create() {
    auto* slider = new Slider;
    return autoreleased(slider, slider->init());
}

bool Slider::init() {
    if (!Widget::init()) return false;
    setTouchEnabled(true);
    return true;
}

void Slider::setPercent(int percent) { _percent = std::clamp(percent, 0, _maxPercent); }

void Slider::setMaxPercent(int maximum) {
    _maxPercent = std::max(maximum, 1);
    _percent = std::min(_percent, _maxPercent);
}

void Slider::followTouch(const Vec2& worldPoint) {
    const float width = getContentSize().width;
    const float x = convertToNodeSpace(worldPoint).x;
    const float fraction = width > 0 ? std::clamp(x / width, 0.f, 1.f) : 0.f;
    const int percent = static_cast<int>(std::lround(fraction * static_cast<float>(_maxPercent)));
    if (percent == _percent) return;
    _percent = percent;
    fire(EventType::ON_PERCENTAGE_CHANGED);
}

void Slider::pushDownEvent() {
    Widget::pushDownEvent();
    fire(EventType::ON_SLIDEBALL_DOWN);
    followTouch(getTouchBeganPosition());
}

void Slider::moveEvent() {
    Widget::moveEvent();
    followTouch(getTouchMovePosition());
}

void Slider::releaseUpEvent() {
    Widget::releaseUpEvent();
    fire(EventType::ON_SLIDEBALL_UP);
}

void Slider::cancelUpEvent() {
    Widget::cancelUpEvent();
    fire(EventType::ON_SLIDEBALL_CANCEL);
}

void Slider::fire(EventType type) {
    if (!_eventListener) return;
    retain();
    const ccSliderCallback listener = _eventListener;
    listener(this, type);
    release();
}

}  // namespace engine::ui
