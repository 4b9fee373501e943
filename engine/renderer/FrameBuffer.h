#pragma once
// An off-screen frame buffer: a colour texture of its size that drawing goes to
// while it is applied, with the colour, depth and stencil values it is cleared
// to. The GL objects are made on first use under a context with frame buffer
// objects (again after the context changed); elsewhere applying and clearing do
// nothing. The default frame buffer is the window's own (GL name 0, the view's
// frame size). Main thread only.
#include <cstdint>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {
class GLView;
class Texture2D;
}  // namespace engine

namespace engine::experimental {

class FrameBuffer : public Ref {
public:
    // Autoreleased; nullptr for a zero width or height.
    static FrameBuffer* create(uint8_t fid, unsigned int width, unsigned int height);
    // The window's frame buffer, made once and kept (sized from the view when given).
    static FrameBuffer* getOrCreateDefaultFBO(GLView* view);
    // Drawing goes to the window again.
    static void applyDefaultFBO();
    ~FrameBuffer() override;

    uint8_t getFID() const { return _fid; }
    unsigned int getWidth() const { return _width; }
    unsigned int getHeight() const { return _height; }
    bool isDefaultFBO() const { return _isDefault; }
    void setClearColor(const Color4F& color) { _clearColor = color; }
    const Color4F& getClearColor() const { return _clearColor; }
    void setClearDepth(float depth) { _clearDepth = depth; }
    float getClearDepth() const { return _clearDepth; }
    void setClearStencil(int8_t stencil) { _clearStencil = stencil; }
    int8_t getClearStencil() const { return _clearStencil; }
    // The colour texture drawn into (null for the default frame buffer).
    Texture2D* getRenderTarget() const { return _colorTexture; }
    // The GL name in the current context (made on first use); 0 for the default
    // one and without frame buffer objects.
    unsigned int getFBO();

    // Drawing goes here from now on.
    void applyFBO();
    // Clears to the clear values, then drawing goes to the window again.
    void clearFBO();

private:
    FrameBuffer() = default;

    uint8_t _fid = 0;
    unsigned int _width = 0;
    unsigned int _height = 0;
    bool _isDefault = false;
    Color4F _clearColor{0, 0, 0, 1};
    float _clearDepth = 1;
    int8_t _clearStencil = 0;
    Texture2D* _colorTexture = nullptr;
    unsigned int _fbo = 0;
    uint32_t _generation = 0;
};

}  // namespace engine::experimental
