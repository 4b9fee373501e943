#pragma once
// Plain geometric records beside the vectors of Types.h: a 2D affine transform and a
// rotation quaternion.
namespace engine {

// The matrix [a c tx; b d ty; 0 0 1]: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
struct AffineTransform {
    float a = 1.f, b = 0.f, c = 0.f, d = 1.f;
    float tx = 0.f, ty = 0.f;
    constexpr bool operator==(const AffineTransform& o) const {
        return a == o.a && b == o.b && c == o.c && d == o.d && tx == o.tx && ty == o.ty;
    }
};

// A rotation as x*i + y*j + z*k + w; the default is the identity (0, 0, 0, 1).
struct Quaternion {
    float x = 0.f, y = 0.f, z = 0.f, w = 1.f;
    constexpr Quaternion() = default;
    constexpr Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    constexpr bool operator==(const Quaternion& o) const {
        return x == o.x && y == o.y && z == o.z && w == o.w;
    }
};

}  // namespace engine
