#pragma once
// A node drawing quads cut from one texture: its texture atlas (retained)
// holds the quads, items of itemWidth x itemHeight cut row by row from the
// texture (itemsPerRow x itemsPerColumn of them). It draws the first
// quadsToDraw quads (all of them until set) with its colour and opacity.
// Subclasses (the atlas label, the tile map atlas) fill the quads in
// updateAtlasValues.
#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/TextureAtlas.h"
#include "engine/scene/BlendNodes.h"

namespace engine {

class AtlasNode : public BlendNode<AtlasNode> {
public:
    // Autoreleased; nullptr when the texture does not load or an item size is
    // not positive.
    static AtlasNode* create(const std::string& tile, int tileWidth, int tileHeight, int itemsToRender);
    ~AtlasNode() override;

    TextureAtlas* getTextureAtlas() const { return _textureAtlas; }
    void setTextureAtlas(TextureAtlas* atlas);
    Texture2D* getTexture() const { return _textureAtlas ? _textureAtlas->getTexture() : nullptr; }
    void setTexture(Texture2D* texture);
    int getQuadsToDraw() const;
    void setQuadsToDraw(int count) { _quadsToDraw = count; }
    virtual void updateAtlasValues() {}

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    AtlasNode() = default;
    friend class BlendNode<AtlasNode>;
    bool initWithTileFile(const std::string& tile, int tileWidth, int tileHeight, int itemsToRender);
    bool initWithTexture(Texture2D* texture, int tileWidth, int tileHeight, int itemsToRender);
    // The texture rectangle of item `index` (row by row from the top-left).
    void itemTexCoords(int index, AtlasQuad* quad) const;

    int _itemWidth = 0, _itemHeight = 0;
    int _itemsPerRow = 0, _itemsPerColumn = 0;

private:
    TextureAtlas* _textureAtlas = nullptr;
    int _quadsToDraw = -1;   // -1: all
    QuadCommand _quad;
};

}  // namespace engine
