#include "engine/ui/WidgetImage.h"

#include "engine/base/Log.h"
#include "engine/renderer/TextureCache.h"

namespace engine::ui {

bool replaceWidgetImage(Texture2D** slot, const std::string& file, TextureResType type, const char* owner) {
    if (file.empty()) {
        if (*slot) (*slot)->release();
        *slot = nullptr;
        return false;
    }
    Texture2D* texture = type == TextureResType::LOCAL ? TextureCache::getInstance()->addImage(file) : nullptr;
    if (!texture) {
        log("%s: cannot load image '%s'", owner, file.c_str());
        return false;
    }
    texture->retain();
    if (*slot) (*slot)->release();
    *slot = texture;
    return true;
}

}  // namespace engine::ui
