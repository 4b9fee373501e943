#pragma once
// Fonts of the window-system model: records with a live count, so tests see leaks.
// Main thread only.
#include <cstdint>
#include <string>

#include "platform/LastError.h"

namespace platform {

using HFONT = uintptr_t;   // 0 is "no font"

struct FontDesc {
    int height = 0;           // negative: character height in pixels
    int weight = 400;
    int clipPrecision = 0;
    std::string faceName;     // UTF-8
};

// 0 (and getLastError()) on failure.
HFONT createFont(const FontDesc& desc);
bool deleteObject(HFONT font);
// The font's description; false for a dead handle.
bool getFontDesc(HFONT font, FontDesc* desc);
int liveFontCount();
// The next createFont fails with `error` (tests).
void failNextCreateFont(DWORD error);
void resetFontModel();

}  // namespace platform
