#include "engine/scene/Layer.h"

#include "engine/base/Director.h"
#include "engine/renderer/Renderer.h"

namespace engine {

Layer* Layer::create() {
    auto* layer = new Layer;
    return autoreleased(layer, layer->init());
}

bool Layer::init() {
    setIgnoreAnchorPointForPosition(true);
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

LayerColor* LayerColor::create() { return create(Color4B{0, 0, 0, 0}); }

LayerColor* LayerColor::create(const Color4B& color) {
    const Size win = Director::getInstance()->getWinSize();
    return create(color, win.width, win.height);
}

LayerColor* LayerColor::create(const Color4B& color, float width, float height) {
    auto* layer = new LayerColor;
    return autoreleased(layer, layer->initWithColor(color, width, height));
}

bool LayerColor::initWithColor(const Color4B& color, float width, float height) {
    if (!Layer::init()) return false;
    setColor(Color3B{color.r, color.g, color.b});
    setOpacity(color.a);
    setContentSize(Size(width, height));
    return true;
}

Color4B LayerColor::getColor4B() const {
    const Color3B& color = getColor();
    return {color.r, color.g, color.b, getOpacity()};
}

void LayerColor::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    const Size& size = getContentSize();
    if (size.width <= 0 || size.height <= 0) return;
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    // A blend that takes the source as is wants the colour premultiplied by its alpha.
    const bool premultiply = _blendFunc.src == BlendFunc::ALPHA_PREMULTIPLIED.src;
    _quad.init(getGlobalZOrder(), nullptr, state, _blendFunc);
    _quad.addQuad(transform, Vec2(0, 0), Vec2(size.width, size.height),
                  quadColor(getDisplayedColor(), getDisplayedOpacity(), premultiply), 0, 0, 1, 1);
    renderer->addCommand(&_quad);
}

}  // namespace engine
