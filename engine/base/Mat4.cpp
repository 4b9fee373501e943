#include "engine/base/Mat4.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "engine/base/Log.h"

namespace engine {
namespace {

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr double kPi = 3.14159265358979323846;

// Row r, column c of a column-major array.
inline float& el(float* m, int r, int c) { return m[c * 4 + r]; }
inline float el(const float* m, int r, int c) { return m[c * 4 + r]; }

}  // namespace

Mat4::Mat4(const float* columnMajor) { std::memcpy(m, columnMajor, sizeof m); }

void Mat4::createTranslation(const Vec3& t, Mat4* dst) { createTranslation(t.x, t.y, t.z, dst); }

void Mat4::createTranslation(float x, float y, float z, Mat4* dst) {
    dst->setIdentity();
    dst->m[12] = x;
    dst->m[13] = y;
    dst->m[14] = z;
}

void Mat4::createScale(const Vec3& s, Mat4* dst) { createScale(s.x, s.y, s.z, dst); }

void Mat4::createScale(float x, float y, float z, Mat4* dst) {
    dst->setIdentity();
    dst->m[0] = x;
    dst->m[5] = y;
    dst->m[10] = z;
}

void Mat4::createRotation(const Vec3& axis, float angle, Mat4* dst) {
    double x = axis.x, y = axis.y, z = axis.z;
    double len = std::sqrt(x * x + y * y + z * z);
    dst->setIdentity();
    if (len == 0.0) return;
    x /= len;
    y /= len;
    z /= len;
    double c = std::cos(static_cast<double>(angle));
    double s = std::sin(static_cast<double>(angle));
    double t = 1.0 - c;
    float* d = dst->m;
    el(d, 0, 0) = static_cast<float>(t * x * x + c);
    el(d, 0, 1) = static_cast<float>(t * x * y - s * z);
    el(d, 0, 2) = static_cast<float>(t * x * z + s * y);
    el(d, 1, 0) = static_cast<float>(t * x * y + s * z);
    el(d, 1, 1) = static_cast<float>(t * y * y + c);
    el(d, 1, 2) = static_cast<float>(t * y * z - s * x);
    el(d, 2, 0) = static_cast<float>(t * x * z - s * y);
    el(d, 2, 1) = static_cast<float>(t * y * z + s * x);
    el(d, 2, 2) = static_cast<float>(t * z * z + c);
}

void Mat4::createRotation(const Quaternion& q, Mat4* dst) {
    double x = q.x, y = q.y, z = q.z, w = q.w;
    const double len = std::sqrt(x * x + y * y + z * z + w * w);
    dst->setIdentity();
    if (len == 0.0) return;
    x /= len;
    y /= len;
    z /= len;
    w /= len;
    float* d = dst->m;
    el(d, 0, 0) = static_cast<float>(1 - 2 * (y * y + z * z));
    el(d, 0, 1) = static_cast<float>(2 * (x * y - z * w));
    el(d, 0, 2) = static_cast<float>(2 * (x * z + y * w));
    el(d, 1, 0) = static_cast<float>(2 * (x * y + z * w));
    el(d, 1, 1) = static_cast<float>(1 - 2 * (x * x + z * z));
    el(d, 1, 2) = static_cast<float>(2 * (y * z - x * w));
    el(d, 2, 0) = static_cast<float>(2 * (x * z - y * w));
    el(d, 2, 1) = static_cast<float>(2 * (y * z + x * w));
    el(d, 2, 2) = static_cast<float>(1 - 2 * (x * x + y * y));
}

void Mat4::transformVector(float x, float y, float z, float w, Vec3* dst) const {
    if (!dst) return;
    Vec4 out;
    transformVector(Vec4(x, y, z, w), &out);
    *dst = Vec3(out.x, out.y, out.z);
}

void Mat4::translate(const Vec3& t) {
    Mat4 translation;
    createTranslation(t, &translation);
    multiply(translation);
}

bool Mat4::decompose(Vec3* scale, Quaternion* rotation, Vec3* translation) const {
    if (translation) *translation = Vec3(m[12], m[13], m[14]);
    if (!scale && !rotation) return true;
    const Vec3 xAxis(m[0], m[1], m[2]), yAxis(m[4], m[5], m[6]), zAxis(m[8], m[9], m[10]);
    float sx = std::sqrt(xAxis.dot(xAxis)), sy = std::sqrt(yAxis.dot(yAxis)), sz = std::sqrt(zAxis.dot(zAxis));
    // A reflection shows as a negative determinant: put it in the z scale.
    if (xAxis.cross(yAxis).dot(zAxis) < 0) sz = -sz;
    if (scale) *scale = Vec3(sx, sy, sz);
    if (!rotation) return true;
    if (sx == 0 || sy == 0 || sz == 0) return false;
    const Vec3 r0 = xAxis * (1 / sx), r1 = yAxis * (1 / sy), r2 = zAxis * (1 / sz);
    // Columns r0, r1, r2 of the rotation; element (row, column).
    const double m00 = r0.x, m10 = r0.y, m20 = r0.z, m01 = r1.x, m11 = r1.y, m21 = r1.z, m02 = r2.x, m12 = r2.y,
                 m22 = r2.z;
    const double trace = m00 + m11 + m22;
    double x, y, z, w;
    if (trace > 0) {
        const double s = 0.5 / std::sqrt(trace + 1.0);
        w = 0.25 / s;
        x = (m21 - m12) * s;
        y = (m02 - m20) * s;
        z = (m10 - m01) * s;
    } else if (m00 > m11 && m00 > m22) {
        const double s = 2.0 * std::sqrt(1.0 + m00 - m11 - m22);
        w = (m21 - m12) / s;
        x = 0.25 * s;
        y = (m01 + m10) / s;
        z = (m02 + m20) / s;
    } else if (m11 > m22) {
        const double s = 2.0 * std::sqrt(1.0 + m11 - m00 - m22);
        w = (m02 - m20) / s;
        x = (m01 + m10) / s;
        y = 0.25 * s;
        z = (m12 + m21) / s;
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m22 - m00 - m11);
        w = (m10 - m01) / s;
        x = (m02 + m20) / s;
        y = (m12 + m21) / s;
        z = 0.25 * s;
    }
    *rotation = Quaternion(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), static_cast<float>(w));
    return true;
}

void Mat4::createRotationX(float angle, Mat4* dst) {
    float c = std::cos(angle), s = std::sin(angle);
    dst->setIdentity();
    el(dst->m, 1, 1) = c;
    el(dst->m, 1, 2) = -s;
    el(dst->m, 2, 1) = s;
    el(dst->m, 2, 2) = c;
}

void Mat4::createRotationY(float angle, Mat4* dst) {
    float c = std::cos(angle), s = std::sin(angle);
    dst->setIdentity();
    el(dst->m, 0, 0) = c;
    el(dst->m, 0, 2) = s;
    el(dst->m, 2, 0) = -s;
    el(dst->m, 2, 2) = c;
}

void Mat4::createRotationZ(float angle, Mat4* dst) {
    float c = std::cos(angle), s = std::sin(angle);
    dst->setIdentity();
    el(dst->m, 0, 0) = c;
    el(dst->m, 0, 1) = -s;
    el(dst->m, 1, 0) = s;
    el(dst->m, 1, 1) = c;
}

void Mat4::createOrthographic(float width, float height, float zNear, float zFar, Mat4* dst) {
    float hw = width / 2, hh = height / 2;
    createOrthographicOffCenter(-hw, hw, -hh, hh, zNear, zFar, dst);
}

void Mat4::createOrthographicOffCenter(float left, float right, float bottom, float top, float zNear,
                                       float zFar, Mat4* dst) {
    if (left == right || bottom == top || zNear == zFar) {
        log("Mat4: empty orthographic volume, matrix left unchanged");
        return;
    }
    *dst = ZERO;
    dst->m[0] = 2 / (right - left);
    dst->m[5] = 2 / (top - bottom);
    dst->m[10] = 2 / (zNear - zFar);
    dst->m[12] = (left + right) / (left - right);
    dst->m[13] = (top + bottom) / (bottom - top);
    dst->m[14] = (zNear + zFar) / (zNear - zFar);
    dst->m[15] = 1;
}

void Mat4::createPerspective(float fieldOfViewDegrees, float aspectRatio, float zNear, float zFar,
                             Mat4* dst) {
    double halfAngle = fieldOfViewDegrees * kPi / 360.0;
    double tanHalf = std::tan(halfAngle);
    if (zNear == zFar || aspectRatio == 0.f || tanHalf == 0.0 || !std::isfinite(tanHalf)) {
        log("Mat4: invalid perspective, matrix left unchanged");
        return;
    }
    double f = 1.0 / tanHalf;
    double depth = static_cast<double>(zNear) - zFar;
    *dst = ZERO;
    dst->m[0] = static_cast<float>(f / aspectRatio);
    dst->m[5] = static_cast<float>(f);
    dst->m[10] = static_cast<float>((static_cast<double>(zFar) + zNear) / depth);
    dst->m[11] = -1.f;
    dst->m[14] = static_cast<float>(2.0 * zFar * zNear / depth);
}

void Mat4::createLookAt(const Vec3& eye, const Vec3& target, const Vec3& up, Mat4* dst) {
    Vec3 zAxis = eye - target;
    float zLen = zAxis.length();
    if (zLen == 0.f) {
        log("Mat4: the eye is at the target, matrix left unchanged");
        return;
    }
    zAxis = zAxis * (1 / zLen);
    Vec3 xAxis = up.cross(zAxis);
    float xLen = xAxis.length();
    if (xLen == 0.f) {
        log("Mat4: the up vector is parallel to the view, matrix left unchanged");
        return;
    }
    xAxis = xAxis * (1 / xLen);
    Vec3 yAxis = zAxis.cross(xAxis);
    *dst = Mat4(xAxis.x, xAxis.y, xAxis.z, -xAxis.dot(eye),
                yAxis.x, yAxis.y, yAxis.z, -yAxis.dot(eye),
                zAxis.x, zAxis.y, zAxis.z, -zAxis.dot(eye),
                0, 0, 0, 1);
}

void Mat4::multiply(const Mat4& a, const Mat4& b, Mat4* dst) {
    float out[16];
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += el(a.m, r, k) * el(b.m, k, c);
            out[c * 4 + r] = sum;
        }
    }
    std::memcpy(dst->m, out, sizeof out);
}

void Mat4::multiply(const Mat4& other) { multiply(*this, other, this); }

Mat4 Mat4::operator*(const Mat4& other) const {
    Mat4 out;
    multiply(*this, other, &out);
    return out;
}

Mat4& Mat4::operator*=(const Mat4& other) {
    multiply(*this, other, this);
    return *this;
}

namespace {

// 2x2 minors of the top two and bottom two rows, shared by determinant and inverse.
struct Minors {
    double s[6], c[6];
    explicit Minors(const float* m) {
        auto M = [m](int r, int col) { return static_cast<double>(el(m, r, col)); };
        s[0] = M(0, 0) * M(1, 1) - M(1, 0) * M(0, 1);
        s[1] = M(0, 0) * M(1, 2) - M(1, 0) * M(0, 2);
        s[2] = M(0, 0) * M(1, 3) - M(1, 0) * M(0, 3);
        s[3] = M(0, 1) * M(1, 2) - M(1, 1) * M(0, 2);
        s[4] = M(0, 1) * M(1, 3) - M(1, 1) * M(0, 3);
        s[5] = M(0, 2) * M(1, 3) - M(1, 2) * M(0, 3);
        c[5] = M(2, 2) * M(3, 3) - M(3, 2) * M(2, 3);
        c[4] = M(2, 1) * M(3, 3) - M(3, 1) * M(2, 3);
        c[3] = M(2, 1) * M(3, 2) - M(3, 1) * M(2, 2);
        c[2] = M(2, 0) * M(3, 3) - M(3, 0) * M(2, 3);
        c[1] = M(2, 0) * M(3, 2) - M(3, 0) * M(2, 2);
        c[0] = M(2, 0) * M(3, 1) - M(3, 0) * M(2, 1);
    }
    double determinant() const {
        return s[0] * c[5] - s[1] * c[4] + s[2] * c[3] + s[3] * c[2] - s[4] * c[1] + s[5] * c[0];
    }
};

}  // namespace

float Mat4::determinant() const { return static_cast<float>(Minors(m).determinant()); }

bool Mat4::inverse() {
    Minors k(m);
    double det = k.determinant();
    if (det == 0.0 || !std::isfinite(det)) return false;
    double inv = 1.0 / det;
    auto M = [this](int r, int col) { return static_cast<double>(el(m, r, col)); };
    const double* s = k.s;
    const double* c = k.c;
    double b[4][4];
    b[0][0] = (M(1, 1) * c[5] - M(1, 2) * c[4] + M(1, 3) * c[3]) * inv;
    b[0][1] = (-M(0, 1) * c[5] + M(0, 2) * c[4] - M(0, 3) * c[3]) * inv;
    b[0][2] = (M(3, 1) * s[5] - M(3, 2) * s[4] + M(3, 3) * s[3]) * inv;
    b[0][3] = (-M(2, 1) * s[5] + M(2, 2) * s[4] - M(2, 3) * s[3]) * inv;
    b[1][0] = (-M(1, 0) * c[5] + M(1, 2) * c[2] - M(1, 3) * c[1]) * inv;
    b[1][1] = (M(0, 0) * c[5] - M(0, 2) * c[2] + M(0, 3) * c[1]) * inv;
    b[1][2] = (-M(3, 0) * s[5] + M(3, 2) * s[2] - M(3, 3) * s[1]) * inv;
    b[1][3] = (M(2, 0) * s[5] - M(2, 2) * s[2] + M(2, 3) * s[1]) * inv;
    b[2][0] = (M(1, 0) * c[4] - M(1, 1) * c[2] + M(1, 3) * c[0]) * inv;
    b[2][1] = (-M(0, 0) * c[4] + M(0, 1) * c[2] - M(0, 3) * c[0]) * inv;
    b[2][2] = (M(3, 0) * s[4] - M(3, 1) * s[2] + M(3, 3) * s[0]) * inv;
    b[2][3] = (-M(2, 0) * s[4] + M(2, 1) * s[2] - M(2, 3) * s[0]) * inv;
    b[3][0] = (-M(1, 0) * c[3] + M(1, 1) * c[1] - M(1, 2) * c[0]) * inv;
    b[3][1] = (M(0, 0) * c[3] - M(0, 1) * c[1] + M(0, 2) * c[0]) * inv;
    b[3][2] = (-M(3, 0) * s[3] + M(3, 1) * s[1] - M(3, 2) * s[0]) * inv;
    b[3][3] = (M(2, 0) * s[3] - M(2, 1) * s[1] + M(2, 2) * s[0]) * inv;

    float out[16];
    for (int r = 0; r < 4; ++r) {
        for (int col = 0; col < 4; ++col) {
            double v = b[r][col];
            if (!(std::fabs(v) <= FLT_MAX)) return false;   // too close to singular
            out[col * 4 + r] = static_cast<float>(v);
        }
    }
    std::memcpy(m, out, sizeof out);
    return true;
}

Mat4 Mat4::getInversed() const {
    Mat4 out(*this);
    out.inverse();
    return out;
}

void Mat4::transpose() {
    for (int r = 0; r < 4; ++r) {
        for (int c = r + 1; c < 4; ++c) std::swap(m[c * 4 + r], m[r * 4 + c]);
    }
}

Mat4 Mat4::getTransposed() const {
    Mat4 out(*this);
    out.transpose();
    return out;
}

void Mat4::transformPoint(Vec3* point) const { transformPoint(*point, point); }

void Mat4::transformPoint(const Vec3& p, Vec3* dst) const {
    Vec4 v(p.x, p.y, p.z, 1.f);
    transformVector(v, &v);
    *dst = Vec3(v.x, v.y, v.z);
}

void Mat4::transformVector(Vec4* vector) const { transformVector(*vector, vector); }

void Mat4::transformVector(const Vec4& v, Vec4* dst) const {
    float in[4] = {v.x, v.y, v.z, v.w};
    float out[4];
    for (int r = 0; r < 4; ++r) {
        out[r] = el(m, r, 0) * in[0] + el(m, r, 1) * in[1] + el(m, r, 2) * in[2] + el(m, r, 3) * in[3];
    }
    *dst = Vec4(out[0], out[1], out[2], out[3]);
}

void Mat4::getTranslation(Vec3* translation) const { *translation = Vec3(m[12], m[13], m[14]); }

void Mat4::setIdentity() { std::memcpy(m, kIdentity, sizeof m); }

bool Mat4::isIdentity() const { return *this == IDENTITY; }

bool Mat4::operator==(const Mat4& other) const {
    for (int i = 0; i < 16; ++i) {
        if (m[i] != other.m[i]) return false;
    }
    return true;
}

}  // namespace engine
