// engine::Mat4 against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/base/Mat4.h"

using engine::Mat4;
using engine::Vec3;
using engine::Vec4;

namespace {

constexpr float kHalfPi = 1.57079632679f;
constexpr float kEps = 1e-5f;

void expectNear(const Vec3& actual, const Vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, kEps);
    EXPECT_NEAR(actual.y, expected.y, kEps);
    EXPECT_NEAR(actual.z, expected.z, kEps);
}

void expectNear(const Mat4& actual, const Mat4& expected, float eps = kEps) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], eps) << "element " << i;
}

Vec3 apply(const Mat4& m, Vec3 p) {
    m.transformPoint(&p);
    return p;
}

TEST(Mat4Test, ConstructorTakesRowsAndStoresColumns) {
    Mat4 m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(m.at(0, 1), 2);
    EXPECT_EQ(m.at(1, 0), 5);
    EXPECT_EQ(m.m[1], 5);    // column 0, row 1
    EXPECT_EQ(m.m[12], 4);   // column 3, row 0
    EXPECT_EQ(Mat4(), Mat4::IDENTITY);
    EXPECT_TRUE(Mat4().isIdentity());
    Mat4 nearly;
    nearly.m[5] = std::nextafter(1.f, 2.f);
    EXPECT_NE(nearly, Mat4::IDENTITY);
}

TEST(Mat4Test, RotationsByNinetyDegreesTurnTheAxes) {
    struct Case {
        const char* name;
        void (*build)(float, Mat4*);
        Vec3 from, to;
    };
    const Case cases[] = {
        {"z turns x into y", &Mat4::createRotationZ, {1, 0, 0}, {0, 1, 0}},
        {"x turns y into z", &Mat4::createRotationX, {0, 1, 0}, {0, 0, 1}},
        {"y turns z into x", &Mat4::createRotationY, {0, 0, 1}, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Mat4 m;
        c.build(kHalfPi, &m);
        expectNear(apply(m, c.from), c.to);
        EXPECT_NEAR(m.determinant(), 1.f, kEps);
    }
}

TEST(Mat4Test, RotationAboutAnAxis) {
    Mat4 aboutZ, z;
    Mat4::createRotation(Vec3(0, 0, 3), 0.7f, &aboutZ);   // the axis need not be unit length
    Mat4::createRotationZ(0.7f, &z);
    expectNear(aboutZ, z);

    Mat4 diagonal;   // a third of a turn about (1,1,1) cycles the axes
    Mat4::createRotation(Vec3(1, 1, 1), 2.0943951f, &diagonal);
    expectNear(apply(diagonal, {1, 0, 0}), {0, 1, 0});
    expectNear(apply(diagonal, {0, 1, 0}), {0, 0, 1});

    Mat4 none;
    Mat4::createRotation(Vec3(0, 0, 0), 1.f, &none);
    EXPECT_EQ(none, Mat4::IDENTITY);
}

TEST(Mat4Test, ProductAppliesTheRightFactorFirst) {
    Mat4 t, s;
    Mat4::createTranslation(10, 0, 0, &t);
    Mat4::createScale(2, 2, 2, &s);
    EXPECT_EQ(apply(t * s, {1, 1, 1}), Vec3(12, 2, 2));
    EXPECT_EQ(apply(s * t, {1, 1, 1}), Vec3(22, 2, 2));

    Mat4 inPlace = t;
    inPlace.multiply(s);
    EXPECT_EQ(inPlace, t * s);
    Mat4 aliased = s;
    Mat4::multiply(t, aliased, &aliased);
    EXPECT_EQ(aliased, t * s);
}

TEST(Mat4Test, TranslationMovesPointsButNotDirections) {
    Mat4 t;
    Mat4::createTranslation(Vec3(1, 2, 3), &t);
    Vec3 translation;
    t.getTranslation(&translation);
    EXPECT_EQ(translation, Vec3(1, 2, 3));
    EXPECT_EQ(apply(t, {1, 1, 1}), Vec3(2, 3, 4));
    Vec4 direction(1, 1, 1, 0), moved;
    t.transformVector(direction, &moved);
    EXPECT_EQ(moved, direction);
    Vec4 point(1, 1, 1, 1);
    t.transformVector(&point);
    EXPECT_EQ(point, Vec4(2, 3, 4, 1));
}

TEST(Mat4Test, DeterminantAndInverse) {
    Mat4 s, r, t;
    Mat4::createScale(2, 3, 4, &s);
    EXPECT_FLOAT_EQ(s.determinant(), 24.f);
    Mat4::createRotation(Vec3(1, 2, 3), 0.9f, &r);
    Mat4::createTranslation(5, -6, 7, &t);
    Mat4 m = t * r * s;
    m.m[3] = 0.25f;   // a projective row too
    Mat4 inv = m;
    ASSERT_TRUE(inv.inverse());
    expectNear(inv * m, Mat4::IDENTITY);
    expectNear(m * inv, Mat4::IDENTITY);
    EXPECT_EQ(m.getInversed(), inv);
    EXPECT_NEAR(m.determinant() * inv.determinant(), 1.f, 1e-4f);

    Mat4 known(2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 8, 0, 0, 0, 0, 1);
    ASSERT_TRUE(known.inverse());
    EXPECT_EQ(known, Mat4(0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0.125f, 0, 0, 0, 0, 1));
}

TEST(Mat4Test, SingularMatricesAreNotInverted) {
    Mat4 flat;
    Mat4::createScale(1, 0, 1, &flat);
    Mat4 copy = flat;
    EXPECT_FALSE(copy.inverse());
    EXPECT_EQ(copy, flat);
    EXPECT_EQ(flat.getInversed(), flat);

    Mat4 dependent(1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 0, 1);   // row 2 = 2 * row 1
    EXPECT_EQ(dependent.determinant(), 0.f);
    EXPECT_FALSE(dependent.inverse());

    Mat4 tiny;   // invertible in exact arithmetic, but the inverse overflows a float
    Mat4::createScale(1e-39f, 1, 1, &tiny);
    EXPECT_FALSE(tiny.inverse());
}

TEST(Mat4Test, Transpose) {
    Mat4 m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    Mat4 expected(1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16);
    EXPECT_EQ(m.getTransposed(), expected);
    m.transpose();
    EXPECT_EQ(m, expected);
}

TEST(Mat4Test, OrthographicMapsTheBoxOntoTheUnitCube) {
    Mat4 m;
    Mat4::createOrthographicOffCenter(0, 480, 0, 320, -1, 1, &m);
    expectNear(apply(m, {0, 0, 0}), {-1, -1, 0});
    expectNear(apply(m, {480, 320, 0}), {1, 1, 0});
    expectNear(apply(m, {240, 160, -1}), {0, 0, 1});   // the far plane (z = -far) maps to +1

    Mat4 centred;
    Mat4::createOrthographic(480, 320, 1, 3, &centred);
    expectNear(apply(centred, {-240, 160, -1}), {-1, 1, -1});
    expectNear(apply(centred, {240, -160, -3}), {1, -1, 1});
}

TEST(Mat4Test, PerspectiveMapsNearAndFarPlanes) {
    Mat4 m;
    Mat4::createPerspective(90.f, 2.f, 1.f, 3.f, &m);
    auto ndc = [&](Vec3 p) {
        Vec4 v(p.x, p.y, p.z, 1);
        m.transformVector(&v);
        return Vec3(v.x / v.w, v.y / v.w, v.z / v.w);
    };
    expectNear(ndc({0, 0, -1}), {0, 0, -1});
    expectNear(ndc({0, 0, -3}), {0, 0, 1});
    expectNear(ndc({2, 1, -1}), {1, 1, -1});   // 90 degrees high, twice as wide
}

TEST(Mat4Test, LookAt) {
    Mat4 m;
    Mat4::createLookAt(Vec3(0, 0, 5), Vec3(0, 0, 0), Vec3(0, 1, 0), &m);
    expectNear(apply(m, {0, 0, 0}), {0, 0, -5});
    expectNear(apply(m, {1, 2, 0}), {1, 2, -5});

    Mat4::createLookAt(Vec3(5, 0, 0), Vec3(0, 0, 0), Vec3(0, 1, 0), &m);
    expectNear(apply(m, {0, 0, 0}), {0, 0, -5});
    expectNear(apply(m, {0, 0, -1}), {1, 0, -5});   // looking down -x with y up, -z is to the right
}

TEST(Mat4Test, DegenerateViewsLeaveTheMatrixUnchanged) {
    Mat4 m;
    Mat4::createTranslation(1, 2, 3, &m);
    const Mat4 before = m;
    Mat4::createLookAt(Vec3(1, 1, 1), Vec3(1, 1, 1), Vec3(0, 1, 0), &m);
    Mat4::createLookAt(Vec3(0, 5, 0), Vec3(0, 0, 0), Vec3(0, 1, 0), &m);
    Mat4::createOrthographicOffCenter(0, 0, 0, 1, 0, 1, &m);
    Mat4::createPerspective(60.f, 1.f, 1.f, 1.f, &m);
    Mat4::createPerspective(0.f, 1.f, 1.f, 2.f, &m);
    EXPECT_EQ(m, before);
}

}  // namespace
