#pragma once
// Small value types of the engine: vectors, sizes, rectangles and colours.
#include <cmath>
#include <cstdint>

namespace engine {

struct Vec2 {
    float x = 0.f, y = 0.f;
    constexpr Vec2() = default;
    constexpr Vec2(float x_, float y_) : x(x_), y(y_) {}
    constexpr Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
    constexpr Vec2 operator*(float s) const { return {x * s, y * s}; }
    constexpr bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
    float length() const { return std::sqrt(x * x + y * y); }
    static const Vec2 ZERO;
};

struct Vec3 {
    float x = 0.f, y = 0.f, z = 0.f;
    constexpr Vec3() = default;
    constexpr Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    constexpr Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr bool operator==(const Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
    constexpr float dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    constexpr Vec3 cross(const Vec3& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    float length() const { return std::sqrt(dot(*this)); }
};

struct Vec4 {
    float x = 0.f, y = 0.f, z = 0.f, w = 0.f;
    constexpr Vec4() = default;
    constexpr Vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    constexpr bool operator==(const Vec4& o) const {
        return x == o.x && y == o.y && z == o.z && w == o.w;
    }
};

struct Size {
    float width = 0.f, height = 0.f;
    constexpr Size() = default;
    constexpr Size(float w, float h) : width(w), height(h) {}
    constexpr bool operator==(const Size& o) const { return width == o.width && height == o.height; }
    static const Size ZERO;
};

struct Rect {
    Vec2 origin;
    Size size;
    constexpr Rect() = default;
    constexpr Rect(float x, float y, float w, float h) : origin(x, y), size(w, h) {}
    constexpr float getMinX() const { return origin.x; }
    constexpr float getMinY() const { return origin.y; }
    constexpr float getMaxX() const { return origin.x + size.width; }
    constexpr float getMaxY() const { return origin.y + size.height; }
    constexpr bool containsPoint(const Vec2& p) const {
        return p.x >= getMinX() && p.x <= getMaxX() && p.y >= getMinY() && p.y <= getMaxY();
    }
    constexpr bool operator==(const Rect& o) const { return origin == o.origin && size == o.size; }
};

struct Color3B {
    uint8_t r = 0, g = 0, b = 0;
    constexpr bool operator==(const Color3B& o) const { return r == o.r && g == o.g && b == o.b; }
    static const Color3B WHITE;
    static const Color3B BLUE;
};
struct Color4B {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    constexpr bool operator==(const Color4B& o) const {
        return r == o.r && g == o.g && b == o.b && a == o.a;
    }
};
struct Color4F {
    float r = 0.f, g = 0.f, b = 0.f, a = 0.f;
    constexpr bool operator==(const Color4F& o) const {
        return r == o.r && g == o.g && b == o.b && a == o.a;
    }
};

inline constexpr Vec2 Vec2::ZERO{0.f, 0.f};
inline constexpr Size Size::ZERO{0.f, 0.f};
inline constexpr Color3B Color3B::WHITE{255, 255, 255};
inline constexpr Color3B Color3B::BLUE{0, 0, 255};

}  // namespace engine
