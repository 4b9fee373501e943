#include "skeleton/Atlas.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "skeleton/extension.h"

namespace {

const char* const formatNames[] = {"Alpha", "Intensity", "LuminanceAlpha", "RGB565", "RGBA4444", "RGB888", "RGBA8888"};
const char* const filterNames[] = {"Nearest", "Linear", "MipMap", "MipMapNearestNearest", "MipMapLinearNearest",
                                   "MipMapNearestLinear", "MipMapLinearLinear"};

bool isSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A piece of the text, [begin, end).
struct Str {
    const char* begin;
    const char* end;
    bool empty() const { return begin == end; }
    std::string str() const { return std::string(begin, end); }
};

Str trim(Str s) {
    while (s.begin < s.end && isSpace(static_cast<unsigned char>(*s.begin))) ++s.begin;
    while (s.end > s.begin && isSpace(static_cast<unsigned char>(s.end[-1]))) --s.end;
    return s;
}

// The value matches a word when it is a prefix of it (an empty value matches all).
bool matches(Str value, const char* word) {
    size_t n = static_cast<size_t>(value.end - value.begin);
    return std::strncmp(value.begin, word, n) == 0 && (n <= std::strlen(word));
}

// Searched from the last name down; the first hit wins; -1 when none.
int indexOf(const char* const* names, int count, Str value) {
    for (int i = count - 1; i >= 0; --i)
        if (matches(value, names[i])) return i;
    return -1;
}

int toInt(Str s) {
    std::string text = s.str();
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

class Reader {
public:
    Reader(const char* begin, const char* end) : _pos(begin), _end(end) {}

    bool readLine(Str* line) {
        if (_pos >= _end) return false;
        const char* nl = static_cast<const char*>(std::memchr(_pos, '\n', static_cast<size_t>(_end - _pos)));
        const char* lineEnd = nl ? nl : _end;
        *line = trim(Str{_pos, lineEnd});
        _pos = nl ? nl + 1 : _end;
        return true;
    }

    // The trimmed text after the first ':' of the next line; false without one.
    bool readValue(Str* value) {
        Str line;
        if (!readLine(&line)) return false;
        const char* colon = static_cast<const char*>(std::memchr(line.begin, ':', static_cast<size_t>(line.end - line.begin)));
        if (!colon) return false;
        *value = trim(Str{colon + 1, line.end});
        return true;
    }

    // Up to four comma-separated elements (the fourth takes the rest); 0 on error.
    int readTuple(Str tuple[4]) {
        Str value;
        if (!readValue(&value)) return 0;
        const char* p = value.begin;
        int i = 0;
        for (; i < 3; ++i) {
            const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(value.end - p)));
            if (!comma) break;
            tuple[i] = trim(Str{p, comma});
            p = comma + 1;
        }
        tuple[i] = trim(Str{p, value.end});
        return i + 1;
    }

private:
    const char* _pos;
    const char* _end;
};

char* copy(Str s) {
    char* out = SK_MALLOC(char, s.end - s.begin + 1);
    std::memcpy(out, s.begin, static_cast<size_t>(s.end - s.begin));
    out[s.end - s.begin] = '\0';
    return out;
}

}  // namespace

spAtlasPage* spAtlasPage_create(spAtlas* atlas, const char* name) {
    spAtlasPage* self = SK_NEW(spAtlasPage);
    self->atlas = atlas;
    self->name = SK_STRDUP(name);
    return self;
}

void spAtlasPage_dispose(spAtlasPage* self) {
    if (!self) return;
    skeleton_disposeTexture(self);
    SK_FREE(self->name);
    SK_FREE(self);
}

spAtlasRegion* spAtlasRegion_create() { return SK_NEW(spAtlasRegion); }

void spAtlasRegion_dispose(spAtlasRegion* self) {
    if (!self) return;
    SK_FREE(self->name);
    SK_FREE(self->splits);
    SK_FREE(self->pads);
    SK_FREE(self);
}

spAtlas* spAtlas_create(const char* data, int length, const char* dir, void* rendererObject) {
    spAtlas* self = SK_NEW(spAtlas);
    self->rendererObject = rendererObject;
    if (!data || length < 0) length = 0;
    Reader reader(data, data + length);
    std::string directory = dir ? dir : "";
    bool needsSlash = !directory.empty() && directory.back() != '/' && directory.back() != '\\';

    spAtlasPage* page = nullptr;
    spAtlasPage* lastPage = nullptr;
    spAtlasRegion* lastRegion = nullptr;
    Str line, tuple[4];
    auto fail = [&]() -> spAtlas* {
        spAtlas_dispose(self);
        return nullptr;
    };
    while (reader.readLine(&line)) {
        if (line.empty()) {
            page = nullptr;
        } else if (!page) {
            std::string name = line.str();
            std::string path = directory + (needsSlash ? "/" : "") + name;
            page = spAtlasPage_create(self, name.c_str());
            if (lastPage) lastPage->next = page;
            else self->pages = page;
            lastPage = page;

            int n = reader.readTuple(tuple);
            if (n == 0) return fail();
            if (n == 2) {
                page->width = toInt(tuple[0]);
                page->height = toInt(tuple[1]);
                if (reader.readTuple(tuple) == 0) return fail();
            }
            page->format = indexOf(formatNames, 7, tuple[0]);

            n = reader.readTuple(tuple);
            if (n == 0) return fail();
            page->minFilter = indexOf(filterNames, 7, tuple[0]);
            page->magFilter = n >= 2 ? indexOf(filterNames, 7, tuple[1]) : page->minFilter;

            Str wrap;
            if (!reader.readValue(&wrap)) return fail();
            if (!matches(wrap, "none")) {
                page->uWrap = matches(wrap, "y") ? SP_ATLAS_CLAMP_TO_EDGE : SP_ATLAS_REPEAT;
                page->vWrap = matches(wrap, "x") ? SP_ATLAS_CLAMP_TO_EDGE : SP_ATLAS_REPEAT;
            }
            skeleton_createTexture(page, path.c_str());
        } else {
            spAtlasRegion* region = spAtlasRegion_create();
            if (lastRegion) lastRegion->next = region;
            else self->regions = region;
            lastRegion = region;
            region->page = page;
            region->name = copy(line);

            Str rotate;
            if (!reader.readValue(&rotate)) return fail();
            region->rotate = matches(rotate, "true") ? 1 : 0;

            if (reader.readTuple(tuple) != 2) return fail();
            region->x = toInt(tuple[0]);
            region->y = toInt(tuple[1]);
            if (reader.readTuple(tuple) != 2) return fail();
            region->width = toInt(tuple[0]);
            region->height = toInt(tuple[1]);

            float pageWidth = static_cast<float>(page->width), pageHeight = static_cast<float>(page->height);
            float x = static_cast<float>(region->x), y = static_cast<float>(region->y);
            float w = static_cast<float>(region->width), h = static_cast<float>(region->height);
            region->u = x / pageWidth;
            region->v = y / pageHeight;
            if (region->rotate) {
                region->u2 = (x + h) / pageWidth;
                region->v2 = (y + w) / pageHeight;
            } else {
                region->u2 = (x + w) / pageWidth;
                region->v2 = (y + h) / pageHeight;
            }

            int n = reader.readTuple(tuple);
            if (n == 0) return fail();
            if (n == 4) {
                region->splits = SK_MALLOC(int, 4);
                for (int i = 0; i < 4; ++i) region->splits[i] = toInt(tuple[i]);
                n = reader.readTuple(tuple);
                if (n == 0) return fail();
                if (n == 4) {
                    region->pads = SK_MALLOC(int, 4);
                    for (int i = 0; i < 4; ++i) region->pads[i] = toInt(tuple[i]);
                    n = reader.readTuple(tuple);
                    if (n == 0) return fail();
                }
            }
            if (n != 2) return fail();
            region->originalWidth = toInt(tuple[0]);
            region->originalHeight = toInt(tuple[1]);

            if (reader.readTuple(tuple) != 2) return fail();
            region->offsetX = toInt(tuple[0]);
            region->offsetY = toInt(tuple[1]);

            Str index;
            if (!reader.readValue(&index)) return fail();
            region->index = toInt(index);
        }
    }
    return self;
}

spAtlas* spAtlas_createFromFile(const char* path, void* rendererObject) {
    if (!path) return nullptr;
    const char* slash = std::strrchr(path, '/');
    const char* backslash = std::strrchr(path, '\\');
    const char* last = !slash ? backslash : (!backslash ? slash : (slash > backslash ? slash : backslash));
    std::string dir;
    if (last) dir.assign(path, last == path ? last + 1 : last);
    int length = 0;
    char* data = skeleton_readFileHook(path, &length);
    if (!data) return nullptr;
    spAtlas* atlas = spAtlas_create(data, length, dir.c_str(), rendererObject);
    SK_FREE(data);
    return atlas;
}

void spAtlas_dispose(spAtlas* self) {
    if (!self) return;
    for (spAtlasPage* page = self->pages; page;) {
        spAtlasPage* next = page->next;
        spAtlasPage_dispose(page);
        page = next;
    }
    for (spAtlasRegion* region = self->regions; region;) {
        spAtlasRegion* next = region->next;
        spAtlasRegion_dispose(region);
        region = next;
    }
    SK_FREE(self);
}

spAtlasRegion* spAtlas_findRegion(const spAtlas* self, const char* name) {
    if (!name) return nullptr;
    for (spAtlasRegion* region = self->regions; region; region = region->next)
        if (std::strcmp(region->name, name) == 0) return region;
    return nullptr;
}
