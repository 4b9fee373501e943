#include "support/ImageEncoder.h"

#include <png.h>
// libjpeg's header needs size_t and FILE declared first.
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace testsupport {
namespace {

void appendBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// libpng's default error handler aborts when no jump target is set.
void pngAbort(png_structp, png_const_charp message) {
    std::fprintf(stderr, "test PNG writer: %s\n", message);
    std::abort();
}

}  // namespace

std::vector<unsigned char> encodePng(const PngImage& image) {
    std::vector<unsigned char> out;
    int channels = image.colorType == 2 ? 3 : image.colorType == 4 ? 2 : image.colorType == 6 ? 4 : 1;
    size_t rowBytes = (static_cast<size_t>(image.width) * channels * image.bitDepth + 7) / 8;
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (size_t y = 0; y < rows.size(); ++y) rows[y] = const_cast<png_bytep>(image.rows.data() + y * rowBytes);
    if (image.rows.size() != rowBytes * rows.size()) pngAbort(nullptr, "row bytes do not match the size");

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngAbort, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                 image.bitDepth, image.colorType, image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < image.palette.size(); i += 3)
        palette.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!image.alphas.empty())
        png_set_tRNS(png, info, image.alphas.data(), static_cast<int>(image.alphas.size()), nullptr);
    png_write_info(png, info);
    png_write_image(png, rows.data());   // runs the interlace passes itself
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<unsigned char> encodeBlankPng(int width, int height) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.rows.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    return encodePng(image);
}

std::vector<unsigned char> encodeJpeg(int width, int height, int components, const std::vector<unsigned char>& pixels,
                                      int quality) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);   // its error_exit ends the process
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    size_t stride = static_cast<size_t>(width) * static_cast<size_t>(components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace testsupport
