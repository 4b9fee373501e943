#pragma once
// The wait screen's pictures, PNG files kept inside the program (drawn by
// tools/waitscreen/make_art.py at build time): the backgrounds 1280x800 and
// 800x1280, the play button and its shine, 452x544 each.
#include <cstddef>

namespace runtime {

struct EmbeddedImage {
    const unsigned char* data;
    size_t size;
};

extern const EmbeddedImage kWaitBackgroundLandscape;
extern const EmbeddedImage kWaitBackgroundPortrait;
extern const EmbeddedImage kWaitPlayButton;
extern const EmbeddedImage kWaitPlayShine;

}  // namespace runtime
