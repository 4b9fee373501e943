#include "runtime/VisibleRect.h"

#include "engine/base/Director.h"

namespace runtime {

using engine::Vec2;

engine::Rect VisibleRect::getVisibleRect() {
    engine::Director* director = engine::Director::getInstance();
    const Vec2 origin = director->getVisibleOrigin();
    const engine::Size size = director->getVisibleSize();
    return engine::Rect(origin.x, origin.y, size.width, size.height);
}

namespace {
Vec2 at(float fx, float fy) {
    const engine::Rect r = VisibleRect::getVisibleRect();
    return Vec2(r.origin.x + r.size.width * fx, r.origin.y + r.size.height * fy);
}
}  // namespace

Vec2 VisibleRect::left() { return at(0.f, 0.5f); }
Vec2 VisibleRect::right() { return at(1.f, 0.5f); }
Vec2 VisibleRect::top() { return at(0.5f, 1.f); }
Vec2 VisibleRect::bottom() { return at(0.5f, 0.f); }
Vec2 VisibleRect::center() { return at(0.5f, 0.5f); }
Vec2 VisibleRect::leftTop() { return at(0.f, 1.f); }
Vec2 VisibleRect::rightTop() { return at(1.f, 1.f); }
Vec2 VisibleRect::leftBottom() { return at(0.f, 0.f); }
Vec2 VisibleRect::rightBottom() { return at(1.f, 0.f); }

}  // namespace runtime
