#pragma once
// A sky: a cube map drawn around the viewer, behind everything (at the far
// plane, with depth writes off), turned by the camera's orientation but never
// moved by it. A skybox draws when a camera is in use (set with setCamera, or the
// one whose background brush owns it) and a GL context keeps textures; otherwise
// it keeps its cube and draws nothing. Main thread only.
#include <string>

#include "engine/base/Mat4.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {

class Camera;
class GLProgram;
class TextureCube;

class Skybox : public Node {
public:
    // Autoreleased. Without paths the skybox has no cube until setTexture; with
    // them a face that does not load gives nullptr.
    static Skybox* create();
    static Skybox* create(const std::string& positiveX, const std::string& negativeX,
                          const std::string& positiveY, const std::string& negativeY,
                          const std::string& positiveZ, const std::string& negativeZ);
    ~Skybox() override;

    void setTexture(TextureCube* texture);   // retained; null: none
    TextureCube* getTexture() const { return _texture; }
    // Decodes the cube's faces again; false without a cube or when they fail.
    bool reload();
    // The camera whose orientation and projection it is seen with (retained).
    // Null: the skybox is not drawn.
    void setCamera(Camera* camera);
    Camera* getCamera() const { return _camera; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;
    // Draws the cube at once for a view-projection matrix whose translation is
    // ignored (the background brush's path). Nothing without a context or cube.
    void drawCube(const Mat4& projection, const Mat4& view);

private:
    Skybox() = default;

    TextureCube* _texture = nullptr;
    Camera* _camera = nullptr;
    GLProgram* _program = nullptr;
    CustomCommand _command;
};

}  // namespace engine
