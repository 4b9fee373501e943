#pragma once
// A texture record of the engine: pixel size, content size and pixel format. It
// holds no GL object yet; the renderer uploads pixels when a GL context exists.
#include <string>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Texture2D : public Ref {
public:
    enum class PixelFormat { RGBA8888, RGB888, A8, AUTO };

    // Reference count 1 (the caller owns it).
    static Texture2D* create(int pixelsWide, int pixelsHigh, PixelFormat format);

    int getPixelsWide() const { return _pixelsWide; }
    int getPixelsHigh() const { return _pixelsHigh; }
    const Size& getContentSize() const { return _contentSize; }
    PixelFormat getPixelFormat() const { return _format; }
    const std::string& getPath() const { return _path; }
    void setPath(const std::string& path) { _path = path; }

private:
    Texture2D() = default;

    int _pixelsWide = 0;
    int _pixelsHigh = 0;
    Size _contentSize;
    PixelFormat _format = PixelFormat::RGBA8888;
    std::string _path;
};

}  // namespace engine
