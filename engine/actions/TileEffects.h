#pragma once
// Effects on the tiles of a TiledGrid3D (engine/actions/GridAction.h); t is the
// progress 0..1, (i, j) a tile's column and row, o its original corners.
//
//   ShakyTiles3D      every corner moves randomly within ±range each step
//                     (z only with shakeZ)
//   ShatteredTiles3D  the same, once, at the first step; the tiles then stay
//   ShuffleTiles      each tile slides to another cell, chosen by a shuffle of
//                     the cells from the seed (every cell gets one tile): o plus
//                     t times the way there
//   TurnOffTiles      the tiles go out (collapse to a point) one by one in an
//                     order shuffled from the seed: floor(t · count) are out
//   FadeOutTRTiles    the tiles shrink about their centres to nothing, from the
//                     bottom-left corner to the top-right: a tile's size is
//                     ((i + j) / ((columns + rows) · t))⁶, capped at 1
//   FadeOutBLTiles    from the top-right to the bottom-left:
//                     ((columns + rows) · (1 − t) / (i + j))⁶
//   FadeOutUpTiles    rows from the bottom up, shrinking in height only:
//                     (j / (rows · t))⁶
//   FadeOutDownTiles  rows from the top down: (rows · (1 − t) / j)⁶
//   WavesTiles3D      each tile rises and falls as one:
//                     z = sin(2πt·waves + (o.bl.x + o.bl.y)·0.01)·amplitude·rate
//   JumpTiles3D       tiles jump in a checker pattern: z = sin(2πt·jumps)·a for
//                     even i + j, sin(2πt·jumps + π)·a for odd
//   SplitRows         rows slide out sideways by t times the grid's width, even
//                     rows right, odd rows left
//   SplitCols         columns slide out by t times the height, even columns up,
//                     odd columns down
#include <vector>

#include "engine/actions/GridEffects.h"

namespace engine {

class ShakyTiles3D : public TiledGrid3DAction {
public:
    static ShakyTiles3D* create(float duration, const Size& gridSize, int range, bool shakeZ);
    ShakyTiles3D* clone() const override;

protected:
    void applyEffect(float t) override;
    int _range = 0;
    bool _shakeZ = false;
};

class ShatteredTiles3D : public TiledGrid3DAction {
public:
    static ShatteredTiles3D* create(float duration, const Size& gridSize, int range, bool shatterZ);
    ShatteredTiles3D* clone() const override;
    void startWithTarget(Node* target) override;

protected:
    void applyEffect(float t) override;

private:
    int _range = 0;
    bool _shatterZ = false;
    bool _once = false;
};

class ShuffleTiles : public TiledGrid3DAction {
public:
    static ShuffleTiles* create(float duration, const Size& gridSize, unsigned int seed);
    ShuffleTiles* clone() const override;
    void startWithTarget(Node* target) override;
    // The cell (column, row) tile (i, j) travels to.
    Vec2 getDestination(const Vec2& tile) const;

protected:
    void applyEffect(float t) override;

private:
    unsigned int _seed = 0;
    std::vector<int> _destinations;   // cell index per tile index (i · rows + j)
};

class TurnOffTiles : public TiledGrid3DAction {
public:
    static TurnOffTiles* create(float duration, const Size& gridSize);
    static TurnOffTiles* create(float duration, const Size& gridSize, unsigned int seed);
    TurnOffTiles* clone() const override;
    void startWithTarget(Node* target) override;
    void turnOnTile(const Vec2& position);
    void turnOffTile(const Vec2& position);

protected:
    void applyEffect(float t) override;

private:
    unsigned int _seed = 0;
    std::vector<int> _order;
};

class FadeOutTRTiles : public TiledGrid3DAction {
public:
    static FadeOutTRTiles* create(float duration, const Size& gridSize);
    FadeOutTRTiles* clone() const override;
    // The size (0..1) the tile has at progress t.
    virtual float testFunc(const Vec2& position, float t) const;
    void turnOnTile(const Vec2& position);
    void turnOffTile(const Vec2& position);
    virtual void transformTile(const Vec2& position, float distance);

protected:
    void applyEffect(float t) override;
};

class FadeOutBLTiles : public FadeOutTRTiles {
public:
    static FadeOutBLTiles* create(float duration, const Size& gridSize);
    FadeOutBLTiles* clone() const override;
    float testFunc(const Vec2& position, float t) const override;
};

class FadeOutUpTiles : public FadeOutTRTiles {
public:
    static FadeOutUpTiles* create(float duration, const Size& gridSize);
    FadeOutUpTiles* clone() const override;
    float testFunc(const Vec2& position, float t) const override;
    void transformTile(const Vec2& position, float distance) override;
};

class FadeOutDownTiles : public FadeOutUpTiles {
public:
    static FadeOutDownTiles* create(float duration, const Size& gridSize);
    FadeOutDownTiles* clone() const override;
    float testFunc(const Vec2& position, float t) const override;
};

VEXO_WAVE_EFFECT_CLASS(WavesTiles3D, TiledGrid3DAction, waves)

VEXO_WAVE_EFFECT_CLASS(JumpTiles3D, TiledGrid3DAction, jumps)

class SplitRows : public TiledGrid3DAction {
public:
    static SplitRows* create(float duration, unsigned int rows);
    SplitRows* clone() const override;

protected:
    void applyEffect(float t) override;
};

class SplitCols : public TiledGrid3DAction {
public:
    static SplitCols* create(float duration, unsigned int columns);
    SplitCols* clone() const override;

protected:
    void applyEffect(float t) override;
};

}  // namespace engine
