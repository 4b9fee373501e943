#pragma once
// A 4x4 float matrix stored column-major (m[column * 4 + row]), as OpenGL takes it.
// Points are column vectors: M * p, so A * B applies B first.
#include "engine/base/Geometry.h"
#include "engine/base/Types.h"

namespace engine {

class Mat4 {
public:
    float m[16];

    static const Mat4 IDENTITY;
    static const Mat4 ZERO;

    constexpr Mat4() : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}   // identity
    // The sixteen values in reading order: row by row, mRC is row R, column C.
    constexpr Mat4(float m11, float m12, float m13, float m14, float m21, float m22, float m23,
                   float m24, float m31, float m32, float m33, float m34, float m41, float m42,
                   float m43, float m44)
        : m{m11, m21, m31, m41, m12, m22, m32, m42, m13, m23, m33, m43, m14, m24, m34, m44} {}
    explicit Mat4(const float* columnMajor);

    // Element at (row, column), both 0-based.
    float at(int row, int column) const { return m[column * 4 + row]; }

    // Builders. Angles are in radians except the perspective's field of view (degrees).
    static void createTranslation(const Vec3& translation, Mat4* dst);
    static void createTranslation(float x, float y, float z, Mat4* dst);
    static void createScale(const Vec3& scale, Mat4* dst);
    static void createScale(float x, float y, float z, Mat4* dst);
    // Counter-clockwise about the axis (seen from its tip); a zero axis gives identity.
    static void createRotation(const Vec3& axis, float angle, Mat4* dst);
    // The rotation of a quaternion (normalised first; a zero one gives the identity).
    static void createRotation(const Quaternion& rotation, Mat4* dst);
    static void createRotationX(float angle, Mat4* dst);
    static void createRotationY(float angle, Mat4* dst);
    static void createRotationZ(float angle, Mat4* dst);
    // OpenGL conventions: the view volume maps to the cube [-1, 1]^3, the camera
    // looks down -z. A degenerate volume (zero width, height or depth, a zero field
    // of view or aspect) leaves dst unchanged and logs.
    static void createOrthographic(float width, float height, float zNear, float zFar, Mat4* dst);
    static void createOrthographicOffCenter(float left, float right, float bottom, float top,
                                            float zNear, float zFar, Mat4* dst);
    static void createPerspective(float fieldOfViewDegrees, float aspectRatio, float zNear,
                                  float zFar, Mat4* dst);
    // A view matrix: eye at the origin looking down -z with `up` as +y. A degenerate
    // frame (eye on target, up along the view direction) leaves dst unchanged and logs.
    static void createLookAt(const Vec3& eye, const Vec3& target, const Vec3& up, Mat4* dst);

    // dst = a * b (dst may be a or b).
    static void multiply(const Mat4& a, const Mat4& b, Mat4* dst);
    void multiply(const Mat4& other);   // this = this * other
    Mat4 operator*(const Mat4& other) const;
    Mat4& operator*=(const Mat4& other);

    float determinant() const;
    // Inverts in place; false (and unchanged) when the determinant is 0 or too close
    // to it to give finite values.
    bool inverse();
    Mat4 getInversed() const;   // an unchanged copy when not invertible
    void transpose();
    Mat4 getTransposed() const;

    // The point with w = 1 (no division by the resulting w).
    void transformPoint(Vec3* point) const;
    void transformPoint(const Vec3& point, Vec3* dst) const;
    void transformVector(Vec4* vector) const;
    void transformVector(const Vec4& vector, Vec4* dst) const;
    // The first three components of this times (x, y, z, w).
    void transformVector(float x, float y, float z, float w, Vec3* dst) const;
    // this = this * translation(t).
    void translate(const Vec3& t);
    // Splits an affine matrix into scale, rotation and translation (each output
    // may be null). False, with the outputs untouched, when a scale is zero.
    bool decompose(Vec3* scale, Quaternion* rotation, Vec3* translation) const;
    void getTranslation(Vec3* translation) const;

    void setIdentity();
    bool isIdentity() const;

    // Exact element-wise comparison.
    bool operator==(const Mat4& other) const;
    bool operator!=(const Mat4& other) const { return !(*this == other); }
};

inline constexpr Mat4 Mat4::IDENTITY{};
inline constexpr Mat4 Mat4::ZERO{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

}  // namespace engine
