#pragma once
// Loading the images of the widgets through the texture cache.
#include <string>

#include "engine/renderer/Texture2D.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

// Loads `file` (a local file; sprite-sheet frames are not kept by this engine) and
// makes it the texture in *slot, retained, releasing the old one. An empty name
// clears the slot. A missing image, or a frame name, logs "<owner>: cannot load
// image '<file>'" and leaves the slot as it was. Answers whether *slot now holds
// the new image.
bool replaceWidgetImage(Texture2D** slot, const std::string& file, TextureResType type, const char* owner);

}  // namespace engine::ui
