#include "engine/physics3d/Physics3DShape.h"

#include <btBulletCollisionCommon.h>
#include <BulletCollision/CollisionShapes/btHeightfieldTerrainShape.h>

#include <cmath>

#include "engine/base/Log.h"
#include "engine/physics3d/BulletConversions.h"

namespace engine {

namespace {
// A grid beyond this many samples is refused: its copy alone would take gigabytes.
constexpr long long kMaxHeightSamples = 1LL << 26;

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
}  // namespace

Physics3DShape* Physics3DShape::adopt(Physics3DShape* shape, btCollisionShape* btShape, ShapeType type) {
    shape->_btShape = btShape;
    shape->_shapeType = type;
    shape->autorelease();
    return shape;
}

Physics3DShape* Physics3DShape::createBox(const Vec3& extent) {
    auto* shape = new Physics3DShape;
    shape->_extent = extent;
    return adopt(shape, new btBoxShape(toBullet(extent * 0.5f)), ShapeType::BOX);
}

Physics3DShape* Physics3DShape::createSphere(float radius) {
    auto* shape = new Physics3DShape;
    shape->_radius = radius;
    return adopt(shape, new btSphereShape(radius), ShapeType::SPHERE);
}

Physics3DShape* Physics3DShape::createCylinder(float radius, float height) {
    auto* shape = new Physics3DShape;
    shape->_radius = radius;
    shape->_height = height;
    return adopt(shape, new btCylinderShape(btVector3(radius, height * 0.5f, radius)), ShapeType::CYLINDER);
}

Physics3DShape* Physics3DShape::createCapsule(float radius, float height) {
    auto* shape = new Physics3DShape;
    shape->_radius = radius;
    shape->_height = height;
    return adopt(shape, new btCapsuleShape(radius, height), ShapeType::CAPSULE);
}

Physics3DShape* Physics3DShape::createConvexHull(const Vec3* points, int numPoints) {
    if (!points || numPoints < 3) {
        log("Physics3DShape: a convex hull needs at least 3 points, %d given", numPoints);
        return nullptr;
    }
    auto* hull = new btConvexHullShape;
    for (int i = 0; i < numPoints; ++i) hull->addPoint(toBullet(points[i]), false);
    hull->recalcLocalAabb();
    return adopt(new Physics3DShape, hull, ShapeType::CONVEX);
}

Physics3DShape* Physics3DShape::createMesh(const Vec3* triangles, int numTriangles) {
    if (!triangles || numTriangles < 1) {
        log("Physics3DShape: a mesh needs at least one triangle, %d given", numTriangles);
        return nullptr;
    }
    for (int i = 0; i < numTriangles * 3; ++i) {
        if (!finite(triangles[i])) {
            log("Physics3DShape: a mesh corner is not a finite point");
            return nullptr;
        }
    }
    auto* mesh = new btTriangleMesh;
    for (int i = 0; i < numTriangles; ++i) {
        mesh->addTriangle(toBullet(triangles[i * 3]), toBullet(triangles[i * 3 + 1]), toBullet(triangles[i * 3 + 2]));
    }
    auto* shape = new Physics3DShape;
    shape->_mesh = mesh;
    return adopt(shape, new btBvhTriangleMeshShape(mesh, true), ShapeType::MESH);
}

Physics3DShape* Physics3DShape::createHeightfield(int heightStickWidth, int heightStickLength,
                                                  const float* heightfieldData, float heightScale, float minHeight,
                                                  float maxHeight, bool useFloatData, bool flipQuadEdges,
                                                  bool useDiamondSubdivision) {
    const long long samples = static_cast<long long>(heightStickWidth) * heightStickLength;
    if (heightStickWidth < 2 || heightStickLength < 2 || samples > kMaxHeightSamples || !heightfieldData) {
        log("Physics3DShape: a height field of %d x %d samples is not possible", heightStickWidth, heightStickLength);
        return nullptr;
    }
    if (!(minHeight <= maxHeight) || !std::isfinite(minHeight) || !std::isfinite(maxHeight)) {
        log("Physics3DShape: a height field needs finite heights with the minimum not above the maximum");
        return nullptr;
    }
    auto* shape = new Physics3DShape;
    btHeightfieldTerrainShape* field = nullptr;
    const int upAxis = 1;
    if (useFloatData) {
        shape->_floatHeights.assign(heightfieldData, heightfieldData + samples);
        field = new btHeightfieldTerrainShape(heightStickWidth, heightStickLength, shape->_floatHeights.data(),
                                              minHeight, maxHeight, upAxis, flipQuadEdges);
    } else {
        shape->_byteHeights.resize(static_cast<size_t>(samples));
        for (long long i = 0; i < samples; ++i) {
            const float value = heightfieldData[i];
            shape->_byteHeights[i] =
                static_cast<unsigned char>(value > 255.f ? 255.f : (value >= 0.f ? value : 0.f));
        }
        field = new btHeightfieldTerrainShape(heightStickWidth, heightStickLength, shape->_byteHeights.data(),
                                              heightScale, minHeight, maxHeight, upAxis, flipQuadEdges);
    }
    field->setUseDiamondSubdivision(useDiamondSubdivision);
    return adopt(shape, field, ShapeType::HEIGHT_FIELD);
}

Physics3DShape* Physics3DShape::createCompoundShape(const std::vector<std::pair<Physics3DShape*, Mat4>>& shapes) {
    auto* shape = new Physics3DShape;
    auto* compound = new btCompoundShape;
    for (const auto& [child, transform] : shapes) {
        if (!child || !child->_btShape) continue;
        compound->addChildShape(toBullet(transform), child->_btShape);
        child->retain();
        shape->_children.push_back(child);
    }
    return adopt(shape, compound, ShapeType::COMPOUND);
}

Physics3DShape::~Physics3DShape() {
    delete _btShape;
    delete _mesh;
    for (Physics3DShape* child : _children) child->release();
}

}  // namespace engine
