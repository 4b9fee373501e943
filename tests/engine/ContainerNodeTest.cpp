// Nodes that keep children their own way (parallax, protected children), the
// render texture's picture, the update manifest and the task pool.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <string>
#include <vector>

#include "engine/base/AsyncTaskPool.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/extension/Manifest.h"
#include "engine/files/FileUtils.h"
#include "engine/image/Image.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/scene/ParallaxNode.h"
#include "engine/scene/ProtectedNode.h"
#include "engine/scene/Sprite.h"
#include "support/TestSupport.h"

namespace {

using engine::Node;
using engine::Vec2;

struct ContainerNodeTest : ::testing::Test {
    ~ContainerNodeTest() override { engine::AutoreleasePool::getInstance()->clear(); }
};

TEST_F(ContainerNodeTest, ParallaxChildrenMoveAtTheirRate) {
    struct Case {
        const char* name;
        Vec2 ratio, offset;
        Vec2 child;   // once the parallax node is at (100, 40)
    };
    const Case cases[] = {
        {"moves with it", Vec2(1.f, 1.f), Vec2(), Vec2()},
        {"stays put", Vec2(0.f, 0.f), Vec2(), Vec2(-100.f, -40.f)},
        {"half speed, offset", Vec2(0.5f, 0.5f), Vec2(5.f, 6.f), Vec2(-45.f, -14.f)},
    };
    for (const Case& c : cases) {
        engine::ParallaxNode* parallax = engine::ParallaxNode::create();
        Node* child = Node::create();
        parallax->addChild(child, 1, c.ratio, c.offset);
        EXPECT_EQ(child->getPosition(), c.offset) << c.name << ": placed at once";
        parallax->setPosition(100.f, 40.f);
        parallax->updateChildPositions();
        EXPECT_EQ(child->getPosition(), c.child) << c.name;
        EXPECT_EQ(child->getPosition() + parallax->getPosition(), Vec2(100.f * c.ratio.x, 40.f * c.ratio.y) + c.offset)
            << c.name << ": seen from outside";
    }
    engine::ParallaxNode* parallax = engine::ParallaxNode::create();
    Node* plain = Node::create();
    plain->setPosition(3.f, 3.f);
    parallax->addChild(plain);
    Node* gone = Node::create();
    parallax->addChild(gone, 0, Vec2(0.f, 0.f), Vec2());
    parallax->removeChild(gone);
    parallax->setPosition(50.f, 50.f);
    parallax->updateChildPositions();
    EXPECT_EQ(plain->getPosition(), Vec2(3.f, 3.f)) << "a plain child keeps its place";
    EXPECT_FALSE(parallax->getParallax(gone, nullptr, nullptr)) << "a removed child's entry goes";
}

TEST_F(ContainerNodeTest, ProtectedChildrenStayOutOfTheChildList) {
    engine::ProtectedNode* node = engine::ProtectedNode::create();
    Node* part = Node::create();
    Node* back = Node::create();
    node->addProtectedChild(part, 2, 7);
    node->addProtectedChild(back, -1);
    node->addChild(Node::create());
    EXPECT_EQ(node->getChildrenCount(), 1u);
    EXPECT_EQ(node->getProtectedChildren(), (std::vector<Node*>{back, part})) << "by z-order";
    EXPECT_EQ(part->getParent(), node);
    EXPECT_EQ(node->getProtectedChildByTag(7), part);
    EXPECT_EQ(part->convertToWorldSpace(Vec2()), Vec2()) << "transformed through its parent";

    node->onEnter();
    EXPECT_TRUE(part->isRunning());
    node->removeAllChildren();
    EXPECT_EQ(node->getProtectedChildren().size(), 2u) << "the child calls leave them alone";
    node->reorderProtectedChild(back, 5);
    EXPECT_EQ(node->getProtectedChildren().back(), back);
    part->retain();
    part->removeFromParent();
    EXPECT_EQ(part->getParent(), nullptr);
    EXPECT_FALSE(part->isRunning());
    EXPECT_EQ(node->getProtectedChildren(), (std::vector<Node*>{back}));
    node->addProtectedChild(part);
    node->addProtectedChild(part);   // already parented: refused
    EXPECT_EQ(node->getProtectedChildren().size(), 2u);
    part->release();
    node->removeAllProtectedChildren();
    EXPECT_TRUE(node->getProtectedChildren().empty());
    node->onExit();
}

TEST_F(ContainerNodeTest, RenderTextureClearsAndSavesItsPicture) {
    testsupport::TempDir dir;
    engine::FileUtils::getInstance()->setWritablePath(dir.path() + "/");
    EXPECT_EQ(engine::RenderTexture::create(0, 4), nullptr);
    engine::RenderTexture* texture = engine::RenderTexture::create(3, 2);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getPixels(), std::vector<unsigned char>(24, 0)) << "transparent at first";
    texture->beginWithClear(1.f, 0.f, 0.5f, 1.f);
    EXPECT_TRUE(texture->isDrawing());
    texture->end();
    EXPECT_FALSE(texture->isDrawing());
    const std::vector<unsigned char> pixel = {texture->getPixels().begin(), texture->getPixels().begin() + 4};
    EXPECT_EQ(pixel, (std::vector<unsigned char>{255, 0, 128, 255}));
    EXPECT_EQ(texture->getSprite()->getContentSize(), engine::Size(3.f, 2.f));

    ASSERT_TRUE(texture->saveToFile("shot.png"));
    engine::Image image;
    ASSERT_TRUE(image.initWithImageFile(dir.file("shot.png")));
    EXPECT_EQ(image.getWidth(), 3);
    EXPECT_EQ(image.getData()[2], 128);
    EXPECT_FALSE(texture->saveToFile("shot.bmp"));
    EXPECT_FALSE(texture->saveToFile("no/such/folder.png"));
    engine::FileUtils::destroyInstance();
}

TEST_F(ContainerNodeTest, ManifestReadsWhatItCanAndNothingElse) {
    struct Case {
        const char* name;
        const char* text;
        bool loaded;
        const char* summary;   // version|package|assets|search paths
    };
    const Case cases[] = {
        {"full",
         R"({"version": "1.2", "packageUrl": "http://h/p/", "searchPaths": ["res/", 3],
             "assets": {"a.lua": {"md5": "x", "compressed": true}, "b": 5}})",
         true, "1.2|http://h/p/|a.lua:x:1|res/"},
        {"wrong types are absent", R"({"version": 3, "assets": []})", true, "|||"},
        {"not an object", "[1, 2]", false, "|||"},
        {"not JSON", "{version", false, "|||"},
    };
    for (const Case& c : cases) {
        engine::extension::Manifest* manifest = engine::extension::Manifest::create();
        EXPECT_EQ(manifest->parseJSONString(c.text), c.loaded) << c.name;
        std::string summary = manifest->getVersion() + "|" + manifest->getPackageUrl() + "|";
        for (const auto& [key, asset] : manifest->getAssets()) {
            summary += key + ":" + asset.md5 + ":" + (asset.compressed ? "1" : "0");
        }
        summary += "|";
        for (const std::string& path : manifest->getSearchPaths()) summary += path;
        EXPECT_EQ(summary, c.summary) << c.name;
        EXPECT_EQ(manifest->isLoaded(), c.loaded) << c.name;
    }
    EXPECT_FALSE(engine::extension::Manifest::create("missing.manifest")->isLoaded());
}

TEST_F(ContainerNodeTest, TaskPoolCallsBackOnTheMainThreadUnlessStopped) {
    using Type = engine::AsyncTaskPool::TaskType;
    engine::AsyncTaskPool* pool = engine::AsyncTaskPool::getInstance();
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    std::atomic<int> ran{0};
    std::vector<std::string> called;
    int param = 42;
    pool->enqueue(Type::TASK_IO, [&called](void* p) { called.push_back("io " + std::to_string(*static_cast<int*>(p))); },
                  &param, [&ran] { ++ran; });
    pool->enqueue(Type::TASK_OTHER, [&called](void*) { called.push_back("other"); }, nullptr, [&ran] { ++ran; });
    for (int i = 0; i < 2000 && (ran < 2 || pool->getPendingCount(Type::TASK_IO) + pool->getPendingCount(Type::TASK_OTHER) > 0); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(called.empty()) << "callbacks wait for the main thread";
    pool->stopTasks(Type::TASK_OTHER);   // its callback is dropped
    scheduler->update(0.f);
    EXPECT_EQ(called, (std::vector<std::string>{"io 42"}));
    engine::AsyncTaskPool::destroyInstance();
}

}  // namespace
