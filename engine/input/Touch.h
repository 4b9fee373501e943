#pragma once
// One finger on the screen: its id and where it is, in view (frame) coordinates,
// y down from the frame's top-left corner. The GL locations are in design points,
// y up, as the director converts them.
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Touch : public Ref {
public:
    Touch() = default;
    // The first call sets the start point too; later calls keep the previous one.
    void setTouchInfo(int id, float x, float y) {
        _id = id;
        _previousPoint = _started ? _point : Vec2(x, y);
        _point = Vec2(x, y);
        if (!_started) _startPoint = _point;
        _started = true;
    }
    int getId() const { return _id; }
    Vec2 getLocationInView() const { return _point; }
    Vec2 getPreviousLocationInView() const { return _previousPoint; }
    Vec2 getStartLocationInView() const { return _startPoint; }
    Vec2 getLocation() const;
    Vec2 getPreviousLocation() const;
    Vec2 getStartLocation() const;
    // The move since the previous location, in design points.
    Vec2 getDelta() const;

private:
    int _id = 0;
    bool _started = false;
    Vec2 _point;
    Vec2 _previousPoint;
    Vec2 _startPoint;
};

}  // namespace engine
