#pragma once
// The grids through which a NodeGrid (engine/scene/NodeGrid.h) draws its
// content: the content is laid over a rectangle cut into gridSize.width columns
// and gridSize.height rows, and each grid point (or each tile's corners) may be
// moved in space by the grid actions (engine/actions/GridAction.h). Texture
// coordinates stay with the original points, so moving a point distorts the
// picture. Points are in the rectangle's space: column i, row j starts at
// (rect.x + i * step.x, rect.y + j * step.y, 0), step = rect size / grid size.
//
// Grid3D keeps one point per grid corner ((columns + 1) x (rows + 1)), shared by
// the cells around it; TiledGrid3D keeps four corners per cell, so tiles move
// apart. Positions are asked by (column, row); one outside the grid reads as
// zero and writes nothing.
//
// reuse(): while the reuse count is positive the grid keeps its current points
// as the original ones of the next action (counted down by one each time), so
// effects can follow each other on one grid. Main thread only.
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

struct Quad3 {
    Vec3 bl, br, tl, tr;
    constexpr bool operator==(const Quad3& o) const { return bl == o.bl && br == o.br && tl == o.tl && tr == o.tr; }
};

class GridBase : public Ref {
public:
    bool isActive() const { return _active; }
    void setActive(bool active) { _active = active; }
    int getReuseGrid() const { return _reuseGrid; }
    void setReuseGrid(int reuseGrid) { _reuseGrid = reuseGrid; }
    const Size& getGridSize() const { return _gridSize; }
    // A new size lays the points out afresh.
    void setGridSize(const Size& gridSize);
    const Vec2& getStep() const { return _step; }
    void setStep(const Vec2& step) { _step = step; }
    const Rect& getGridRect() const { return _gridRect; }
    void setGridRect(const Rect& rect);
    bool isTextureFlipped() const { return _textureFlipped; }
    void setTextureFlipped(bool flipped) { _textureFlipped = flipped; }

    int columns() const { return static_cast<int>(_gridSize.width); }
    int rows() const { return static_cast<int>(_gridSize.height); }

    // Lays every point at its original place (and makes it the original).
    virtual void calculateVertexPoints() = 0;
    virtual void reuse() = 0;

    // Triangles to draw, in the rectangle's space: positions (3 floats a vertex),
    // texture coordinates (2 floats, 0..1 over the rectangle, t up unless
    // flipped) and indices, three a triangle.
    virtual void triangles(std::vector<float>* positions, std::vector<float>* texCoords,
                           std::vector<unsigned short>* indices) const = 0;

protected:
    GridBase() = default;

    Size _gridSize;
    Rect _gridRect;
    Vec2 _step;
    bool _active = false;
    bool _textureFlipped = false;
    int _reuseGrid = 0;
};

class Grid3D : public GridBase {
public:
    // Autoreleased; null for a size under one column or row, or more points than
    // 16-bit indices reach (65536). The rectangle defaults to the win size.
    static Grid3D* create(const Size& gridSize);
    static Grid3D* create(const Size& gridSize, const Rect& rect);

    Vec3 getVertex(const Vec2& position) const;
    Vec3 getOriginalVertex(const Vec2& position) const;
    void setVertex(const Vec2& position, const Vec3& vertex);
    void setNeedDepthTestForBlit(bool need) { _needDepthTest = need; }
    bool getNeedDepthTestForBlit() const { return _needDepthTest; }

    void calculateVertexPoints() override;
    void reuse() override;
    void triangles(std::vector<float>* positions, std::vector<float>* texCoords,
                   std::vector<unsigned short>* indices) const override;

private:
    Grid3D() = default;
    int indexOf(const Vec2& position) const;   // -1 outside

    std::vector<Vec3> _vertices, _originalVertices;
    bool _needDepthTest = false;
};

class TiledGrid3D : public GridBase {
public:
    static TiledGrid3D* create(const Size& gridSize);
    static TiledGrid3D* create(const Size& gridSize, const Rect& rect);

    Quad3 getTile(const Vec2& position) const;
    Quad3 getOriginalTile(const Vec2& position) const;
    void setTile(const Vec2& position, const Quad3& tile);

    void calculateVertexPoints() override;
    void reuse() override;
    void triangles(std::vector<float>* positions, std::vector<float>* texCoords,
                   std::vector<unsigned short>* indices) const override;

private:
    TiledGrid3D() = default;
    int indexOf(const Vec2& position) const;

    std::vector<Quad3> _tiles, _originalTiles;
};

}  // namespace engine
