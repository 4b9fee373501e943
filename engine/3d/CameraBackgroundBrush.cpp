#include "engine/3d/CameraBackgroundBrush.h"

#include <algorithm>

#include "engine/3d/Skybox.h"
#include "engine/3d/TextureCube.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/scene/Camera.h"

namespace engine {

namespace {

void clearDepth(float depth) {
    const GLFunctions& gl = GL::fn();
    gl.depthMask(GL_TRUE);
    gl.clearDepth(std::clamp(depth, 0.f, 1.f));
}

}  // namespace

CameraBackgroundBrush* CameraBackgroundBrush::createNoneBrush() {
    return autoreleased(new CameraBackgroundBrush);
}

CameraBackgroundBrush* CameraBackgroundBrush::createDepthBrush(float depth) {
    return CameraBackgroundDepthBrush::create(depth);
}

CameraBackgroundBrush* CameraBackgroundBrush::createColorBrush(const Color4F& color, float depth) {
    return CameraBackgroundColorBrush::create(color, depth);
}

CameraBackgroundBrush* CameraBackgroundBrush::createSkyboxBrush(const std::string& positiveX,
                                                                const std::string& negativeX,
                                                                const std::string& positiveY,
                                                                const std::string& negativeY,
                                                                const std::string& positiveZ,
                                                                const std::string& negativeZ) {
    return CameraBackgroundSkyBoxBrush::create(positiveX, negativeX, positiveY, negativeY, positiveZ, negativeZ);
}

CameraBackgroundDepthBrush* CameraBackgroundDepthBrush::create(float depth) {
    auto* brush = new CameraBackgroundDepthBrush;
    brush->setDepth(depth);
    return autoreleased(brush);
}

void CameraBackgroundDepthBrush::drawBackground(Camera* camera) {
    (void)camera;
    clearDepth(_depth);
    GL::fn().clear(GL_DEPTH_BUFFER_BIT);
}

CameraBackgroundColorBrush* CameraBackgroundColorBrush::create(const Color4F& color, float depth) {
    auto* brush = new CameraBackgroundColorBrush;
    brush->setColor(color);
    brush->setDepth(depth);
    return autoreleased(brush);
}

void CameraBackgroundColorBrush::drawBackground(Camera* camera) {
    (void)camera;
    const GLFunctions& gl = GL::fn();
    clearDepth(getDepth());
    gl.clearColor(_color.r, _color.g, _color.b, _color.a);
    gl.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

CameraBackgroundSkyBoxBrush* CameraBackgroundSkyBoxBrush::create() {
    auto* brush = new CameraBackgroundSkyBoxBrush;
    brush->_skybox = Skybox::create();
    brush->_skybox->retain();
    return autoreleased(brush);
}

CameraBackgroundSkyBoxBrush* CameraBackgroundSkyBoxBrush::create(const std::string& positiveX,
                                                                 const std::string& negativeX,
                                                                 const std::string& positiveY,
                                                                 const std::string& negativeY,
                                                                 const std::string& positiveZ,
                                                                 const std::string& negativeZ) {
    TextureCube* cube = TextureCube::create(positiveX, negativeX, positiveY, negativeY, positiveZ, negativeZ);
    if (!cube) return nullptr;
    CameraBackgroundSkyBoxBrush* brush = create();
    brush->setTexture(cube);
    return brush;
}

CameraBackgroundSkyBoxBrush::~CameraBackgroundSkyBoxBrush() {
    if (_skybox) _skybox->release();
}

void CameraBackgroundSkyBoxBrush::setTexture(TextureCube* texture) {
    _skybox->setTexture(texture);
    _actived = texture != nullptr;
    _textureValid = texture != nullptr;
}

TextureCube* CameraBackgroundSkyBoxBrush::getTexture() const { return _skybox->getTexture(); }

void CameraBackgroundSkyBoxBrush::drawBackground(Camera* camera) {
    clearDepth(1.f);
    GL::fn().clear(GL_DEPTH_BUFFER_BIT);
    if (!_actived || !_textureValid || !camera) return;
    _skybox->drawCube(camera->getProjectionMatrix(), camera->getViewMatrix());
}

}  // namespace engine
