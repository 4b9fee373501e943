#include "engine/scene/Layer.h"

#include <algorithm>
#include <cmath>

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

LayerGradient* LayerGradient::create() { return create(Color4B{0, 0, 0, 255}, Color4B{0, 0, 0, 255}); }

LayerGradient* LayerGradient::create(const Color4B& start, const Color4B& end) {
    return create(start, end, Vec2(0, -1));
}

LayerGradient* LayerGradient::create(const Color4B& start, const Color4B& end, const Vec2& vector) {
    auto* layer = new LayerGradient;
    return autoreleased(layer, layer->initWithColor(start, end, vector));
}

bool LayerGradient::initWithColor(const Color4B& start, const Color4B& end, const Vec2& vector) {
    const Size win = Director::getInstance()->getWinSize();
    if (!LayerColor::initWithColor(Color4B{start.r, start.g, start.b, 255}, win.width, win.height)) return false;
    _endColor = Color3B{end.r, end.g, end.b};
    _startOpacity = start.a;
    _endOpacity = end.a;
    _vector = vector;
    return true;
}

void LayerGradient::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    const Size& size = getContentSize();
    if (size.width <= 0 || size.height <= 0) return;
    // Corners in the quad's order: bottom-left, bottom-right, top-left, top-right.
    // Share of the start colour at a corner (cx, cy in -1 / +1):
    // (sqrt2 - cx * ux - cy * uy) / (2 * sqrt2), u the unit vector, stretched by
    // sqrt2 / (|ux| + |uy|) when compressed so that its extreme corner reaches 0 or 1.
    constexpr float kSqrt2 = 1.41421356f;
    const float length = _vector.length();
    float ux = 0, uy = 0;
    if (length > 0 && std::isfinite(length)) {
        ux = _vector.x / length;
        uy = _vector.y / length;
        if (_compressed) {
            const float stretch = kSqrt2 / (std::fabs(ux) + std::fabs(uy));
            ux *= stretch;
            uy *= stretch;
        }
    }
    const float opacity = getDisplayedOpacity() / 255.f;
    const Color3B start = getDisplayedColor();
    const float s[4] = {start.r / 255.f, start.g / 255.f, start.b / 255.f, _startOpacity / 255.f * opacity};
    const float e[4] = {_endColor.r / 255.f, _endColor.g / 255.f, _endColor.b / 255.f, _endOpacity / 255.f * opacity};
    const bool premultiply = _blendFunc.src == BlendFunc::ALPHA_PREMULTIPLIED.src;
    const float cornerX[4] = {-1, 1, -1, 1}, cornerY[4] = {-1, -1, 1, 1};
    Color4B colors[4];
    for (int i = 0; i < 4; ++i) {
        const float share = length > 0 ? (kSqrt2 - cornerX[i] * ux - cornerY[i] * uy) / (2 * kSqrt2) : 1.f;
        float c[4];
        for (int k = 0; k < 4; ++k) c[k] = std::clamp(e[k] + (s[k] - e[k]) * share, 0.f, 1.f);
        if (premultiply) {
            for (int k = 0; k < 3; ++k) c[k] *= c[3];
        }
        auto byte = [](float v) { return static_cast<uint8_t>(v * 255 + 0.5f); };
        colors[i] = Color4B{byte(c[0]), byte(c[1]), byte(c[2]), byte(c[3])};
    }
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), nullptr, state, _blendFunc);
    _quad.addQuad(transform, Vec2(0, 0), Vec2(size.width, size.height), colors, {0, 0, 1, 0, 0, 1, 1, 1});
    renderer->addCommand(&_quad);
}

}  // namespace engine
