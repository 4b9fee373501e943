// The window settings file: any text reads as some values, and writing the three
// keys into it gives a text that reads them back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/app/WindowSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int zoom = host::readProfileInt(text, "Window", "ZoomPermille", 0);
    host::readProfileInt(text, "Window", "Pinned", 0);
    host::zoomFromPermille(zoom);
    const std::string written = host::writeProfileValues(
        text, "Window", {{"ZoomPermille", "1250"}, {"Pinned", "1"}, {"MusicMuted", "0"}});
    if (host::readProfileInt(written, "Window", "ZoomPermille", 0) != 1250 ||
        host::readProfileInt(written, "Window", "Pinned", 0) != 1 ||
        host::readProfileInt(written, "Window", "MusicMuted", 7) != 0) {
        std::abort();
    }
    return 0;
}
