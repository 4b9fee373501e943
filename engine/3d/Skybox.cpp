#include "engine/3d/Skybox.h"

#include "engine/3d/TextureCube.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgram.h"
#include "engine/scene/Camera.h"

namespace engine {

namespace {

// The cube's position is its own direction of lookup; depth is pinned to the far plane.
const char kVertexSource[] = R"(
attribute vec4 a_position;
uniform mat4 u_viewProjection;
varying vec3 v_direction;
void main() {
    vec4 position = u_viewProjection * vec4(a_position.xyz, 1.0);
    gl_Position = position.xyww;
    v_direction = a_position.xyz;
}
)";

const char kFragmentSource[] = R"(
uniform samplerCube u_cube;
varying vec3 v_direction;
void main() {
    gl_FragColor = textureCube(u_cube, v_direction);
}
)";

// 12 triangles of the unit cube around the origin.
const float kCubeVertices[] = {
    -1, 1, -1, -1, -1, -1, 1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1,   // -z
    -1, -1, 1, -1, -1, -1, -1, 1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1,   // -x
    1, -1, -1, 1, -1, 1, 1, 1, 1, 1, 1, 1, 1, 1, -1, 1, -1, -1,         // +x
    -1, -1, 1, -1, 1, 1, 1, 1, 1, 1, 1, 1, 1, -1, 1, -1, -1, 1,         // +z
    -1, 1, -1, 1, 1, -1, 1, 1, 1, 1, 1, 1, -1, 1, 1, -1, 1, -1,         // +y
    -1, -1, -1, -1, -1, 1, 1, -1, -1, 1, -1, -1, -1, -1, 1, 1, -1, 1,   // -y
};

}  // namespace

Skybox* Skybox::create() {
    auto* skybox = new Skybox;
    return autoreleased(skybox, skybox->init());
}

Skybox* Skybox::create(const std::string& positiveX, const std::string& negativeX, const std::string& positiveY,
                       const std::string& negativeY, const std::string& positiveZ, const std::string& negativeZ) {
    TextureCube* cube = TextureCube::create(positiveX, negativeX, positiveY, negativeY, positiveZ, negativeZ);
    if (!cube) return nullptr;
    Skybox* skybox = create();
    if (skybox) skybox->setTexture(cube);
    return skybox;
}

Skybox::~Skybox() {
    if (_camera) _camera->release();
    if (_texture) _texture->release();
    if (_program) _program->release();
}

void Skybox::setTexture(TextureCube* texture) { assignRetained(_texture, texture); }

void Skybox::setCamera(Camera* camera) { assignRetained(_camera, camera); }

bool Skybox::reload() { return _texture && _texture->reloadTexture(); }

void Skybox::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    (void)transform;
    (void)flags;
    if (!_camera || !_texture || !GL::fn().hasContext) return;
    _command.init(getGlobalZOrder());
    _command.func = [this] { drawCube(_camera->getProjectionMatrix(), _camera->getViewMatrix()); };
    renderer->addCommand(&_command);
}

void Skybox::drawCube(const Mat4& projection, const Mat4& view) {
    const GLFunctions& gl = GL::fn();
    if (!gl.hasContext || !_texture) return;
    if (!_program) {
        _program = GLProgram::createWithByteArrays(kVertexSource, kFragmentSource);
        _program->retain();
    }
    const GLuint cube = _texture->getName();
    if (_program->getProgram() == 0 || cube == 0) return;
    // The view's rotation alone: the sky does not move with the camera.
    Mat4 rotation = view;
    rotation.m[12] = rotation.m[13] = rotation.m[14] = 0;
    const Mat4 viewProjection = projection * rotation;
    _program->use();
    gl.uniformMatrix4fv(_program->getUniformLocation("u_viewProjection"), 1, GL_FALSE, viewProjection.m);
    gl.uniform1i(_program->getUniformLocation("u_cube"), 0);
    gl.activeTexture(GL_TEXTURE0);
    gl.bindTexture(GL_TEXTURE_CUBE_MAP, cube);
    GL::bindVAO(0);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_POSITION, 3, GL_FLOAT, GL_FALSE, 0, kCubeVertices);
    gl.depthMask(GL_FALSE);
    gl.enable(GL_DEPTH_TEST);
    gl.depthFunc(GL_LEQUAL);
    gl.drawArrays(GL_TRIANGLES, 0, 36);
    gl.depthMask(GL_TRUE);
    gl.depthFunc(GL_LESS);
    gl.disable(GL_DEPTH_TEST);
    GL::invalidateStateCache();
}

}  // namespace engine
