#pragma once
// A texture of the renderer: pixel size, content size, pixel format and the
// sampling parameters record. It holds no GL object yet; pixels are uploaded
// when the renderer and its GL context arrive.
#include <cstdint>
#include <string>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Texture2D : public Ref {
public:
    // Filters and wrap modes as GL enums (GL_LINEAR = 0x2601, GL_CLAMP_TO_EDGE = 0x812F).
    struct _TexParams {
        uint32_t minFilter = 0x2601;
        uint32_t magFilter = 0x2601;
        uint32_t wrapS = 0x812F;
        uint32_t wrapT = 0x812F;
    };

    enum class PixelFormat { RGBA8888, RGB888, A8, AUTO };

    // Reference count 1 (the caller owns it); the content size is the pixel size.
    static Texture2D* create(int pixelsWide, int pixelsHigh, PixelFormat format);

    int getPixelsWide() const { return _pixelsWide; }
    int getPixelsHigh() const { return _pixelsHigh; }
    const Size& getContentSize() const { return _contentSize; }
    PixelFormat getPixelFormat() const { return _format; }
    // The full path of the image it was made from ("" for a made texture).
    const std::string& getPath() const { return _path; }
    void setPath(const std::string& path) { _path = path; }

protected:
    Texture2D() = default;

private:
    int _pixelsWide = 0;
    int _pixelsHigh = 0;
    Size _contentSize;
    PixelFormat _format = PixelFormat::RGBA8888;
    std::string _path;
};

}  // namespace engine
