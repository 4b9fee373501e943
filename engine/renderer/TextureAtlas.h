#pragma once
// A texture (retained) with a list of quads cut from it: the quads an atlas node
// draws. The capacity is how many quads it may hold; the total how many it
// holds (0 .. capacity), indices 0 .. total - 1. Operations with an index or an
// amount outside those bounds change nothing and answer false. A capacity is
// at most kMaxCapacity quads.
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Texture2D;

// One quad in its node's space, with its colour and the texture rectangle
// (u0, v0) .. (u1, v1), v0 at the bottom.
struct AtlasQuad {
    Vec2 bottomLeft;
    Vec2 topRight;
    Color4B color{255, 255, 255, 255};
    float u0 = 0.f, v0 = 0.f, u1 = 0.f, v1 = 0.f;
};

class TextureAtlas : public Ref {
public:
    static constexpr int kMaxCapacity = 1 << 21;   // about 75 MB of quads

    // Autoreleased; nullptr when the image does not load or the capacity is past
    // kMaxCapacity (the texture may be null with createWithTexture: the quads
    // then draw in plain colour).
    static TextureAtlas* create(const std::string& file, int capacity);
    static TextureAtlas* createWithTexture(Texture2D* texture, int capacity);
    ~TextureAtlas() override;

    Texture2D* getTexture() const { return _texture; }
    void setTexture(Texture2D* texture);
    int getTotalQuads() const { return static_cast<int>(_quads.size()); }
    int getCapacity() const { return _capacity; }
    const std::vector<AtlasQuad>& getQuads() const { return _quads; }
    // Set by every change; the owner clears it once it has redrawn.
    bool isDirty() const { return _dirty; }
    void setDirty(bool dirty) { _dirty = dirty; }

    // Sets quad index, or appends it when index is the total.
    bool updateQuad(const AtlasQuad& quad, int index);
    bool insertQuad(const AtlasQuad& quad, int index);
    // Moves the quad at `from` to `to`, the others closing up.
    bool insertQuadFromIndex(int from, int to);
    bool removeQuadAtIndex(int index);
    bool removeQuadsAtIndex(int index, int amount);
    void removeAllQuads();
    // A new capacity; quads past it are dropped. Negative or past kMaxCapacity: false.
    bool resizeCapacity(int capacity);
    // Appends empty quads (within the capacity).
    bool increaseTotalQuadsWith(int amount);
    // Moves `amount` quads from oldIndex to start at newIndex.
    bool moveQuadsFromIndex(int oldIndex, int amount, int newIndex);
    // Clears `amount` quads from index on (they stay, empty).
    bool fillWithEmptyQuadsFromIndex(int index, int amount);

private:
    TextureAtlas() = default;
    Texture2D* _texture = nullptr;
    int _capacity = 0;
    std::vector<AtlasQuad> _quads;
    bool _dirty = false;
};

}  // namespace engine
