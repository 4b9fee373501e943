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
        {"empty", ""},
    };
    for (const auto& c : cases) {
        std::vector<ObjMesh> meshes(1);
        std::string error;
        EXPECT_FALSE(engine::readObjData(c.text, std::strlen(c.text), "", meshes, &error)) << c.name;
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

}  // namespace
