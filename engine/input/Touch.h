#pragma once
// One finger on the screen: its id and where it is, in view (frame) coordinates,
// y down from the frame's top-left corner.
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Touch : public Ref {
public:
    Touch() = default;
    void setTouchInfo(int id, float x, float y) {
        _id = id;
        _point = Vec2(x, y);
    }
    int getId() const { return _id; }
    Vec2 getLocationInView() const { return _point; }

private:
    int _id = 0;
    Vec2 _point;
};

}  // namespace engine
