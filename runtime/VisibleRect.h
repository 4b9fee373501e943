#pragma once
// Points of the director's visible area (origin and size), in design points.
#include "engine/base/Types.h"

namespace runtime {

class VisibleRect {
public:
    static engine::Rect getVisibleRect();
    static engine::Vec2 left();
    static engine::Vec2 right();
    static engine::Vec2 top();
    static engine::Vec2 bottom();
    static engine::Vec2 center();
    static engine::Vec2 leftTop();
    static engine::Vec2 rightTop();
    static engine::Vec2 leftBottom();
    static engine::Vec2 rightBottom();
};

}  // namespace runtime
