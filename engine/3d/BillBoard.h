#pragma once
// A sprite that always faces the viewer: it is drawn with its position and scale
// but none of the turns of its own or its parents' transforms. Modes as scripts
// number them: VIEW_POINT_ORIENTED (0) faces the eye, VIEW_PLANE_ORIENTED (1)
// lies parallel to the view plane; the director's view looks straight down the
// z axis, so both come to the same upright sprite there. Main thread only.
#include <string>

#include "engine/scene/Sprite.h"

namespace engine {

class BillBoard : public Sprite {
public:
    enum class Mode { VIEW_POINT_ORIENTED = 0, VIEW_PLANE_ORIENTED = 1 };

    // Autoreleased; nullptr for a file that does not load (logged by the cache).
    static BillBoard* create(Mode mode = Mode::VIEW_POINT_ORIENTED);
    static BillBoard* create(const std::string& filename, Mode mode = Mode::VIEW_POINT_ORIENTED);
    static BillBoard* createWithTexture(Texture2D* texture, Mode mode = Mode::VIEW_POINT_ORIENTED);

    void setMode(Mode mode) { _mode = mode; }
    Mode getMode() const { return _mode; }
    // The transform it is drawn with: the given one without its turns.
    static Mat4 facingTransform(const Mat4& transform);
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

private:
    BillBoard() = default;
    Mode _mode = Mode::VIEW_POINT_ORIENTED;
};

}  // namespace engine
