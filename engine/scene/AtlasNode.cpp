#include "engine/scene/AtlasNode.h"

#include <algorithm>

#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"

namespace engine {

AtlasNode* AtlasNode::create(const std::string& tile, int tileWidth, int tileHeight, int itemsToRender) {
    auto* node = new AtlasNode;
    if (!node->initWithTileFile(tile, tileWidth, tileHeight, itemsToRender)) {
        delete node;
        return nullptr;
    }
    node->autorelease();
    return node;
}

AtlasNode::~AtlasNode() {
    if (_textureAtlas) _textureAtlas->release();
}

bool AtlasNode::initWithTileFile(const std::string& tile, int tileWidth, int tileHeight, int itemsToRender) {
    Texture2D* texture = TextureCache::getInstance()->addImage(tile);
    return texture && initWithTexture(texture, tileWidth, tileHeight, itemsToRender);
}

bool AtlasNode::initWithTexture(Texture2D* texture, int tileWidth, int tileHeight, int itemsToRender) {
    if (tileWidth <= 0 || tileHeight <= 0 || itemsToRender > TextureAtlas::kMaxCapacity || !init()) return false;
    _itemWidth = tileWidth;
    _itemHeight = tileHeight;
    setTextureAtlas(TextureAtlas::createWithTexture(texture, std::max(itemsToRender, 0)));
    setTexture(texture);
    return true;
}

void AtlasNode::setTextureAtlas(TextureAtlas* atlas) { assignRetained(_textureAtlas, atlas); }

void AtlasNode::setTexture(Texture2D* texture) {
    if (!_textureAtlas) return;
    _textureAtlas->setTexture(texture);
    const Size size = texture ? texture->getContentSize() : Size();
    _itemsPerRow = _itemWidth > 0 ? static_cast<int>(size.width) / _itemWidth : 0;
    _itemsPerColumn = _itemHeight > 0 ? static_cast<int>(size.height) / _itemHeight : 0;
}

int AtlasNode::getQuadsToDraw() const {
    const int total = _textureAtlas ? _textureAtlas->getTotalQuads() : 0;
    return _quadsToDraw < 0 ? total : std::min(_quadsToDraw, total);
}

void AtlasNode::itemTexCoords(int index, AtlasQuad* quad) const {
    Texture2D* texture = getTexture();
    const Size size = texture ? texture->getContentSize() : Size();
    if (_itemsPerRow <= 0 || size.width <= 0.f || size.height <= 0.f) return;
    const int column = index % _itemsPerRow, row = index / _itemsPerRow;
    quad->u0 = static_cast<float>(column * _itemWidth) / size.width;
    quad->u1 = static_cast<float>((column + 1) * _itemWidth) / size.width;
    // v runs up from the bottom; rows are counted from the top.
    quad->v1 = 1.f - static_cast<float>(row * _itemHeight) / size.height;
    quad->v0 = 1.f - static_cast<float>((row + 1) * _itemHeight) / size.height;
}

void AtlasNode::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    const int count = getQuadsToDraw();
    if (count <= 0) return;
    Texture2D* texture = getTexture();
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), texture, state, getBlendFunc());
    const bool premultiply = texture && texture->hasPremultipliedAlpha();
    const Color4B tint = quadColor(getDisplayedColor(), getDisplayedOpacity(), premultiply);
    const std::vector<AtlasQuad>& quads = _textureAtlas->getQuads();
    for (int i = 0; i < count; ++i) {
        const AtlasQuad& q = quads[static_cast<size_t>(i)];
        const Color4B color{static_cast<uint8_t>(q.color.r * tint.r / 255), static_cast<uint8_t>(q.color.g * tint.g / 255),
                            static_cast<uint8_t>(q.color.b * tint.b / 255), static_cast<uint8_t>(q.color.a * tint.a / 255)};
        _quad.addQuad(transform, q.bottomLeft, q.topRight, color, q.u0, q.v0, q.u1, q.v1);
    }
    renderer->addCommand(&_quad);
    _textureAtlas->setDirty(false);
}

}  // namespace engine
