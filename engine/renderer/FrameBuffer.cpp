#include "engine/renderer/FrameBuffer.h"

#include "engine/app/GLView.h"
#include "engine/base/Log.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/Texture2D.h"

namespace engine::experimental {

namespace {
FrameBuffer* g_defaultFBO = nullptr;
}

FrameBuffer* FrameBuffer::create(uint8_t fid, unsigned int width, unsigned int height) {
    if (width == 0 || height == 0 || width > 16384 || height > 16384) return nullptr;
    auto* buffer = new FrameBuffer;
    buffer->_fid = fid;
    buffer->_width = width;
    buffer->_height = height;
    buffer->_colorTexture =
        Texture2D::create(static_cast<int>(width), static_cast<int>(height), Texture2D::PixelFormat::RGBA8888);
    buffer->autorelease();
    return buffer;
}

FrameBuffer* FrameBuffer::getOrCreateDefaultFBO(GLView* view) {
    if (!g_defaultFBO) {
        g_defaultFBO = new FrameBuffer;
        g_defaultFBO->_isDefault = true;
    }
    if (view) {
        const Size& size = view->getFrameSize();
        g_defaultFBO->_width = static_cast<unsigned int>(size.width);
        g_defaultFBO->_height = static_cast<unsigned int>(size.height);
    }
    return g_defaultFBO;
}

void FrameBuffer::applyDefaultFBO() {
    const GLFunctions& gl = GL::fn();
    if (gl.bindFramebuffer) gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
}

FrameBuffer::~FrameBuffer() {
    const GLFunctions& gl = GL::fn();
    if (_fbo != 0 && gl.deleteFramebuffers && _generation == GL::contextGeneration()) gl.deleteFramebuffers(1, &_fbo);
    if (_colorTexture) _colorTexture->release();
}

unsigned int FrameBuffer::getFBO() {
    const GLFunctions& gl = GL::fn();
    if (_isDefault || !gl.hasContext || !gl.bindFramebuffer) return 0;
    if (_fbo != 0 && _generation == GL::contextGeneration()) return _fbo;
    _generation = GL::contextGeneration();
    _fbo = 0;
    gl.genFramebuffers(1, &_fbo);
    const GLuint texture = _colorTexture->getName();
    gl.bindFramebuffer(GL_FRAMEBUFFER, _fbo);
    gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        log("FrameBuffer: frame buffer %d of %u x %u is not complete", _fid, _width, _height);
    }
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    return _fbo;
}

void FrameBuffer::applyFBO() {
    const GLFunctions& gl = GL::fn();
    if (!gl.bindFramebuffer) return;
    gl.bindFramebuffer(GL_FRAMEBUFFER, getFBO());
}

void FrameBuffer::clearFBO() {
    const GLFunctions& gl = GL::fn();
    if (!gl.bindFramebuffer) return;
    applyFBO();
    gl.clearColor(_clearColor.r, _clearColor.g, _clearColor.b, _clearColor.a);
    gl.clearDepth(_clearDepth);
    gl.clearStencil(_clearStencil);
    gl.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    applyDefaultFBO();
}

}  // namespace engine::experimental
