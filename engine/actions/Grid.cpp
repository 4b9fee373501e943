#include "engine/actions/Grid.h"

#include "engine/base/Director.h"

namespace engine {

namespace {

constexpr double kMaxPoints = 65536;

Rect winRect() {
    const Size size = Director::getInstance()->getWinSize();
    return Rect(0, 0, size.width, size.height);
}

// Whether a grid of that size has few enough points for 16-bit indices.
bool sizeFits(const Size& gridSize, double pointsPerCell, bool shared) {
    if (!(gridSize.width >= 1) || !(gridSize.height >= 1) || gridSize.width > kMaxPoints ||
        gridSize.height > kMaxPoints) {
        return false;
    }
    const double columns = static_cast<int>(gridSize.width), rows = static_cast<int>(gridSize.height);
    const double points = shared ? (columns + 1) * (rows + 1) : columns * rows * pointsPerCell;
    return points <= kMaxPoints;
}

Size wholeCells(const Size& gridSize) {
    return Size(static_cast<float>(static_cast<int>(gridSize.width)), static_cast<float>(static_cast<int>(gridSize.height)));
}

void appendQuad(const Vec3& bl, const Vec3& br, const Vec3& tl, const Vec3& tr, float s0, float t0, float s1,
                float t1, std::vector<float>* positions, std::vector<float>* texCoords,
                std::vector<unsigned short>* indices) {
    const auto base = static_cast<unsigned short>(positions->size() / 3);
    for (const Vec3* v : {&bl, &br, &tl, &tr}) positions->insert(positions->end(), {v->x, v->y, v->z});
    texCoords->insert(texCoords->end(), {s0, t0, s1, t0, s0, t1, s1, t1});
    indices->insert(indices->end(), {base, static_cast<unsigned short>(base + 1), static_cast<unsigned short>(base + 2),
                                     static_cast<unsigned short>(base + 1), static_cast<unsigned short>(base + 3),
                                     static_cast<unsigned short>(base + 2)});
}

}  // namespace

void GridBase::setGridSize(const Size& gridSize) {
    _gridSize = gridSize;
    setGridRect(_gridRect);
}

void GridBase::setGridRect(const Rect& rect) {
    _gridRect = rect;
    if (_gridSize.width >= 1 && _gridSize.height >= 1) {
        _step = Vec2(rect.size.width / _gridSize.width, rect.size.height / _gridSize.height);
        calculateVertexPoints();
    }
}

// ---- Grid3D

Grid3D* Grid3D::create(const Size& gridSize) { return create(gridSize, winRect()); }
Grid3D* Grid3D::create(const Size& gridSize, const Rect& rect) {
    if (!sizeFits(gridSize, 1, true)) return nullptr;
    auto* grid = new Grid3D;
    grid->_gridRect = rect;
    grid->setGridSize(wholeCells(gridSize));
    grid->autorelease();
    return grid;
}

int Grid3D::indexOf(const Vec2& position) const {
    const int i = static_cast<int>(position.x), j = static_cast<int>(position.y);
    if (!(position.x >= 0) || !(position.y >= 0) || i > columns() || j > rows()) return -1;
    return i * (rows() + 1) + j;
}

Vec3 Grid3D::getVertex(const Vec2& position) const {
    const int index = indexOf(position);
    return index < 0 ? Vec3{} : _vertices[index];
}

Vec3 Grid3D::getOriginalVertex(const Vec2& position) const {
    const int index = indexOf(position);
    return index < 0 ? Vec3{} : _originalVertices[index];
}

void Grid3D::setVertex(const Vec2& position, const Vec3& vertex) {
    const int index = indexOf(position);
    if (index >= 0) _vertices[index] = vertex;
}

void Grid3D::calculateVertexPoints() {
    _vertices.clear();
    for (int i = 0; i <= columns(); ++i) {
        for (int j = 0; j <= rows(); ++j) {
            _vertices.emplace_back(_gridRect.origin.x + i * _step.x, _gridRect.origin.y + j * _step.y, 0.f);
        }
    }
    _originalVertices = _vertices;
}

void Grid3D::reuse() {
    if (_reuseGrid <= 0) return;
    _originalVertices = _vertices;
    --_reuseGrid;
}

void Grid3D::triangles(std::vector<float>* positions, std::vector<float>* texCoords,
                       std::vector<unsigned short>* indices) const {
    positions->clear();
    texCoords->clear();
    indices->clear();
    const int stride = rows() + 1;
    for (const Vec3& v : _vertices) positions->insert(positions->end(), {v.x, v.y, v.z});
    for (int i = 0; i <= columns(); ++i) {
        for (int j = 0; j <= rows(); ++j) {
            const float t = static_cast<float>(j) / rows();
            texCoords->insert(texCoords->end(), {static_cast<float>(i) / columns(), _textureFlipped ? 1.f - t : t});
        }
    }
    for (int i = 0; i < columns(); ++i) {
        for (int j = 0; j < rows(); ++j) {
            const auto bl = static_cast<unsigned short>(i * stride + j);
            const auto br = static_cast<unsigned short>((i + 1) * stride + j);
            const auto tl = static_cast<unsigned short>(bl + 1), tr = static_cast<unsigned short>(br + 1);
            indices->insert(indices->end(), {bl, br, tl, br, tr, tl});
        }
    }
}

// ---- TiledGrid3D

TiledGrid3D* TiledGrid3D::create(const Size& gridSize) { return create(gridSize, winRect()); }
TiledGrid3D* TiledGrid3D::create(const Size& gridSize, const Rect& rect) {
    if (!sizeFits(gridSize, 4, false)) return nullptr;
    auto* grid = new TiledGrid3D;
    grid->_gridRect = rect;
    grid->setGridSize(wholeCells(gridSize));
    grid->autorelease();
    return grid;
}

int TiledGrid3D::indexOf(const Vec2& position) const {
    const int i = static_cast<int>(position.x), j = static_cast<int>(position.y);
    if (!(position.x >= 0) || !(position.y >= 0) || i >= columns() || j >= rows()) return -1;
    return i * rows() + j;
}

Quad3 TiledGrid3D::getTile(const Vec2& position) const {
    const int index = indexOf(position);
    return index < 0 ? Quad3{} : _tiles[index];
}

Quad3 TiledGrid3D::getOriginalTile(const Vec2& position) const {
    const int index = indexOf(position);
    return index < 0 ? Quad3{} : _originalTiles[index];
}

void TiledGrid3D::setTile(const Vec2& position, const Quad3& tile) {
    const int index = indexOf(position);
    if (index >= 0) _tiles[index] = tile;
}

void TiledGrid3D::calculateVertexPoints() {
    _tiles.clear();
    for (int i = 0; i < columns(); ++i) {
        for (int j = 0; j < rows(); ++j) {
            const float x1 = _gridRect.origin.x + i * _step.x, x2 = x1 + _step.x;
            const float y1 = _gridRect.origin.y + j * _step.y, y2 = y1 + _step.y;
            _tiles.push_back(Quad3{Vec3(x1, y1, 0), Vec3(x2, y1, 0), Vec3(x1, y2, 0), Vec3(x2, y2, 0)});
        }
    }
    _originalTiles = _tiles;
}

void TiledGrid3D::reuse() {
    if (_reuseGrid <= 0) return;
    _originalTiles = _tiles;
    --_reuseGrid;
}

void TiledGrid3D::triangles(std::vector<float>* positions, std::vector<float>* texCoords,
                            std::vector<unsigned short>* indices) const {
    positions->clear();
    texCoords->clear();
    indices->clear();
    for (int i = 0; i < columns(); ++i) {
        for (int j = 0; j < rows(); ++j) {
            const Quad3& q = _tiles[i * rows() + j];
            float t0 = static_cast<float>(j) / rows(), t1 = static_cast<float>(j + 1) / rows();
            if (_textureFlipped) {
                t0 = 1.f - t0;
                t1 = 1.f - t1;
            }
            appendQuad(q.bl, q.br, q.tl, q.tr, static_cast<float>(i) / columns(), t0,
                       static_cast<float>(i + 1) / columns(), t1, positions, texCoords, indices);
        }
    }
}

}  // namespace engine
