#pragma once
// Texture atlases: the packer's text format read into pages and regions. Each
// page's texture comes from the engine hook skeleton_createTexture and is released
// through skeleton_disposeTexture. Any malformed line makes the whole read fail
// (null, nothing left behind).
struct spAtlas;

enum spAtlasFormat {
    SP_ATLAS_UNKNOWN_FORMAT = -1,
    SP_ATLAS_ALPHA = 0,
    SP_ATLAS_INTENSITY,
    SP_ATLAS_LUMINANCE_ALPHA,
    SP_ATLAS_RGB565,
    SP_ATLAS_RGBA4444,
    SP_ATLAS_RGB888,
    SP_ATLAS_RGBA8888,
};

enum spAtlasFilter {
    SP_ATLAS_UNKNOWN_FILTER = -1,
    SP_ATLAS_NEAREST = 0,
    SP_ATLAS_LINEAR,
    SP_ATLAS_MIPMAP,
    SP_ATLAS_MIPMAP_NEAREST_NEAREST,
    SP_ATLAS_MIPMAP_LINEAR_NEAREST,
    SP_ATLAS_MIPMAP_NEAREST_LINEAR,
    SP_ATLAS_MIPMAP_LINEAR_LINEAR,
};

enum spAtlasWrap {
    SP_ATLAS_WRAP_UNSET = 0,
    SP_ATLAS_CLAMP_TO_EDGE = 1,   // not repeated
    SP_ATLAS_REPEAT = 2,
};

struct spAtlasPage {
    spAtlas* atlas;
    char* name;            // the page image's file name as written
    int format;            // spAtlasFormat
    int minFilter, magFilter;   // spAtlasFilter
    int uWrap, vWrap;      // spAtlasWrap
    void* rendererObject;  // the page texture
    int width, height;
    spAtlasPage* next;
};

struct spAtlasRegion {
    char* name;
    int x, y, width, height;   // unrotated size
    float u, v, u2, v2;
    int offsetX, offsetY;
    int originalWidth, originalHeight;
    int index;
    int rotate;
    int flip;
    int* splits;   // 4 ints or null
    int* pads;     // 4 ints or null
    spAtlasPage* page;
    spAtlasRegion* next;
};

struct spAtlas {
    spAtlasPage* pages;
    spAtlasRegion* regions;
    void* rendererObject;
};

// Parses length bytes of atlas text; page images are looked up in dir.
spAtlas* spAtlas_create(const char* data, int length, const char* dir, void* rendererObject);
// Reads the file through the engine file hook; its folder is the image folder.
spAtlas* spAtlas_createFromFile(const char* path, void* rendererObject);
void spAtlas_dispose(spAtlas* atlas);
// First region of that exact name in file order, else null.
spAtlasRegion* spAtlas_findRegion(const spAtlas* self, const char* name);

spAtlasPage* spAtlasPage_create(spAtlas* atlas, const char* name);
void spAtlasPage_dispose(spAtlasPage* self);
spAtlasRegion* spAtlasRegion_create();
void spAtlasRegion_dispose(spAtlasRegion* self);
