#pragma once
// A collision shape of the 3D physics world, shared by any number of rigid bodies
// (each retains it). The shape owns its Bullet shape and whatever that shape reads
// from: a mesh's triangles and a height field's heights are copies, so the caller's
// arrays may go at once. A compound shape retains its children.
//
// The creators answer null (and log) for input Bullet cannot take: no triangles,
// fewer than three hull points, a height field under 2 x 2 samples or too large.
// Main thread only.
#include <utility>
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

class btCollisionShape;
class btTriangleMesh;

namespace engine {

class Physics3DShape : public Ref {
public:
    enum class ShapeType {
        UNKNOWN = 0,
        BOX,
        SPHERE,
        CYLINDER,
        CAPSULE,
        CONVEX,
        MESH,
        HEIGHT_FIELD,
        COMPOUND,
    };

    // A box of that full size (its extent), centred on the body.
    static Physics3DShape* createBox(const Vec3& extent);
    static Physics3DShape* createSphere(float radius);
    // Upright along y: the cylinder's or capsule's full height (a capsule's
    // height excludes its two caps).
    static Physics3DShape* createCylinder(float radius, float height);
    static Physics3DShape* createCapsule(float radius, float height);
    // The convex hull of the points.
    static Physics3DShape* createConvexHull(const Vec3* points, int numPoints);
    // A static triangle mesh: numTriangles triangles, three corners each.
    static Physics3DShape* createMesh(const Vec3* triangles, int numTriangles);
    // A grid of heightStickWidth x heightStickLength samples (row by row along the
    // length), centred on the origin, heights along y. Float data is taken as the
    // heights themselves; otherwise each value is a byte (0 to 255) scaled by
    // heightScale. minHeight and maxHeight bound the heights (the grid is centred
    // between them).
    static Physics3DShape* createHeightfield(int heightStickWidth, int heightStickLength, const float* heightfieldData,
                                             float heightScale, float minHeight, float maxHeight, bool useFloatData,
                                             bool flipQuadEdges, bool useDiamondSubdivision = false);
    // The children placed by their transforms; null children are skipped.
    static Physics3DShape* createCompoundShape(const std::vector<std::pair<Physics3DShape*, Mat4>>& shapes);

    ~Physics3DShape() override;

    ShapeType getShapeType() const { return _shapeType; }
    btCollisionShape* getbtShape() const { return _btShape; }

    // For a box the extent, a sphere the radius, a cylinder or capsule the radius
    // and height as given.
    const Vec3& getExtent() const { return _extent; }
    float getRadius() const { return _radius; }
    float getHeight() const { return _height; }
    // A compound shape's children (retained) in the order given.
    const std::vector<Physics3DShape*>& getChildren() const { return _children; }

protected:
    Physics3DShape() = default;

private:
    static Physics3DShape* adopt(Physics3DShape* shape, btCollisionShape* btShape, ShapeType type);

    ShapeType _shapeType = ShapeType::UNKNOWN;
    btCollisionShape* _btShape = nullptr;  // owned
    btTriangleMesh* _mesh = nullptr;       // owned: a mesh shape's triangles
    std::vector<float> _floatHeights;      // a height field's copy of its data
    std::vector<unsigned char> _byteHeights;
    std::vector<Physics3DShape*> _children;
    Vec3 _extent;
    float _radius = 0.f;
    float _height = 0.f;
};

}  // namespace engine
