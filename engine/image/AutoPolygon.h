#pragma once
// Traces the pixels of an image that hold something into triangles a sprite
// can draw instead of its whole rectangle.
//
// generatePolygon reads the image, takes the pixels of the rectangle (in image
// pixels, top row 0; an empty rectangle means the whole image; the rectangle is
// cut to the image) whose alpha exceeds threshold x 255 (images without alpha
// are all opaque), follows every outline of those pixels along their edges
// (marching squares: vertices at pixel corners; pixels touching only at a
// corner trace apart),
// drops the outlines of holes (the polygon around them covers them), simplifies
// each outline to within epsilon pixels (a point of a run is kept only while it
// lies farther than epsilon from the chord of the run: Ramer-Douglas-Peucker),
// and cuts each simplified outline into triangles by ear clipping.
// The result's rect is the rectangle used, its filename the file name given;
// vertex positions are in the sprite's space (origin at the rectangle's
// bottom-left, y up), texture coordinates over the whole image (v = 0 at the
// top row). An unreadable or fully transparent image gives no triangles.
//
// Not reference counted: whoever creates one deletes it. Not thread-safe.
#include <string>
#include <utility>
#include <vector>

#include "engine/base/Types.h"
#include "engine/renderer/PolygonInfo.h"

namespace engine {

class AutoPolygon {
public:
    static constexpr float kDefaultEpsilon = 2.0f;
    static constexpr float kDefaultThreshold = 0.05f;

    explicit AutoPolygon(std::string filename) : _filename(std::move(filename)) {}

    const std::string& getFilename() const { return _filename; }

    static PolygonInfo generatePolygon(const std::string& filename, const Rect& rect = Rect(),
                                       float epsilon = kDefaultEpsilon, float threshold = kDefaultThreshold);

    // The steps, on their own. Outlines are closed (the last point joins the
    // first). reduce keeps the points of a closed outline that lie farther than
    // epsilon from the chords between kept points; fewer than 3 left gives none.
    static std::vector<Vec2> reduce(const std::vector<Vec2>& outline, float epsilon);
    // Indices of triangles covering a simple polygon (either winding); a
    // polygon that cannot be cut (self-crossing) gives the triangles found
    // until then.
    static std::vector<uint16_t> triangulate(const std::vector<Vec2>& polygon);

private:
    std::string _filename;
};

}  // namespace engine
