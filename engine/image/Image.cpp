#include "engine/image/Image.h"

#include <png.h>
// libjpeg's header needs size_t and FILE declared first.
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"

namespace engine {
namespace {

// The decoded pixels (the bytes this decoder writes: 3 or 4 per pixel) may be at
// most so many times the file's size; only a corrupt or hostile file claims more
// (a few KB naming a 16384 x 16384 image), and it is refused before pixel memory is
// allocated. PNG: deflate expands at most about 1032 to 1, and a byte-sized sample
// becomes at most 4 bytes (grey with transparency to RGBA), so every image of 8 or
// 16 bits a sample stays below 4160; images of 1, 2 or 4 bits of one flat colour
// may exceed it, as hostile ones do. JPEG: a baseline or full progressive file
// spends at least two bits on an 8 x 8 block (a DC code and an end of block), which
// is 768 to 1 at most for grey turned to RGB; only a file made of DC scans alone
// goes further.
constexpr uint64_t kMaxPngExpansion = 4160;
constexpr uint64_t kMaxJpegExpansion = 1040;

bool expansionAllowed(uint64_t decodedBytes, size_t fileSize, uint64_t maxExpansion) {
    return decodedBytes <= maxExpansion * static_cast<uint64_t>(fileSize);
}

// libjpeg's own working memory (its buffers and, for progressive files, the whole
// image's coefficients): enough for any image within the size limits but the
// largest progressive ones.
constexpr long kMaxJpegWorkMemory = 256L << 20;

// The GL's largest texture side, 0 until a context tells it.
std::atomic<int> g_textureSide{0};

bool sizeAllowed(int width, int height) {
    const int side = Image::maxSide();
    return width > 0 && height > 0 && width <= side && height <= side &&
           static_cast<long long>(width) * height <= Image::maxPixels();
}

// Colours times alpha, rounded: what premultiplied blending expects.
void premultiply(std::vector<unsigned char>& rgba) {
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        unsigned alpha = rgba[i + 3];
        if (alpha == 255) continue;
        for (size_t c = 0; c < 3; ++c) rgba[i + c] = static_cast<unsigned char>((rgba[i + c] * alpha + 127) / 255);
    }
}

struct Pixels {
    std::vector<unsigned char> bytes;
    bool alpha = false;
};

struct PngSource {
    const unsigned char* data;
    size_t size;
    size_t at;
};

void pngRead(png_structp png, png_bytep out, size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->at) png_error(png, "data cut short");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

[[noreturn]] void pngFail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngIgnore(png_structp, png_const_charp) {}

// The two steps below hold libpng's setjmp. No object with a destructor lives in
// their frames, so a longjmp out of libpng skips nothing; decodePng, which owns
// the memory, never sees a jump.

// Reads the header and asks for 8-bit RGB or RGBA rows: palettes and low bit
// depths expanded, transparency chunks turned into alpha, 16-bit samples scaled,
// grey spread to three channels, interlace passes assembled.
bool pngReadHeader(png_structp png, png_infop info, int* channels, size_t* rowBytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *channels = png_get_channels(png, info);
    *rowBytes = png_get_rowbytes(png, info);
    return true;
}

// Interlaced images need every row in place while the passes fill them in; the
// others are read row by row and appended, so the memory of a file that is cut
// short is never touched past its data (out has the whole image reserved).
bool pngReadRows(png_structp png, bool interlaced, png_bytepp rows, png_bytep row, size_t rowBytes, size_t height,
                 std::vector<unsigned char>* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    if (interlaced) {
        png_read_image(png, rows);
        return true;
    }
    for (size_t y = 0; y < height; ++y) {
        png_read_row(png, row, nullptr);
        out->insert(out->end(), row, row + rowBytes);
    }
    return true;
}

bool decodePng(const unsigned char* data, size_t size, int width, int height, Pixels& out) {
    // Even the smallest output, RGB, may not be claimed by a file this size.
    if (!expansionAllowed(static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3, size, kMaxPngExpansion))
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFail, pngIgnore);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    PngSource source{data, size, 0};
    bool ok = info != nullptr;
    if (ok) {
        png_set_read_fn(png, &source, pngRead);
        png_set_user_limits(png, Image::kMaxSide, Image::kMaxSide);
        int channels = 0;
        size_t rowBytes = 0;
        ok = pngReadHeader(png, info, &channels, &rowBytes) &&
             png_get_image_width(png, info) == static_cast<png_uint_32>(width) &&
             png_get_image_height(png, info) == static_cast<png_uint_32>(height) && (channels == 3 || channels == 4) &&
             rowBytes == static_cast<size_t>(width) * static_cast<size_t>(channels) &&
             expansionAllowed(static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(height), size, kMaxPngExpansion);
        if (ok) {
            try {
                bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
                auto rowCount = static_cast<size_t>(height);
                std::vector<png_bytep> rows;
                std::vector<unsigned char> row;
                if (interlaced) {
                    out.bytes.resize(rowBytes * rowCount);
                    rows.resize(rowCount);
                    for (size_t y = 0; y < rowCount; ++y) rows[y] = out.bytes.data() + y * rowBytes;
                } else {
                    out.bytes.reserve(rowBytes * rowCount);
                    row.resize(rowBytes);
                }
                ok = pngReadRows(png, interlaced, rows.data(), row.data(), rowBytes, rowCount, &out.bytes);
            } catch (const std::bad_alloc&) {
                ok = false;
            }
            out.alpha = channels == 4;
        }
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return ok;
}

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// Corrupt-data warnings (level -1: data cut short, damaged segments) fail the
// read instead of leaving grey filler in the image; trace messages are dropped.
void jpegMessage(j_common_ptr info, int level) {
    if (level < 0) jpegFail(info);
}

// No object with a destructor lives in this frame, so libjpeg's longjmp on an
// error skips nothing. Rows are appended to out (reserved by the caller) as they
// are decoded: a file cut short never has the rest of its image touched.
bool decodeJpegInto(const unsigned char* data, size_t size, int width, int height, std::vector<unsigned char>* out) {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegFail;
    errors.base.emit_message = jpegMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    // Progressive files buffer the whole image's coefficients: a header claiming
    // more than this fails instead of allocating it.
    info.mem->max_memory_to_use = kMaxJpegWorkMemory;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width != static_cast<JDIMENSION>(width) || info.image_height != static_cast<JDIMENSION>(height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width != info.image_width) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    size_t stride = static_cast<size_t>(width) * 3;
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               static_cast<JDIMENSION>(stride), 1);
    while (info.output_scanline < info.output_height) {
        if (jpeg_read_scanlines(&info, row, 1) != 1) break;
        out->insert(out->end(), row[0], row[0] + stride);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out->size() == stride * static_cast<size_t>(height);
}

bool decodeJpeg(const unsigned char* data, size_t size, int width, int height, Pixels& out) {
    if (!expansionAllowed(static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3, size, kMaxJpegExpansion))
        return false;
    try {
        out.bytes.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    out.alpha = false;
    return decodeJpegInto(data, size, width, height, &out.bytes);
}

}  // namespace

void Image::clear() {
    _width = _height = 0;
    _fileType = ImageFileType::UNKNOWN;
    _renderFormat = Texture2D::PixelFormat::AUTO;
    _premultipliedAlpha = false;
    std::vector<unsigned char>().swap(_data);
}

bool Image::initWithImageFile(const std::string& path) {
    clear();
    FileUtils* files = FileUtils::getInstance();
    std::string fullPath = files->fullPathForFilename(path);
    if (fullPath.empty()) return false;
    Data data = files->getDataFromFile(fullPath);
    if (data.isNull()) return false;
    return decode(data.getBytes(), static_cast<size_t>(data.getSize()), path);
}

bool Image::initWithImageData(const unsigned char* data, size_t size) {
    clear();
    return decode(data, size, "image data");
}

void Image::setMaxTextureSide(int side) { g_textureSide.store(side > 0 ? side : 0); }

int Image::maxSide() {
    const int side = g_textureSide.load();
    return side > 0 && side < kMaxSide ? side : kMaxSide;
}

long long Image::maxPixels() {
    const long long side = g_textureSide.load();
    return side > 0 && side * side < kMaxPixels ? side * side : kMaxPixels;
}

bool Image::decode(const unsigned char* data, size_t size, const std::string& name) {
    int width = 0, height = 0;
    ImageFileType type = readImageHeader(data, size, &width, &height);
    if (type == ImageFileType::UNKNOWN || width <= 0 || height <= 0) return false;
    if (!sizeAllowed(width, height)) {
        log("Image: %s is %d x %d pixels, beyond what one image may take", name.c_str(), width, height);
        return false;
    }
    Pixels pixels;
    bool ok = type == ImageFileType::PNG ? decodePng(data, size, width, height, pixels)
                                         : decodeJpeg(data, size, width, height, pixels);
    if (!ok) return false;
    if (pixels.alpha) premultiply(pixels.bytes);
    _width = width;
    _height = height;
    _fileType = type;
    _renderFormat = pixels.alpha ? Texture2D::PixelFormat::RGBA8888 : Texture2D::PixelFormat::RGB888;
    _premultipliedAlpha = pixels.alpha;
    _data = std::move(pixels.bytes);
    return true;
}

}  // namespace engine
