#pragma once
// A camera: a node holding a projection and a view.
//
// Projection: perspective (field of view in degrees, aspect, near and far
// planes) or orthographic over (0, 0) .. (zoomX, zoomY) between the near and far
// planes, both in OpenGL conventions (the view volume maps to the cube
// [-1, 1]^3). create() gives the director's own 2D projection (orthographic
// over the win size, z from -1024 to 1024; identity while there is no view), so
// a default camera sees what the director draws.
//
// View: the inverse of the camera's placement. The eye is the node's position
// with its z (setPosition3D); the orientation starts looking down -z
// with +y up and is turned by lookAt, and it stays while the camera moves. The
// node's 2D rotation and scale and its parents' transforms do not enter the
// view: a camera belongs at the top of its scene.
//
// The camera flag says which nodes the camera sees (DEFAULT for the default
// camera).
//
// Background: the camera's brush (engine/3d/CameraBackgroundBrush.h; a depth
// brush at depth 1 until set) paints when the camera is visited in a frame with
// a GL context, ahead of every other command of the frame. Main thread only,
// like every node.
#include <cstdint>

#include "engine/base/Mat4.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {

class CameraBackgroundBrush;

enum class CameraFlag : uint16_t {
    DEFAULT = 1,
    USER1 = 1 << 1,
    USER2 = 1 << 2,
    USER3 = 1 << 3,
    USER4 = 1 << 4,
    USER5 = 1 << 5,
    USER6 = 1 << 6,
    USER7 = 1 << 7,
    USER8 = 1 << 8,
};

class Camera : public Node {
public:
    enum class Type { PERSPECTIVE = 1, ORTHOGRAPHIC = 2 };

    // New cameras, autoreleased. A degenerate volume (zero field of view, aspect,
    // width, height or depth) logs and gives nullptr.
    static Camera* create();
    static Camera* createPerspective(float fieldOfView, float aspectRatio, float nearPlane, float farPlane);
    static Camera* createOrthographic(float zoomX, float zoomY, float nearPlane, float farPlane);

    Type getType() const { return _type; }
    const Mat4& getProjectionMatrix() const { return _projection; }
    Mat4 getViewMatrix() const;
    // Projection times view: world points to clip space.
    Mat4 getViewProjectionMatrix() const;

    // A point of a viewport back into the world: x, y in the viewport's points
    // (origin top-left, y down), z the depth from 0 (near plane) to 1 (far plane),
    // through the inverse of projection times view. The one-point form uses the
    // director's win size as the viewport. A zero-sized viewport, or a volume
    // that cannot be inverted, gives the origin.
    Vec3 unproject(const Vec3& src) const;
    void unproject(const Size& viewport, const Vec3* src, Vec3* dst) const;

    // Turns the camera to look at target from where it stands, with up as the
    // view's +y. A target on the eye or an up along the view direction logs and
    // changes nothing.
    void lookAt(const Vec3& target, const Vec3& up = Vec3(0, 1, 0));

    void setCameraFlag(CameraFlag flag) { _cameraFlag = flag; }
    CameraFlag getCameraFlag() const { return _cameraFlag; }

    // Retained; null leaves the brush as it was.
    void setBackgroundBrush(CameraBackgroundBrush* brush);
    CameraBackgroundBrush* getBackgroundBrush() const { return _clearBrush; }
    // Paints the background now, through the current GL table.
    void clearBackground();

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;
    ~Camera() override;

private:
    Camera();
    // Builds the projection; false for a degenerate volume.
    bool initPerspective(float fieldOfView, float aspectRatio, float nearPlane, float farPlane);
    bool initOrthographic(float zoomX, float zoomY, float nearPlane, float farPlane);

    Type _type = Type::ORTHOGRAPHIC;
    Mat4 _projection;
    Mat4 _orientation;   // the view's rotation: world directions to the camera's axes
    CameraFlag _cameraFlag = CameraFlag::DEFAULT;
    CameraBackgroundBrush* _clearBrush = nullptr;
    CustomCommand _backgroundCommand;
};

}  // namespace engine
