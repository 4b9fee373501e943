// Tracing an image's solid pixels into triangles, and sprites made from the result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/image/AutoPolygon.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

namespace {

using engine::AutoPolygon;
using engine::PolygonInfo;
using engine::Rect;
using engine::Vec2;

// An RGBA image from rows of characters: '#' opaque, '.' clear, digits the
// alpha in tenths of 255 ('1' is 25).
std::string writeImage(const testsupport::TempDir& dir, const std::string& name, const std::vector<std::string>& rows) {
    testsupport::PngImage image;
    image.width = static_cast<int>(rows[0].size());
    image.height = static_cast<int>(rows.size());
    for (const std::string& row : rows) {
        for (char c : row) {
            const unsigned char alpha = c == '#' ? 255 : c == '.' ? 0 : static_cast<unsigned char>((c - '0') * 255 / 10);
            image.rows.insert(image.rows.end(), {200, 100, 50, alpha});
        }
    }
    std::vector<unsigned char> png = testsupport::encodePng(image);
    return dir.write(name, std::string(png.begin(), png.end()));
}

double area(const PolygonInfo& info) {
    double sum = 0;
    const auto& v = info.getVertices();
    const auto& i = info.getIndices();
    for (size_t t = 0; t + 2 < i.size(); t += 3) {
        const auto &a = v[i[t]].position, &b = v[i[t + 1]].position, &c = v[i[t + 2]].position;
        sum += std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
    }
    return sum;
}

std::vector<std::string> disc(int size) {
    std::vector<std::string> rows;
    const double r = size / 2.0;
    for (int y = 0; y < size; ++y) {
        std::string row;
        for (int x = 0; x < size; ++x) row += std::hypot(x + 0.5 - r, y + 0.5 - r) <= r ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(AutoPolygon, TracesSimplifiesAndTriangulatesTheSolidPixels) {
    const std::vector<std::string> square(8, "########");
    const std::vector<std::string> clear(8, "........");
    const std::vector<std::string> faint(4, "1111");
    const std::vector<std::string> ell = {"##..", "##..", "####", "####"};
    const std::vector<std::string> islands = {"####......", "####......", "####......", "####......",
                                               "......####", "......####", "......####", "......####"};
    const std::vector<std::string> diagonal = {"#.", ".#"};
    const std::vector<std::string> ring = {"#####", "#...#", "#...#", "#####"};
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        Rect rect;
        float epsilon, threshold;
        size_t vertices, triangles;
        double area;
        Rect expectedRect;
    };
    const float e = AutoPolygon::kDefaultEpsilon, t = AutoPolygon::kDefaultThreshold;
    const Case cases[] = {
        {"opaque square", square, Rect(), e, t, 4, 2, 64, Rect(0, 0, 8, 8)},
        {"transparent image", clear, Rect(), e, t, 0, 0, 0, Rect(0, 0, 8, 8)},
        {"faint alpha below the threshold", faint, Rect(), e, 0.1f, 0, 0, 0, Rect(0, 0, 4, 4)},
        {"alpha above a lower threshold", faint, Rect(), e, 0.05f, 4, 2, 16, Rect(0, 0, 4, 4)},
        {"part of the image", square, Rect(2, 3, 4, 4), e, t, 4, 2, 16, Rect(2, 3, 4, 4)},
        {"rectangle cut to the image", square, Rect(4, -2, 10, 8), e, t, 4, 2, 24, Rect(4, 0, 4, 6)},
        {"concave shape kept exactly", ell, Rect(), 0.5f, t, 6, 4, 12, Rect(0, 0, 4, 4)},
        {"two islands", islands, Rect(), e, t, 8, 4, 32, Rect(0, 0, 10, 8)},
        {"pixels touching at a corner trace apart", diagonal, Rect(), 0.f, t, 8, 4, 2, Rect(0, 0, 2, 2)},
        {"a hole is covered", ring, Rect(), e, t, 4, 2, 20, Rect(0, 0, 5, 4)},
    };
    testsupport::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = writeImage(dir, std::string(c.name) + ".png", c.rows);
        PolygonInfo info = AutoPolygon::generatePolygon(file, c.rect, c.epsilon, c.threshold);
        EXPECT_EQ(info.filename, file);
        EXPECT_EQ(info.rect.origin.x, c.expectedRect.origin.x);
        EXPECT_EQ(info.rect.origin.y, c.expectedRect.origin.y);
        EXPECT_EQ(info.rect.size.width, c.expectedRect.size.width);
        EXPECT_EQ(info.rect.size.height, c.expectedRect.size.height);
        EXPECT_EQ(info.getVertCount(), c.vertices);
        EXPECT_EQ(info.getTrianglesCount(), c.triangles);
        EXPECT_DOUBLE_EQ(area(info), c.area);
        for (const auto& v : info.getVertices()) {
            EXPECT_GE(v.position.x, 0);
            EXPECT_LE(v.position.x, c.expectedRect.size.width);
            EXPECT_GE(v.position.y, 0);
            EXPECT_LE(v.position.y, c.expectedRect.size.height);
            // The texture point is the image point the vertex stands on (y flipped).
            EXPECT_FLOAT_EQ(v.texCoords.x * c.rows[0].size(), c.expectedRect.origin.x + v.position.x);
            EXPECT_FLOAT_EQ(v.texCoords.y * c.rows.size(),
                            c.expectedRect.origin.y + c.expectedRect.size.height - v.position.y);
        }
    }
    EXPECT_EQ(AutoPolygon::generatePolygon(dir.file("missing.png")).getVertCount(), 0u);
}

// A round shape: a larger epsilon keeps fewer points, and the outline stays
// within epsilon of the pixels' area.
TEST(AutoPolygon, EpsilonTradesPointsForFit) {
    testsupport::TempDir dir;
    const std::string file = writeImage(dir, "disc.png", disc(40));
    double solid = 0;
    for (const std::string& row : disc(40))
        for (char c : row) solid += c == '#';
    size_t previous = SIZE_MAX, first = 0;
    for (float epsilon : {0.f, 1.f, 2.f, 4.f}) {
        SCOPED_TRACE(epsilon);
        PolygonInfo info = AutoPolygon::generatePolygon(file, Rect(), epsilon);
        EXPECT_LE(info.getVertCount(), previous);
        if (epsilon == 0) first = info.getVertCount();
        EXPECT_EQ(info.getTrianglesCount(), info.getVertCount() - 2);
        EXPECT_NEAR(area(info), solid, epsilon * 40 * 3.1416 + 1e-9);
        previous = info.getVertCount();
    }
    EXPECT_GT(first, 4 * previous);   // the pixel staircase against a few chords
}

TEST(AutoPolygon, ReduceAndTriangulateOnTheirOwn) {
    // A square with extra points on its sides, one 1 unit out of line.
    const std::vector<Vec2> bumpy = {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {11, 7}, {10, 10}, {0, 10}, {0, 4}};
    EXPECT_EQ(AutoPolygon::reduce(bumpy, 2.f).size(), 4u);
    EXPECT_EQ(AutoPolygon::reduce(bumpy, 0.8f).size(), 5u);
    EXPECT_TRUE(AutoPolygon::reduce({{0, 0}, {1, 1}, {2, 2}}, 0.f).empty());   // no area
    EXPECT_TRUE(AutoPolygon::reduce({{0, 0}, {1, 1}}, 0.f).empty());

    // An arrow (concave), in both windings: n - 2 triangles covering its area 6.
    std::vector<Vec2> arrow = {{0, 0}, {4, 2}, {0, 4}, {1, 2}};
    for (int winding = 0; winding < 2; ++winding) {
        std::vector<uint16_t> triangles = AutoPolygon::triangulate(arrow);
        ASSERT_EQ(triangles.size(), 6u);
        double sum = 0;
        for (size_t t = 0; t < triangles.size(); t += 3) {
            const Vec2 &a = arrow[triangles[t]], &b = arrow[triangles[t + 1]], &c = arrow[triangles[t + 2]];
            sum += std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
        }
        EXPECT_DOUBLE_EQ(sum, 6.0);
        std::reverse(arrow.begin(), arrow.end());
    }
    // A self-crossing bow tie ends without looping forever.
    EXPECT_LE(AutoPolygon::triangulate({{0, 0}, {2, 2}, {2, 0}, {0, 2}, {1, 5}}).size(), 9u);
}

TEST(SpriteFromPolygon, ShowsTheInfosImageAndRectangle) {
    testsupport::TempDir dir;
    const std::string file = writeImage(dir, "s.png", std::vector<std::string>(4, "..######"));
    PolygonInfo whole = AutoPolygon::generatePolygon(file);
    PolygonInfo part = AutoPolygon::generatePolygon(file, Rect(2, 0, 6, 4));
    PolygonInfo missing;
    missing.filename = dir.file("missing.png");
    {
        engine::Sprite* sprite = engine::Sprite::create(part);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->getTexture(), engine::TextureCache::getInstance()->getTextureForKey(file));
        EXPECT_EQ(sprite->getTextureRect().origin.x, 2.f);
        EXPECT_EQ(sprite->getContentSize().width, 6.f);
        EXPECT_EQ(sprite->getPolygonInfo().getVertCount(), 4u);
        EXPECT_EQ(engine::Sprite::create(missing), nullptr);

        EXPECT_FALSE(sprite->initWithPolygon(missing));   // unchanged
        EXPECT_EQ(sprite->getContentSize().width, 6.f);
        EXPECT_TRUE(sprite->initWithPolygon(whole));
        EXPECT_EQ(sprite->getContentSize().width, 8.f);
        sprite->setPolygonInfo(missing);
        EXPECT_EQ(sprite->getPolygonInfo().filename, missing.filename);
        EXPECT_EQ(sprite->getContentSize().width, 8.f);
    }
    engine::AutoreleasePool::getInstance()->clear();
    engine::TextureCache::destroyInstance();
}

}  // namespace
