#include "engine/builder/NodeLoaderLibrary.h"

#include "engine/extension/ControlButton.h"
#include "engine/label/Label.h"
#include "engine/scene/BlendNodes.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Menu.h"
#include "engine/scene/MenuItemLabel.h"
#include "engine/scene/MenuItemSprite.h"
#include "engine/scene/MenuItemToggle.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Scale9Sprite.h"

namespace builder {

namespace {

using engine::Node;
using studio::JsonFields;
using Object = rapidjson::Value;

// [r, g, b, a] of whole numbers from 0 to 255.
bool readColor(const Object& object, const char* key, const JsonFields& fields, engine::Color4B* out) {
    const Object* value = engine::jsonMember(object, key);
    if (!value) return true;
    if (!value->IsArray() || value->Size() != 4) return fields.refuse(std::string("'") + key + "' is not [r, g, b, a]");
    uint8_t parts[4] = {};
    for (unsigned i = 0; i < 4; ++i) {
        const Object& part = (*value)[i];
        if (!part.IsInt() || part.GetInt() < 0 || part.GetInt() > 255) {
            return fields.refuse(std::string("'") + key + "' has a part that is not from 0 to 255");
        }
        parts[i] = static_cast<uint8_t>(part.GetInt());
    }
    *out = engine::Color4B{parts[0], parts[1], parts[2], parts[3]};
    return true;
}

Node* plainNode(const Object&, const JsonFields&) { return Node::create(); }
Node* layer(const Object&, const JsonFields&) { return engine::Layer::create(); }
Node* menu(const Object&, const JsonFields&) { return engine::Menu::create(); }

Node* layerColor(const Object& object, const JsonFields& fields) {
    engine::Color4B color{0, 0, 0, 0};
    if (!readColor(object, "color", fields, &color)) return nullptr;
    return engine::LayerColor::create(color);
}

Node* layerGradient(const Object& object, const JsonFields& fields) {
    engine::Color4B start{0, 0, 0, 255}, end{0, 0, 0, 255};
    if (!readColor(object, "color", fields, &start) || !readColor(object, "endColor", fields, &end)) return nullptr;
    return engine::LayerGradient::create(start, end);
}

Node* label(const Object& object, const JsonFields& fields) {
    std::string text, font;
    float size = engine::Label::kDefaultFontSize;
    if (!fields.readString(object, "text", &text) || !fields.readString(object, "fontName", &font) ||
        !fields.readFloat(object, "fontSize", &size)) {
        return nullptr;
    }
    return engine::Label::createWithSystemFont(text, font, size);
}

Node* sprite(const Object& object, const JsonFields& fields) {
    std::string image;
    if (!fields.readString(object, "image", &image)) return nullptr;
    Node* node = image.empty() ? nullptr : engine::Sprite::create(image);
    if (!node && !image.empty()) fields.refuse("no image '" + image + "'");
    return image.empty() ? engine::Sprite::create() : node;
}

Node* scale9Sprite(const Object& object, const JsonFields& fields) {
    std::string image;
    if (!fields.readString(object, "image", &image)) return nullptr;
    return image.empty() ? engine::ui::Scale9Sprite::create() : engine::ui::Scale9Sprite::create(image);
}

Node* menuItemFont(const Object& object, const JsonFields& fields) {
    std::string text;
    if (!fields.readString(object, "text", &text)) return nullptr;
    return engine::MenuItemFont::create(text);
}

Node* menuItemLabel(const Object& object, const JsonFields& fields) {
    Node* text = label(object, fields);
    return text ? engine::MenuItemLabel::create(text) : nullptr;
}

Node* menuItemAtlasFont(const Object& object, const JsonFields& fields) {
    std::string text, charMap, start;
    int width = 0, height = 0;
    if (!fields.readString(object, "text", &text) || !fields.readString(object, "charMap", &charMap) ||
        !fields.readInt(object, "itemWidth", 0, 4096, &width) || !fields.readInt(object, "itemHeight", 0, 4096, &height) ||
        !fields.readString(object, "startChar", &start)) {
        return nullptr;
    }
    if (start.size() > 1) {
        fields.refuse("'startChar' is more than one character");
        return nullptr;
    }
    return engine::MenuItemAtlasFont::create(text, charMap, width, height, start.empty() ? ' ' : start[0]);
}

bool readImages(const Object& object, const JsonFields& fields, std::string (&images)[3]) {
    return fields.readString(object, "normal", &images[0]) && fields.readString(object, "selected", &images[1]) &&
           fields.readString(object, "disabled", &images[2]);
}

Node* menuItemImage(const Object& object, const JsonFields& fields) {
    std::string images[3];
    if (!readImages(object, fields, images)) return nullptr;
    return engine::MenuItemImage::create(images[0], images[1], images[2]);
}

Node* menuItemSprite(const Object& object, const JsonFields& fields) {
    std::string images[3];
    if (!readImages(object, fields, images)) return nullptr;
    Node* sprites[3] = {};
    for (int i = 0; i < 3; ++i) sprites[i] = images[i].empty() ? nullptr : engine::Sprite::create(images[i]);
    return engine::MenuItemSprite::create(sprites[0] ? sprites[0] : engine::Sprite::create(), sprites[1], sprites[2]);
}

Node* controlButton(const Object& object, const JsonFields& fields) {
    std::string title, font;
    float size = engine::Label::kDefaultFontSize;
    if (!fields.readString(object, "text", &title) || !fields.readString(object, "fontName", &font) ||
        !fields.readFloat(object, "fontSize", &size)) {
        return nullptr;
    }
    return engine::extension::ControlButton::create(title, font, size);
}

Node* menuItemToggle(const Object&, const JsonFields&) { return engine::MenuItemToggle::create(); }

Node* particles(const Object& object, const JsonFields& fields) {
    std::string file;
    int count = 0;
    float duration = -1.f;
    if (!fields.readString(object, "file", &file) ||
        !fields.readInt(object, "totalParticles", 0, 1000000, &count) || !fields.readFloat(object, "duration", &duration)) {
        return nullptr;
    }
    engine::ParticleSystemQuad* system = engine::ParticleSystemQuad::create(file);
    system->setTotalParticles(count);
    system->setDuration(duration);
    return system;
}

}  // namespace

NodeLoaderLibrary::NodeLoaderLibrary()
    : _loaders{{"Node", plainNode},
               {"Layer", layer},
               {"Menu", menu},
               {"LayerColor", layerColor},
               {"LayerGradient", layerGradient},
               {"Label", label},
               {"Sprite", sprite},
               {"Scale9Sprite", scale9Sprite},
               {"MenuItemFont", menuItemFont},
               {"MenuItemLabel", menuItemLabel},
               {"MenuItemAtlasFont", menuItemAtlasFont},
               {"MenuItemImage", menuItemImage},
               {"MenuItemSprite", menuItemSprite},
               {"MenuItemToggle", menuItemToggle},
               {"ParticleSystemQuad", particles},
               {"ControlButton", controlButton}} {}

NodeLoaderLibrary* NodeLoaderLibrary::getInstance() {
    static NodeLoaderLibrary instance;
    return &instance;
}

NodeLoaderLibrary::Loader NodeLoaderLibrary::loaderFor(const std::string& type) const {
    auto found = _loaders.find(type);
    return found != _loaders.end() ? found->second : nullptr;
}

}  // namespace builder
