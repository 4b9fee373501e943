#include "engine/scene/Camera.h"

#include <limits>

#include "engine/3d/CameraBackgroundBrush.h"
#include "engine/base/Director.h"
#include "engine/renderer/GLFunctions.h"

namespace engine {

Camera::Camera() {
    _clearBrush = CameraBackgroundBrush::createDepthBrush(1.f);
    _clearBrush->retain();
}

Camera::~Camera() { _clearBrush->release(); }

void Camera::setBackgroundBrush(CameraBackgroundBrush* brush) {
    if (!brush || brush == _clearBrush) return;
    brush->retain();
    _clearBrush->release();
    _clearBrush = brush;
}

void Camera::clearBackground() { _clearBrush->drawBackground(this); }

void Camera::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (isVisible() && GL::fn().hasContext) {
        // Ahead of every command the frame queues.
        _backgroundCommand.init(-std::numeric_limits<float>::max());
        _backgroundCommand.func = [this] { clearBackground(); };
        renderer->addCommand(&_backgroundCommand);
    }
    Node::visit(renderer, parentTransform, parentFlags);
}

Camera* Camera::create() {
    auto* camera = new Camera;
    const Size size = Director::getInstance()->getWinSize();
    // The director's own 2D projection; identity while there is no view, as the director's.
    if (size.width > 0 && size.height > 0) camera->initOrthographic(size.width, size.height, -1024, 1024);
    return autoreleased(camera, true);
}

Camera* Camera::createPerspective(float fieldOfView, float aspectRatio, float nearPlane, float farPlane) {
    auto* camera = new Camera;
    return autoreleased(camera, camera->initPerspective(fieldOfView, aspectRatio, nearPlane, farPlane));
}

Camera* Camera::createOrthographic(float zoomX, float zoomY, float nearPlane, float farPlane) {
    auto* camera = new Camera;
    return autoreleased(camera, camera->initOrthographic(zoomX, zoomY, nearPlane, farPlane));
}

// The matrix builders leave a degenerate volume's output untouched: a projection
// still all zero was refused (they have logged why).
bool Camera::initPerspective(float fieldOfView, float aspectRatio, float nearPlane, float farPlane) {
    Mat4 projection = Mat4::ZERO;
    Mat4::createPerspective(fieldOfView, aspectRatio, nearPlane, farPlane, &projection);
    if (projection == Mat4::ZERO) return false;
    _projection = projection;
    _type = Type::PERSPECTIVE;
    return true;
}

bool Camera::initOrthographic(float zoomX, float zoomY, float nearPlane, float farPlane) {
    Mat4 projection = Mat4::ZERO;
    Mat4::createOrthographicOffCenter(0, zoomX, 0, zoomY, nearPlane, farPlane, &projection);
    if (projection == Mat4::ZERO) return false;
    _projection = projection;
    _type = Type::ORTHOGRAPHIC;
    return true;
}

void Camera::lookAt(const Vec3& target, const Vec3& up) {
    // The rotation alone: the same frame seen from the origin.
    Mat4 orientation = Mat4::ZERO;
    Mat4::createLookAt(Vec3(), target - getPosition3D(), up, &orientation);
    if (orientation != Mat4::ZERO) _orientation = orientation;
}

Mat4 Camera::getViewMatrix() const {
    Mat4 view = _orientation;
    view.translate(getPosition3D() * -1.f);
    return view;
}

Mat4 Camera::getViewProjectionMatrix() const { return _projection * getViewMatrix(); }

Vec3 Camera::unproject(const Vec3& src) const {
    Vec3 dst;
    unproject(Director::getInstance()->getWinSize(), &src, &dst);
    return dst;
}

void Camera::unproject(const Size& viewport, const Vec3* src, Vec3* dst) const {
    if (!src || !dst) return;
    *dst = Vec3();
    if (!(viewport.width > 0) || !(viewport.height > 0)) return;
    Mat4 inverse = getViewProjectionMatrix();
    if (!inverse.inverse()) return;
    // Viewport to normalised device coordinates ([-1, 1] on each axis, y up).
    Vec4 clip(src->x / viewport.width * 2.f - 1.f, (viewport.height - src->y) / viewport.height * 2.f - 1.f,
              src->z * 2.f - 1.f, 1.f);
    inverse.transformVector(&clip);
    if (clip.w == 0.f) return;
    *dst = Vec3(clip.x / clip.w, clip.y / clip.w, clip.z / clip.w);
}

}  // namespace engine
