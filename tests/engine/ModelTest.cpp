// Models read from Wavefront files and the 3D sprites built on them: vertices
// shared between faces, polygons split into triangles, materials' textures,
// refused files, the sprite's box in the world, and loading on a worker.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"
#include "engine/3d/ObjReader.h"
#include "engine/3d/Sprite3D.h"
#include "engine/3d/Sprite3DCache.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/3d/Terrain.h"
#include "engine/app/GLView.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "support/ImageEncoder.h"

namespace {

using engine::ObjMesh;

// A unit quad (two triangles sharing an edge) with texture coordinates and normals.
const char* const kQuad =
    "mtllib quad.mtl\n"
    "o quad\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n"
    "usemtl skin\n"
    "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";

TEST(ModelTest, ReadsMeshesFromModelText) {
    const struct {
        const char* name;
        const char* text;
        size_t meshes;
        size_t vertices;     // of the first mesh
        size_t indices;
        bool normals, texCoords;
    } cases[] = {
        {"shared corners are one vertex", kQuad, 1, 4, 6, true, true},
        {"a polygon becomes a fan", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 1 0\nf 1 2 3 4 5\n", 1, 5, 9, false, false},
        {"a corner with another normal is another vertex",
         "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nvn 0 0 -1\nf 1//1 2//1 3//1\nf 1//2 3//2 2//2\n", 1, 6, 6, true, false},
        {"one mesh per object", "o a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\no b\nf 3 2 1\no empty\n", 2, 3, 3, false, false},
        {"relative indices", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\n", 1, 3, 3, false, false},
    };
    for (const auto& c : cases) {
        std::vector<ObjMesh> meshes;
        std::string error;
        ASSERT_TRUE(engine::readObjData(c.text, std::strlen(c.text), "", meshes, &error)) << c.name << ": " << error;
        ASSERT_EQ(meshes.size(), c.meshes) << c.name;
        const ObjMesh& mesh = meshes[0];
        EXPECT_EQ(mesh.positions.size(), c.vertices * 3) << c.name;
        EXPECT_EQ(mesh.indices.size(), c.indices) << c.name;
        EXPECT_EQ(mesh.normals.size(), c.normals ? c.vertices * 3 : 0) << c.name;
        EXPECT_EQ(mesh.texCoords.size(), c.texCoords ? c.vertices * 2 : 0) << c.name;
        for (unsigned index : mesh.indices) EXPECT_LT(index, c.vertices) << c.name;
    }

    std::vector<ObjMesh> meshes;
    ASSERT_TRUE(engine::readObjData(kQuad, std::strlen(kQuad), "", meshes));
    EXPECT_EQ(meshes[0].name, "quad");
    // t runs down from the image's top: the file's v = 0 is t = 1.
    EXPECT_EQ(meshes[0].texCoords[1], 1.f);
    EXPECT_EQ(meshes[0].texCoords[5], 0.f);
    EXPECT_EQ(meshes[0].diffuseTexture, "") << "no folder: materials are skipped";
}

TEST(ModelTest, RefusesBrokenModelsAndAppendsNothing) {
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"position index past the end", "v 0 0 0\nv 1 0 0\nf 1 2 3\n"},
        {"normal index past the end", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nf 1//1 2//2 3//1\n"},
        {"texture index past the end", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/4 2/1 3/1\n"},
        {"no faces", "v 0 0 0\nv 1 0 0\n"},
        {"a polygon of 256 corners", nullptr},
        {"empty", ""},
    };
    std::string polygon = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf";
    for (int i = 0; i < 256; ++i) polygon += " " + std::to_string(i % 3 + 1);
    polygon += "\n";
    for (const auto& c : cases) {
        std::vector<ObjMesh> meshes(1);
        std::string error;
        const std::string text = c.text ? c.text : polygon;
        EXPECT_FALSE(engine::readObjData(text.data(), text.size(), "", meshes, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(meshes.size(), 1u) << c.name;
    }
}

class SpriteModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = dir.write("models/quad.obj", kQuad);
        dir.write("models/quad.mtl", "newmtl skin\nmap_Kd skin.png\n");
    }
    void TearDown() override {
        engine::Sprite3DCache::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }

    testsupport::TempDir dir;
    std::string model;
};

TEST_F(SpriteModelTest, FileModelsKeepTheirMaterialTexture) {
    std::vector<ObjMesh> meshes;
    std::string error;
    ASSERT_TRUE(engine::readObjFile(model, meshes, &error)) << error;
    EXPECT_EQ(meshes[0].diffuseTexture, dir.file("models/skin.png"));
    EXPECT_FALSE(engine::readObjFile(dir.file("models/none.obj"), meshes, &error));
    EXPECT_EQ(meshes.size(), 1u);
}

TEST_F(SpriteModelTest, SpriteBoxFollowsTheNodeIntoTheWorld) {
    engine::Sprite3D* sprite = engine::Sprite3D::create(model);
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(sprite->getMeshCount(), 1u);
    EXPECT_EQ(sprite->getMeshByName("quad"), sprite->getMesh());
    EXPECT_EQ(sprite->getMeshByIndex(1), nullptr);
    EXPECT_EQ(sprite->getMesh()->getIndexCount(), 6u);

    sprite->setPosition3D(engine::Vec3(10, 20, 30));
    sprite->setScale(2);
    const engine::AABB& box = sprite->getAABB();
    EXPECT_EQ(box._min, engine::Vec3(10, 20, 30));
    EXPECT_EQ(box._max, engine::Vec3(12, 22, 30));
    // A second sprite of the same file shares the cached model.
    EXPECT_NE(engine::Sprite3DCache::getInstance()->getSpriteData(model), nullptr);
    EXPECT_NE(engine::Sprite3D::create(model), nullptr);

    testsupport::LogCapture log;
    EXPECT_EQ(engine::Sprite3D::create(dir.file("models/none.obj")), nullptr);
    dir.write("models/broken.obj", "v 0 0 0\nf 1 2 3\n");
    EXPECT_EQ(engine::Sprite3D::create(dir.file("models/broken.obj")), nullptr);
    EXPECT_TRUE(log.contains("index out of range")) << log.text();
}

TEST_F(SpriteModelTest, AsyncCreationCallsBackOnceOnTheMainThread) {
    dir.write("models/broken.obj", "v 0 0 0\n");
    const struct {
        std::string path;
        bool made;
    } cases[] = {{model, true}, {model, true}, {dir.file("models/broken.obj"), false}, {dir.file("models/none.obj"), false}};
    testsupport::LogCapture log;
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    for (const auto& c : cases) {
        int calls = 0;
        engine::Sprite3D* made = nullptr;
        int param = 7;
        engine::Sprite3D::createAsync(
            c.path,
            [&](engine::Sprite3D* sprite, void* p) {
                ++calls;
                made = sprite;
                EXPECT_EQ(p, &param);
            },
            &param);
        EXPECT_EQ(calls, 0) << c.path;
        for (int frame = 0; frame < 500 && calls == 0; ++frame) {
            scheduler->update(0.01f);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        scheduler->update(0.01f);
        EXPECT_EQ(calls, 1) << c.path;
        EXPECT_EQ(made != nullptr, c.made) << c.path;
        if (made) EXPECT_EQ(made->getMeshCount(), 1u);
    }
}

TEST_F(SpriteModelTest, BlendFollowsTheTextureUntilSet) {
    const struct {
        const char* what;
        bool premultiplied;
        bool set;
        engine::BlendFunc expected;
    } cases[] = {
        {"straight colours", false, false, engine::BlendFunc::ALPHA_NON_PREMULTIPLIED},
        {"premultiplied colours", true, false, engine::BlendFunc::ALPHA_PREMULTIPLIED},
        {"a set blend stays", true, true, engine::BlendFunc::ADDITIVE},
    };
    for (const auto& c : cases) {
        engine::Sprite3D* sprite = engine::Sprite3D::create(model);
        ASSERT_NE(sprite, nullptr);
        if (c.set) sprite->setBlendFunc(engine::BlendFunc::ADDITIVE);
        auto* texture = engine::Texture2D::createWithData(std::vector<unsigned char>(4, 255), 1, 1,
                                                          engine::Texture2D::PixelFormat::RGBA8888, c.premultiplied);
        sprite->setTexture(texture);
        texture->release();
        EXPECT_EQ(sprite->getBlendFunc(), c.expected) << c.what;
    }
}

struct SquareView : engine::GLView {
    SquareView() { setFrameSize(100, 100); }
};

// With a GL context the sprite's triangles go out in one draw per mesh: the
// model's positions and texture coordinates, its indices, its texture, the
// world transform in the matrix, depth testing on around it.
TEST_F(SpriteModelTest, DrawsItsTrianglesWithTheWorldTransform) {
    engine::GLRecorder gl;
    auto* view = new SquareView;
    engine::Director::getInstance()->setOpenGLView(view);
    view->release();
    engine::Sprite3D* sprite = engine::Sprite3D::create(model);
    ASSERT_NE(sprite, nullptr);
    auto* texture = engine::Texture2D::createWithData(std::vector<unsigned char>(4 * 4, 255), 2, 2,
                                                      engine::Texture2D::PixelFormat::RGBA8888, false);
    sprite->setTexture(texture);
    texture->release();
    sprite->setPosition3D(engine::Vec3(10, 20, -5));
    sprite->setScale(8);
    engine::Scene* scene = engine::Scene::create();
    scene->addChild(sprite);
    engine::Director::getInstance()->runWithScene(scene);
    engine::Director::getInstance()->mainLoop(0);

    const auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 1u);
    const engine::GLRecordedCall& draw = *draws[0];
    EXPECT_EQ(draw.args[0], GL_TRIANGLES);
    EXPECT_EQ(draw.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    const engine::GLRecordedArray* positions = draw.array(0);
    const engine::GLRecordedArray* texCoords = draw.array(2);
    ASSERT_NE(positions, nullptr);
    ASSERT_NE(texCoords, nullptr);
    EXPECT_EQ(positions->size, 3);
    EXPECT_EQ(positions->floatAt(2, 0), 1.f);
    EXPECT_EQ(positions->floatAt(2, 1), 1.f);
    EXPECT_EQ(texCoords->floatAt(2, 0), 1.f);
    EXPECT_EQ(texCoords->floatAt(2, 1), 0.f);
    EXPECT_EQ(draw.array(1), nullptr) << "no per-vertex colour";

    // The last matrix before the draw: projection times the sprite's world transform.
    const engine::GLRecordedCall* matrix = nullptr;
    bool depthOn = false, depthOffAfter = false;
    for (const engine::GLRecordedCall& call : gl.calls()) {
        if (&call == &draw) break;
        if (call.name == "glUniformMatrix4fv") matrix = &call;
        if (call.name == "glEnable" && call.args[0] == GL_DEPTH_TEST) depthOn = true;
    }
    for (auto it = gl.calls().rbegin(); it != gl.calls().rend() && &*it != &draw; ++it) {
        if (it->name == "glDisable" && it->args[0] == GL_DEPTH_TEST) depthOffAfter = true;
    }
    EXPECT_TRUE(depthOn);
    EXPECT_TRUE(depthOffAfter);
    const auto blends = gl.callsNamed("glBlendFunc");
    ASSERT_FALSE(blends.empty());
    EXPECT_EQ(blends.back()->args, (std::vector<double>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    ASSERT_NE(matrix, nullptr);
    engine::Director* director = engine::Director::getInstance();
    const engine::Mat4 expected =
        director->getMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_PROJECTION) * sprite->getNodeToWorldTransform();
    ASSERT_EQ(matrix->floats.size(), 16u);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(matrix->floats[i], expected.m[i], 1e-4) << i;
    engine::Director::destroyInstance();
    engine::GLProgramCache::destroyInstance();
}

// A rising slope: its height map climbs from 0 to 100 along x over four pixels.
TEST_F(SpriteModelTest, TerrainMeetsRays) {
    testsupport::PngImage png;
    png.width = 5;
    png.height = 2;
    png.colorType = 0;   // grey: red = grey
    png.rows = {0, 25, 50, 75, 100, 0, 25, 50, 75, 100};
    const std::vector<unsigned char> bytes = testsupport::encodePng(png);
    engine::Terrain::TerrainData data;
    data._heightMapSrc = dir.write("slope.png", std::string(bytes.begin(), bytes.end()));
    data._mapHeight = 255;
    data._mapScale = 1;
    engine::Terrain* terrain = engine::Terrain::create(data);
    ASSERT_NE(terrain, nullptr);
    EXPECT_EQ(terrain->getTerrainSize().width, 5);
    EXPECT_NEAR(terrain->getHeight(0, 0), 50, 1e-4);   // x = 0 is the middle column
    EXPECT_NEAR(terrain->getHeight(1.5f, 0.25f), 87.5f, 1e-4);
    const struct {
        const char* what;
        engine::Vec3 origin, direction;
        bool hit;
        float x;
    } cases[] = {
        {"straight down", {0.5f, 500, 0}, {0, -1, 0}, true, 0.5f},
        {"level, into the slope", {-10, 50, 0}, {1, 0, 0}, true, 0},
        {"level, above it all", {-10, 150, 0}, {1, 0, 0}, false, 0},
        {"up, away", {0, 60, 0}, {0, 1, 0}, false, 0},
    };
    for (const auto& c : cases) {
        engine::Vec3 point;
        EXPECT_EQ(terrain->getIntersectionPoint(engine::Ray(c.origin, c.direction), point), c.hit) << c.what;
        if (!c.hit) continue;
        EXPECT_NEAR(point.x, c.x, 1e-3) << c.what;
        EXPECT_NEAR(point.y, terrain->getHeight(point.x, point.z), 1e-2) << c.what;
    }
    png.height = 1;
    png.rows.resize(5);
    const std::vector<unsigned char> thin = testsupport::encodePng(png);
    data._heightMapSrc = dir.write("thin.png", std::string(thin.begin(), thin.end()));
    testsupport::LogCapture log;
    EXPECT_EQ(engine::Terrain::create(data), nullptr);
    EXPECT_TRUE(log.contains("smaller than 2 x 2")) << log.text();
}

}  // namespace
