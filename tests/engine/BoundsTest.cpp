// Boxes and rays in space: emptiness, corners, containment, transforms, the
// oriented box fitted to points, box overlaps and ray hits with their distances.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/3d/AABB.h"
#include "engine/3d/OBB.h"
#include "engine/3d/Ray.h"

namespace {

using engine::AABB;
using engine::Mat4;
using engine::OBB;
using engine::Ray;
using engine::Vec3;

void expectNear(const Vec3& actual, const Vec3& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-4f) << what;
}

TEST(BoundsTest, AxisAlignedBoxBasics) {
    AABB box;
    EXPECT_TRUE(box.isEmpty());
    EXPECT_FALSE(box.containPoint(Vec3()));
    box.transform(Mat4());   // an empty box stays empty
    EXPECT_TRUE(box.isEmpty());

    box.set(Vec3(-1, 0, 2), Vec3(3, 2, 4));
    EXPECT_FALSE(box.isEmpty());
    expectNear(box.getCenter(), Vec3(1, 1, 3), "centre");
    Vec3 corners[8];
    box.getCorners(corners);
    const Vec3 expected[8] = {{-1, 2, 4}, {-1, 0, 4}, {3, 0, 4}, {3, 2, 4},
                              {3, 2, 2},  {3, 0, 2},  {-1, 0, 2}, {-1, 2, 2}};
    for (int i = 0; i < 8; ++i) expectNear(corners[i], expected[i], "corner");

    const struct {
        Vec3 point;
        bool inside;
    } points[] = {{{1, 1, 3}, true}, {{-1, 0, 2}, true}, {{3, 2, 4}, true}, {{3.01f, 1, 3}, false}, {{1, 1, 1.9f}, false}};
    for (const auto& c : points) EXPECT_EQ(box.containPoint(c.point), c.inside) << c.point.x << " " << c.point.z;

    const Vec3 more[2] = {{5, -1, 3}, {0, 0, 9}};
    box.updateMinMax(more, 2);
    expectNear(box._min, Vec3(-1, -1, 2), "grown min");
    expectNear(box._max, Vec3(5, 2, 9), "grown max");
    box.updateMinMax(more, 0);
    expectNear(box._max, Vec3(5, 2, 9), "no points");
    box.reset();
    EXPECT_TRUE(box.isEmpty());
}

TEST(BoundsTest, AxisAlignedBoxTransformTakesTheBoxAroundTurnedCorners) {
    AABB box(Vec3(0, 0, 0), Vec3(2, 1, 1));
    Mat4 turn;
    Mat4::createRotationZ(static_cast<float>(std::numbers::pi / 2), &turn);
    Mat4 move;
    Mat4::createTranslation(10, 0, 0, &move);
    box.transform(move * turn);
    expectNear(box._min, Vec3(9, 0, 0), "min");
    expectNear(box._max, Vec3(10, 2, 1), "max");

    AABB tilted(Vec3(-1, -1, -1), Vec3(1, 1, 1));
    Mat4::createRotationZ(static_cast<float>(std::numbers::pi / 4), &turn);
    tilted.transform(turn);
    const float r = std::sqrt(2.f);
    expectNear(tilted._max, Vec3(r, r, 1), "a turned cube grows");
}

TEST(BoundsTest, OrientedBoxesOverlapAndContain) {
    OBB unit(AABB(Vec3(-1, -1, -1), Vec3(1, 1, 1)));
    expectNear(unit._extents, Vec3(1, 1, 1), "extents from the box");
    EXPECT_TRUE(unit.containPoint(Vec3(1, -1, 0.5f)));
    EXPECT_FALSE(unit.containPoint(Vec3(1.1f, 0, 0)));

    // A unit cube turned 45 degrees about z, moved along x.
    auto turnedAt = [](float x) {
        OBB box(AABB(Vec3(-1, -1, -1), Vec3(1, 1, 1)));
        Mat4 turn, move;
        Mat4::createRotationZ(static_cast<float>(std::numbers::pi / 4), &turn);
        Mat4::createTranslation(x, 0, 0, &move);
        box.transform(move * turn);
        return box;
    };
    const float reach = 1 + std::sqrt(2.f);   // the turned cube's corner reaches sqrt 2
    const struct {
        float x;
        bool overlap;
    } cases[] = {{0, true}, {reach - 0.01f, true}, {reach + 0.01f, false}, {-(reach + 0.5f), false}, {2.2f, true}};
    for (const auto& c : cases) {
        OBB other = turnedAt(c.x);
        EXPECT_EQ(unit.intersects(other), c.overlap) << c.x;
        EXPECT_EQ(other.intersects(unit), c.overlap) << c.x;
    }
    OBB turned = turnedAt(0);
    expectNear(turned._xAxis, Vec3(std::sqrt(0.5f), std::sqrt(0.5f), 0), "turned axis");
    EXPECT_TRUE(turned.containPoint(Vec3(1.4f, 0, 0)));
    EXPECT_FALSE(turned.containPoint(Vec3(0.9f, 0.9f, 0)));
    Vec3 corners[8];
    turned.getCorners(corners);
    expectNear(corners[3], Vec3(0, std::sqrt(2.f), 1), "+x+y+z corner");

    // A stretched transform stretches the extent, the axis stays unit length.
    OBB stretched(AABB(Vec3(-1, -1, -1), Vec3(1, 1, 1)));
    Mat4 scale;
    Mat4::createScale(3, 1, 1, &scale);
    stretched.transform(scale);
    expectNear(stretched._extents, Vec3(3, 1, 1), "stretched extents");
    expectNear(stretched._xAxis, Vec3(1, 0, 0), "stretched axis");
}

TEST(BoundsTest, OrientedBoxFittedToPoints) {
    // A 4 x 2 x 0 rectangle of points turned 30 degrees about z, centred at (1, 2, 3).
    const float a = static_cast<float>(std::numbers::pi / 6);
    const Vec3 along(std::cos(a), std::sin(a), 0), across(-std::sin(a), std::cos(a), 0);
    const Vec3 centre(1, 2, 3);
    Vec3 points[9];
    int n = 0;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j) points[n++] = centre + along * (2.f * i) + across * (1.f * j);
    OBB fitted(points, n);
    expectNear(fitted._center, centre, "centre");
    expectNear(fitted._extents, Vec3(2, 1, 0), "extents along the spread");
    EXPECT_NEAR(std::fabs(fitted._xAxis.dot(along)), 1.f, 1e-4f);
    for (const Vec3& p : points) EXPECT_TRUE(fitted.containPoint(p));

    OBB single(points, 1);
    expectNear(single._center, points[0], "one point");
    expectNear(single._extents, Vec3(), "one point has no size");
    OBB none(points, 0);
    expectNear(none._xAxis, Vec3(1, 0, 0), "no points: the default box");
}

TEST(BoundsTest, RayHitsWithDistance) {
    const AABB box(Vec3(-1, -1, -1), Vec3(1, 1, 1));
    const struct {
        const char* name;
        Vec3 origin, direction;
        bool hit;
        float distance;
    } cases[] = {
        {"straight on", {0, 0, 5}, {0, 0, -2}, true, 4},
        {"from inside", {0, 0, 0}, {1, 0, 0}, true, 0},
        {"pointing away", {0, 0, 5}, {0, 0, 1}, false, 0},
        {"passing beside", {2, 0, 5}, {0, 0, -1}, false, 0},
        {"diagonal", {-3, -3, 0}, {1, 1, 0}, true, 2 * std::sqrt(2.f)},
        {"along a face", {1, 0, 5}, {0, 0, -1}, true, 4},
        {"zero direction", {0, 0, 5}, {0, 0, 0}, false, 0},
    };
    for (const auto& c : cases) {
        Ray ray(c.origin, c.direction);
        float distance = -1;
        EXPECT_EQ(ray.intersects(box, &distance), c.hit) << c.name;
        if (c.hit) EXPECT_NEAR(distance, c.distance, 1e-4f) << c.name;
        // The same box as an oriented one gives the same answer.
        distance = -1;
        EXPECT_EQ(ray.intersects(OBB(box), &distance), c.hit) << c.name;
        if (c.hit) EXPECT_NEAR(distance, c.distance, 1e-4f) << c.name;
    }
    EXPECT_FALSE(Ray(Vec3(0, 0, 5), Vec3(0, 0, -1)).intersects(AABB()));

    // The cube turned 45 degrees about z: a diamond of half-diagonal sqrt 2 in the xy plane.
    OBB turned(box);
    Mat4 turn;
    Mat4::createRotationZ(static_cast<float>(std::numbers::pi / 4), &turn);
    turned.transform(turn);
    float distance = 0;
    ASSERT_TRUE(Ray(Vec3(-5, 0, 0), Vec3(1, 0, 0)).intersects(turned, &distance));
    EXPECT_NEAR(distance, 5 - std::sqrt(2.f), 1e-4f);
    EXPECT_TRUE(Ray(Vec3(-5, 1.3f, 0), Vec3(1, 0, 0)).intersects(turned));
    EXPECT_FALSE(Ray(Vec3(-5, 1.5f, 0), Vec3(1, 0, 0)).intersects(turned));

    Ray moved(Vec3(0, 0, 0), Vec3(0, 0, 3));
    Mat4 move;
    Mat4::createTranslation(1, 2, 3, &move);
    Mat4::createRotationX(static_cast<float>(std::numbers::pi / 2), &turn);
    moved.transform(move * turn);
    expectNear(moved._origin, Vec3(1, 2, 3), "moved origin");
    expectNear(moved._direction, Vec3(0, -1, 0), "turned, unit direction");
}

}  // namespace
