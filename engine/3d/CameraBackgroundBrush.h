#pragma once
// What a camera paints before its scene: nothing (the plain brush), the depth
// buffer set to a depth (the depth brush), a colour and a depth (the colour
// brush), or a sky cube over a cleared depth (the skybox brush). A camera holds
// one brush (Camera::setBackgroundBrush) and has it paint when it is visited in a
// frame with a GL context, before the frame's other commands. Main thread only.
#include <array>
#include <string>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Camera;
class Skybox;
class TextureCube;

class CameraBackgroundBrush : public Ref {
public:
    // Brush types as scripts number them.
    enum class BrushType { NONE = 0, DEPTH = 1, COLOR = 2, SKYBOX = 3 };

    // New brushes, autoreleased. The skybox brush gives nullptr (logged) when its
    // faces do not make a cube.
    static CameraBackgroundBrush* createNoneBrush();
    static CameraBackgroundBrush* createDepthBrush(float depth = 1.f);
    static CameraBackgroundBrush* createColorBrush(const Color4F& color, float depth);
    static CameraBackgroundBrush* createSkyboxBrush(const std::string& positiveX, const std::string& negativeX,
                                                    const std::string& positiveY, const std::string& negativeY,
                                                    const std::string& positiveZ, const std::string& negativeZ);

    virtual BrushType getBrushType() const { return BrushType::NONE; }
    // Paints through the current GL table (nothing for the plain brush).
    virtual void drawBackground(Camera* camera) { (void)camera; }
    virtual bool isValid() { return true; }

protected:
    CameraBackgroundBrush() = default;
};

class CameraBackgroundDepthBrush : public CameraBackgroundBrush {
public:
    // The depth is clamped to [0, 1] when painted.
    static CameraBackgroundDepthBrush* create(float depth);
    BrushType getBrushType() const override { return BrushType::DEPTH; }
    void setDepth(float depth) { _depth = depth; }
    float getDepth() const { return _depth; }
    void drawBackground(Camera* camera) override;

protected:
    CameraBackgroundDepthBrush() = default;

private:
    float _depth = 1.f;
};

class CameraBackgroundColorBrush : public CameraBackgroundDepthBrush {
public:
    static CameraBackgroundColorBrush* create(const Color4F& color, float depth);
    BrushType getBrushType() const override { return BrushType::COLOR; }
    void setColor(const Color4F& color) { _color = color; }
    const Color4F& getColor() const { return _color; }
    void drawBackground(Camera* camera) override;

private:
    CameraBackgroundColorBrush() = default;
    Color4F _color;
};

class CameraBackgroundSkyBoxBrush : public CameraBackgroundBrush {
public:
    // Without faces the brush paints only depth until setTexture.
    static CameraBackgroundSkyBoxBrush* create();
    static CameraBackgroundSkyBoxBrush* create(const std::string& positiveX, const std::string& negativeX,
                                               const std::string& positiveY, const std::string& negativeY,
                                               const std::string& positiveZ, const std::string& negativeZ);
    ~CameraBackgroundSkyBoxBrush() override;
    BrushType getBrushType() const override { return BrushType::SKYBOX; }
    void setTexture(TextureCube* texture);   // retained
    TextureCube* getTexture() const;
    // The sky draws only while the brush is active and its texture valid (both
    // true once it has a cube).
    void setActived(bool actived) { _actived = actived; }
    bool isActived() const { return _actived; }
    void setTextureValid(bool valid) { _textureValid = valid; }
    bool isValid() override { return _textureValid; }
    void drawBackground(Camera* camera) override;

private:
    CameraBackgroundSkyBoxBrush() = default;
    Skybox* _skybox = nullptr;
    bool _actived = false;
    bool _textureValid = false;
};

}  // namespace engine
