#include "engine/renderer/Texture2D.h"

namespace engine {

Texture2D* Texture2D::create(int pixelsWide, int pixelsHigh, PixelFormat format) {
    auto* texture = new Texture2D();
    texture->_pixelsWide = pixelsWide;
    texture->_pixelsHigh = pixelsHigh;
    texture->_contentSize = Size(static_cast<float>(pixelsWide), static_cast<float>(pixelsHigh));
    texture->_format = format;
    return texture;
}

}  // namespace engine
