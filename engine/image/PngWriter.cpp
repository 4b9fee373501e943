#include "engine/image/PngWriter.h"

#include <png.h>

#include <cstdio>
#include <cstring>

#include "engine/base/Log.h"

namespace engine {

bool writePngBottomUp(const std::string& path, const unsigned char* rgba, int width, int height) {
    if (!rgba || width <= 0 || height <= 0) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    // A negative row stride: the buffer's first row is the image's bottom row.
    const png_int_32 stride = -static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba, stride, nullptr)) {
        log("PNG: cannot write %s: %s", path.c_str(), image.message);
        png_image_free(&image);
        std::remove(path.c_str());
        return false;
    }
    return true;
}

}  // namespace engine
