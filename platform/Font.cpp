#include "platform/Font.h"

#include <map>

namespace platform {

namespace {

struct Fonts {
    std::map<HFONT, FontDesc> live;
    HFONT next = 0x5000;
    DWORD failWith = 0;
};

Fonts& fonts() {
    static Fonts f;
    return f;
}

}  // namespace

HFONT createFont(const FontDesc& desc) {
    Fonts& f = fonts();
    if (f.failWith) {
        setLastError(f.failWith);
        f.failWith = 0;
        return 0;
    }
    const HFONT font = ++f.next;
    f.live[font] = desc;
    return font;
}

bool deleteObject(HFONT font) {
    if (fonts().live.erase(font) == 0) {
        setLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

bool getFontDesc(HFONT font, FontDesc* desc) {
    auto it = fonts().live.find(font);
    if (it == fonts().live.end()) return false;
    *desc = it->second;
    return true;
}

int liveFontCount() { return static_cast<int>(fonts().live.size()); }

void failNextCreateFont(DWORD error) { fonts().failWith = error; }

void resetFontModel() {
    fonts().live.clear();
    fonts().failWith = 0;
}

}  // namespace platform
