#include "engine/image/AutoPolygon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/image/Image.h"

namespace engine {

namespace {

// Which pixels of the rectangle count as solid, row by row from its top.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> solid;

    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && solid[static_cast<size_t>(y) * width + x] != 0;
    }
    // The marching-squares case of the grid point (x, y), the corner shared by
    // the pixels (x-1, y-1) 1, (x, y-1) 2, (x-1, y) 4 and (x, y) 8.
    int caseAt(int x, int y) const {
        return (at(x - 1, y - 1) ? 1 : 0) | (at(x, y - 1) ? 2 : 0) | (at(x - 1, y) ? 4 : 0) | (at(x, y) ? 8 : 0);
    }
};

bool isSaddle(int c) { return c == 6 || c == 9; }

// Follows the outline through the grid point (x, y) with the solid pixels on the
// left of every step; the corners of the outline, in grid points.
std::vector<Vec2> traceFrom(const Mask& mask, int startX, int startY, std::vector<uint8_t>& visited) {
    std::vector<Vec2> corners;
    int x = startX, y = startY;
    int dx = 0, dy = 0;
    const size_t limit = static_cast<size_t>(mask.width + 1) * static_cast<size_t>(mask.height + 1) * 2 + 4;
    for (size_t step = 0; step < limit; ++step) {
        const int c = mask.caseAt(x, y);
        if (!isSaddle(c)) visited[static_cast<size_t>(y) * (mask.width + 1) + x] = 1;
        int nx = 0, ny = 0;
        switch (c) {
            case 1: case 5: case 13: ny = -1; break;
            case 2: case 3: case 7: nx = 1; break;
            case 4: case 12: case 14: nx = -1; break;
            case 8: case 10: case 11: ny = 1; break;
            case 6: if (dy == -1) nx = -1; else nx = 1; break;
            case 9: if (dx == 1) ny = -1; else ny = 1; break;
            default: return {};   // not on an outline
        }
        if (nx != dx || ny != dy) corners.emplace_back(static_cast<float>(x), static_cast<float>(y));
        dx = nx;
        dy = ny;
        x += dx;
        y += dy;
        if (x == startX && y == startY) break;
    }
    return corners;
}

// Twice the signed area in grid space (y down): negative for the outer outlines
// the tracer gives, positive for the holes.
double signedArea2(const std::vector<Vec2>& points) {
    double sum = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec2& a = points[i];
        const Vec2& b = points[(i + 1) % points.size()];
        sum += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return sum;
}

double distanceToChord(const Vec2& p, const Vec2& a, const Vec2& b) {
    const double abx = b.x - a.x, aby = b.y - a.y;
    const double length = std::sqrt(abx * abx + aby * aby);
    const double apx = p.x - a.x, apy = p.y - a.y;
    if (length == 0) return std::sqrt(apx * apx + apy * apy);
    return std::fabs(abx * apy - aby * apx) / length;
}

// Marks the points of [first, last] to keep, the ends being kept already.
void reduceRun(const std::vector<Vec2>& points, size_t first, size_t last, double epsilon, std::vector<uint8_t>& keep) {
    std::vector<std::pair<size_t, size_t>> runs{{first, last}};
    while (!runs.empty()) {
        auto [a, b] = runs.back();
        runs.pop_back();
        if (b <= a + 1) continue;
        double farthest = -1;
        size_t at = a;
        for (size_t i = a + 1; i < b; ++i) {
            const double d = distanceToChord(points[i], points[a], points[b % points.size()]);
            if (d > farthest) {
                farthest = d;
                at = i;
            }
        }
        if (farthest > epsilon) {
            keep[at] = 1;
            runs.emplace_back(a, at);
            runs.emplace_back(at, b);
        }
    }
}

double cross(const Vec2& o, const Vec2& a, const Vec2& b) {
    return static_cast<double>(a.x - o.x) * (b.y - o.y) - static_cast<double>(a.y - o.y) * (b.x - o.x);
}

bool insideTriangle(const Vec2& p, const Vec2& a, const Vec2& b, const Vec2& c) {
    // Counter-clockwise a, b, c (positive cross); points on an edge count.
    return cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0;
}

}  // namespace

std::vector<Vec2> AutoPolygon::reduce(const std::vector<Vec2>& outline, float epsilon) {
    const size_t n = outline.size();
    if (n < 3) return {};
    const double limit = std::max(0.0, static_cast<double>(epsilon));
    // Split the closed outline at its first point and the point farthest from it.
    size_t far = 0;
    double farthest = -1;
    for (size_t i = 1; i < n; ++i) {
        const double dx = outline[i].x - outline[0].x, dy = outline[i].y - outline[0].y;
        if (dx * dx + dy * dy > farthest) {
            farthest = dx * dx + dy * dy;
            far = i;
        }
    }
    std::vector<uint8_t> keep(n, 0);
    keep[0] = keep[far] = 1;
    reduceRun(outline, 0, far, limit, keep);
    reduceRun(outline, far, n, limit, keep);   // index n stands for point 0
    std::vector<Vec2> out;
    for (size_t i = 0; i < n; ++i)
        if (keep[i]) out.push_back(outline[i]);
    if (out.size() < 3 || std::fabs(signedArea2(out)) == 0) return {};
    return out;
}

std::vector<uint16_t> AutoPolygon::triangulate(const std::vector<Vec2>& polygon) {
    std::vector<uint16_t> out;
    const size_t n = polygon.size();
    if (n < 3 || n > std::numeric_limits<uint16_t>::max()) return out;
    // Work counter-clockwise (positive area in these coordinates).
    std::vector<uint16_t> ring(n);
    for (size_t i = 0; i < n; ++i) ring[i] = static_cast<uint16_t>(i);
    if (signedArea2(polygon) < 0) std::reverse(ring.begin(), ring.end());
    while (ring.size() > 3) {
        bool cut = false;
        const size_t m = ring.size();
        for (size_t i = 0; i < m && !cut; ++i) {
            const uint16_t ia = ring[(i + m - 1) % m], ib = ring[i], ic = ring[(i + 1) % m];
            const Vec2 &a = polygon[ia], &b = polygon[ib], &c = polygon[ic];
            if (cross(a, b, c) <= 0) continue;   // reflex or flat: not an ear
            bool empty = true;
            for (size_t j = 0; j < m && empty; ++j) {
                const uint16_t ip = ring[j];
                if (ip == ia || ip == ib || ip == ic) continue;
                const Vec2& p = polygon[ip];
                if ((p.x == a.x && p.y == a.y) || (p.x == b.x && p.y == b.y) || (p.x == c.x && p.y == c.y)) continue;
                if (insideTriangle(p, a, b, c)) empty = false;
            }
            if (!empty) continue;
            out.insert(out.end(), {ia, ib, ic});
            ring.erase(ring.begin() + static_cast<long>(i));
            cut = true;
        }
        if (!cut) {
            // What remains are flat corners only (collinear points) or a
            // self-crossing ring: drop one flat corner, else stop.
            size_t flat = m;
            for (size_t i = 0; i < m && flat == m; ++i)
                if (cross(polygon[ring[(i + m - 1) % m]], polygon[ring[i]], polygon[ring[(i + 1) % m]]) == 0) flat = i;
            if (flat == m) return out;
            ring.erase(ring.begin() + static_cast<long>(flat));
        }
    }
    if (cross(polygon[ring[0]], polygon[ring[1]], polygon[ring[2]]) > 0) out.insert(out.end(), {ring[0], ring[1], ring[2]});
    return out;
}

PolygonInfo AutoPolygon::generatePolygon(const std::string& filename, const Rect& rect, float epsilon,
                                         float threshold) {
    PolygonInfo info;
    info.filename = filename;
    Image image;
    if (!image.initWithImageFile(filename)) return info;
    const int imageWidth = image.getWidth(), imageHeight = image.getHeight();
    // The rectangle in whole pixels, cut to the image.
    Rect area = rect;
    if (!(area.size.width > 0 && area.size.height > 0)) area = Rect(0, 0, imageWidth, imageHeight);
    const int left = std::clamp(static_cast<int>(std::floor(area.origin.x)), 0, imageWidth);
    const int top = std::clamp(static_cast<int>(std::floor(area.origin.y)), 0, imageHeight);
    const int right = std::clamp(static_cast<int>(std::ceil(area.origin.x + area.size.width)), left, imageWidth);
    const int bottom = std::clamp(static_cast<int>(std::ceil(area.origin.y + area.size.height)), top, imageHeight);
    info.rect = Rect(static_cast<float>(left), static_cast<float>(top), static_cast<float>(right - left),
                     static_cast<float>(bottom - top));

    Mask mask;
    mask.width = right - left;
    mask.height = bottom - top;
    mask.solid.assign(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height), 0);
    const bool alpha = image.getRenderFormat() == Texture2D::PixelFormat::RGBA8888;
    const double limit = static_cast<double>(threshold) * 255.0;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const size_t pixel = static_cast<size_t>(top + y) * imageWidth + static_cast<size_t>(left + x);
            const double value = alpha ? image.getData()[pixel * 4 + 3] : 255.0;
            mask.solid[static_cast<size_t>(y) * mask.width + x] = value > limit ? 1 : 0;
        }
    }

    std::vector<PolygonVertex> vertices;
    std::vector<uint16_t> indices;
    std::vector<uint8_t> visited(static_cast<size_t>(mask.width + 1) * static_cast<size_t>(mask.height + 1), 0);
    for (int y = 0; y <= mask.height; ++y) {
        for (int x = 0; x <= mask.width; ++x) {
            const int c = mask.caseAt(x, y);
            if (c == 0 || c == 15 || isSaddle(c) || visited[static_cast<size_t>(y) * (mask.width + 1) + x]) continue;
            std::vector<Vec2> outline = traceFrom(mask, x, y, visited);
            if (signedArea2(outline) >= 0) continue;   // a hole (or nothing)
            std::vector<Vec2> polygon = reduce(outline, epsilon);
            std::vector<uint16_t> triangles = triangulate(polygon);
            if (triangles.empty() || vertices.size() + polygon.size() > std::numeric_limits<uint16_t>::max()) continue;
            const auto base = static_cast<uint16_t>(vertices.size());
            for (const Vec2& p : polygon) {
                const float px = static_cast<float>(left) + p.x, py = static_cast<float>(top) + p.y;
                PolygonVertex vertex;
                vertex.position = Vec3(p.x, static_cast<float>(mask.height) - p.y, 0);
                vertex.texCoords = Vec2(px / static_cast<float>(imageWidth), py / static_cast<float>(imageHeight));
                vertices.push_back(vertex);
            }
            for (uint16_t index : triangles) indices.push_back(static_cast<uint16_t>(base + index));
        }
    }
    info.setTriangles(std::move(vertices), std::move(indices));
    return info;
}

}  // namespace engine
