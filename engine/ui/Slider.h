#pragma once
// A horizontal slider: a percent from 0 to the maximum (default 100) along its
// content width. Touch-enabled from the start. A touch that begins on it sets the
// percent from the touch's place (left edge 0, right edge the maximum, clamped),
// and each move does the same. The event listener hears SLIDEBALL_DOWN when the
// touch begins, PERCENTAGE_CHANGED whenever a touch changes the percent,
// SLIDEBALL_UP on a release inside and SLIDEBALL_CANCEL on a release outside or a
// cancel. setPercent changes it silently.
#include <functional>

#include "engine/ui/Widget.h"

namespace engine::ui {

class Slider : public Widget {
public:
    enum class EventType { ON_PERCENTAGE_CHANGED = 0, ON_SLIDEBALL_DOWN = 1, ON_SLIDEBALL_UP = 2, ON_SLIDEBALL_CANCEL = 3 };
    using ccSliderCallback = std::function<void(Ref*, EventType)>;

    static Slider* create();   // autoreleased, percent 0
    // Clamped to 0..maximum.
    void setPercent(int percent);
    int getPercent() const { return _percent; }
    // At least 1.
    void setMaxPercent(int maximum);
    int getMaxPercent() const { return _maxPercent; }

    void addEventListener(const ccSliderCallback& callback) { _eventListener = callback; }
    const ccSliderCallback& getEventListener() const { return _eventListener; }

protected:
    Slider() = default;
    bool init() override;
    void pushDownEvent() override;
    void moveEvent() override;
    void releaseUpEvent() override;
    void cancelUpEvent() override;

private:
    void followTouch(const Vec2& worldPoint);
    void fire(EventType type);
    int _percent = 0;
    int _maxPercent = 100;
    ccSliderCallback _eventListener;
};

}  // namespace engine::ui
