// The loading scene: its layout with and without the optional files, the progress
// arithmetic on a fake clock, the status lines, the alert and the last state.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/files/FileUtils.h"
#include "engine/label/Label.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/DrawNode.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Text.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"
#include "updater/LoadingScene.h"
#include "updater/UpdateTexts.h"

using engine::Size;
using engine::Vec2;
using updater::LoadingScene;

namespace {

struct FakeView : engine::GLView {
    FakeView(float width, float height) { setFrameSize(width, height); }
};

struct LoadingSceneTest : ::testing::Test {
    testsupport::TempDir dir;
    engine::Clock::TimePoint now{};
    LoadingScene scene;
    std::vector<std::string> originalPaths{"/packaged/"};

    LoadingSceneTest() {
        auto* files = engine::FileUtils::getInstance();
        files->setWritablePath(dir.file("writable"));
        files->setSearchPaths({dir.path() + "/res/"});
        originalPaths = files->getSearchPaths();
        engine::Clock::setSource([this] { return now; });
        useFrame(1334, 750);
    }
    ~LoadingSceneTest() override {
        engine::Clock::setSource({});
        engine::Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
        engine::TextureCache::getInstance()->removeAllTextures();
        engine::FileUtils::getInstance()->setSearchPaths({});
        engine::FileUtils::getInstance()->setWritablePath("");
        engine::FileUtils::getInstance()->setPopupNotify(true);
        updater::updateTexts() = updater::UpdateTexts{};
    }
    // Every text as its key in angle brackets.
    static void bracketTexts() {
        updater::UpdateTexts& t = updater::updateTexts();
        t.auCheckUpdate = "<au_checkupdate>";
        t.auUpdate = "<au_update>";
        t.alertTitle = "<alert_title>";
        t.alertRetry = "<alert_retry>";
    }
    void useFrame(float width, float height) {
        auto* view = new FakeView(width, height);
        engine::Director::getInstance()->setOpenGLView(view);
        view->release();
    }
    void advance(double seconds) {
        now += std::chrono::duration_cast<engine::Clock::TimePoint::duration>(std::chrono::duration<double>(seconds));
    }
    void png(const std::string& name, int width, int height) {
        auto bytes = testsupport::encodeBlankPng(width, height);
        write(name, bytes);
    }
    void jpeg(const std::string& name, int width, int height) {
        auto bytes = testsupport::encodeJpeg(width, height, 1,
                                             std::vector<unsigned char>(static_cast<size_t>(width * height), 128));
        write(name, bytes);
    }
    void write(const std::string& name, const std::vector<unsigned char>& bytes) {
        dir.write("res/" + name, std::string(bytes.begin(), bytes.end()));
    }
    const std::string& status() const { return scene.statusLabel()->getString(); }
    engine::Node* childAtZ(int z) const {
        for (engine::Node* child : scene.scene()->getChildren()) {
            if (child->getLocalZOrder() == z) return child;
        }
        return nullptr;
    }
};

void expectNear(const Vec2& got, const Vec2& want) {
    EXPECT_NEAR(got.x, want.x, 0.01);
    EXPECT_NEAR(got.y, want.y, 0.01);
}

TEST_F(LoadingSceneTest, WithEveryFileMissingAPlainBarSitsAboveTheBottom) {
    struct Case {
        float frameWidth, frameHeight;
        float originY;   // the visible area's bottom in the design space
    };
    // 1600 x 750 with no border scales by 1600/1334: the visible area loses height.
    const Case cases[] = {{1334, 750, 0.f}, {1600, 750, (750 - 750 * 1334.f / 1600) / 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frameWidth);
        useFrame(c.frameWidth, c.frameHeight);
        LoadingScene fresh;
        bool textsLoaded = false;
        fresh.buildScene([&] { textsLoaded = true; });
        EXPECT_TRUE(textsLoaded);
        EXPECT_EQ(fresh.layoutRoot(), nullptr);
        EXPECT_EQ(fresh.backgroundSprite(), nullptr);
        EXPECT_EQ(fresh.pillSprite(), nullptr);
        EXPECT_EQ(fresh.pillDrawNode(), nullptr);
        engine::Scene* root = fresh.scene();
        ASSERT_NE(root, nullptr);
        ASSERT_EQ(root->getChildrenCount(), 4u);   // backdrop, track, fill, label

        auto* backdrop = dynamic_cast<engine::LayerColor*>(root->getChildren()[0]);
        ASSERT_NE(backdrop, nullptr);
        EXPECT_EQ(backdrop->getLocalZOrder(), -10);
        EXPECT_EQ(backdrop->getColor4B(), (engine::Color4B{20, 20, 80, 255}));
        EXPECT_EQ(backdrop->getContentSize(), Size(1334, 750));

        auto* track = dynamic_cast<engine::LayerColor*>(root->getChildren()[1]);
        ASSERT_NE(track, nullptr);
        EXPECT_EQ(track->getLocalZOrder(), 10);
        EXPECT_EQ(track->getColor4B(), (engine::Color4B{0, 0, 0, 130}));
        EXPECT_EQ(track->getContentSize(), Size(540, 20));
        const engine::Rect trackBox = track->getBoundingBox();
        expectNear(trackBox.origin, Vec2(397, c.originY + 96));

        engine::LayerColor* fill = fresh.fillLayer();
        ASSERT_EQ(fill, root->getChildren()[2]);
        EXPECT_EQ(fill->getLocalZOrder(), 11);
        EXPECT_EQ(fill->getColor4B(), (engine::Color4B{95, 215, 125, 255}));
        EXPECT_EQ(fill->getContentSize(), Size(1, 20));
        expectNear(fill->getBoundingBox().origin, trackBox.origin);

        engine::Label* label = fresh.statusLabel();
        ASSERT_EQ(label, root->getChildren()[3]);
        EXPECT_EQ(label->getLocalZOrder(), 12);
        EXPECT_EQ(label->getString(), "au_checkupdate");
        EXPECT_EQ(label->getSystemFontName(), "sans-serif");
        EXPECT_EQ(label->getSystemFontSize(), 25.f);
        EXPECT_EQ(label->getTextColor(), (engine::Color4B{255, 255, 255, 255}));
        EXPECT_EQ(label->getOutlineSize(), 4);
        EXPECT_EQ(label->getOutlineColor(), (engine::Color4B{0, 0, 0, 255}));
        EXPECT_EQ(label->getAnchorPoint(), Vec2(0.5f, 0.5f));
        expectNear(label->getPosition(), Vec2(667, c.originY + 96 + 20 + 30));
    }
}

TEST_F(LoadingSceneTest, BuildPutsTheUpdatesFoldersFirstAndTheLastStateRestoresThemWithALayout) {
    const std::string cache = engine::FileUtils::getInstance()->getWritablePath() + "auc/Resources/";
    const std::string res = dir.path() + "/res/";   // the resource root is empty: relative stays relative
    dir.write("res/autoupdate/autoupdate.json", R"({"type": "Layout", "children": [
        {"name": "bg", "type": "Widget"},
        {"name": "bar_process", "type": "LoadingBar"},
        {"name": "lbl_msg", "type": "Text"}]})");
    bracketTexts();
    scene.buildScene(nullptr);
    auto* files = engine::FileUtils::getInstance();
    EXPECT_FALSE(files->isPopupNotify());
    const std::vector<std::string> expected = {"res/",          cache + "frame/", cache + "stu/", cache + "res/",
                                               cache + "src/",  cache + "skin/",  cache,           "frame/",
                                               "stu/",          "res/",           "src/",          "skin/",
                                               res};
    EXPECT_EQ(files->getSearchPaths(), expected);
    EXPECT_EQ(scene.savedSearchPaths(), originalPaths);

    // The layout's own pieces are hidden but follow the display.
    ASSERT_NE(scene.layoutRoot(), nullptr);
    EXPECT_EQ(scene.layoutRoot()->getParent(), scene.scene());
    ASSERT_NE(scene.layoutBar(), nullptr);
    ASSERT_NE(scene.layoutLabel(), nullptr);
    EXPECT_FALSE(scene.layoutBar()->isVisible());
    EXPECT_FALSE(scene.layoutLabel()->isVisible());
    EXPECT_FALSE(scene.layoutRoot()->getChildByName("bg")->isVisible());
    EXPECT_EQ(scene.layoutLabel()->getString(), "<au_checkupdate>");
    scene.resetProgress();
    scene.onProgress(100, 30);
    EXPECT_EQ(scene.layoutBar()->getPercent(), 15.f);
    EXPECT_EQ(scene.layoutLabel()->getString(), status());
    scene.showStatus(updater::updateTexts().auCheckUpdate);
    EXPECT_EQ(scene.layoutBar()->getPercent(), 100.f);
    EXPECT_EQ(status(), "<au_checkupdate>");

    engine::Label* label = scene.statusLabel();
    engine::LayerColor* fill = scene.fillLayer();
    engine::ui::Widget* layout = scene.layoutRoot();
    layout->retain();
    scene.showStartingGame();
    EXPECT_EQ(files->getSearchPaths(), originalPaths);
    EXPECT_TRUE(files->isPopupNotify());
    EXPECT_EQ(layout->getParent(), nullptr);
    layout->release();
    EXPECT_EQ(scene.layoutRoot(), nullptr);
    EXPECT_EQ(scene.statusLabel(), nullptr);
    EXPECT_EQ(label->getString(), "Đang khởi động game...");
    EXPECT_EQ(fill->getContentSize(), Size(540, 20));
}

TEST_F(LoadingSceneTest, WithoutALayoutTheLastStateKeepsTheUpdatesFolders) {
    scene.buildScene(nullptr);
    const std::vector<std::string> during = engine::FileUtils::getInstance()->getSearchPaths();
    scene.showStartingGame();
    EXPECT_EQ(engine::FileUtils::getInstance()->getSearchPaths(), during);
    EXPECT_FALSE(engine::FileUtils::getInstance()->isPopupNotify());
}

TEST_F(LoadingSceneTest, PercentWeighsDownloadAndUnpackingHalfEachAndNeverFalls) {
    scene.buildScene(nullptr);
    struct Step {
        const char* what;
        bool unzip;   // an unzip report, else a download report
        int64_t a, b;   // download: total, done; unzip: fileIndex, fileCount
        int64_t bytesDone, bytesTotal;
        float percent;
        bool unzipping;
    };
    const Step steps[] = {
        {"half downloaded", false, 1000, 500, 0, 0, 25, false},
        {"a restart reports less: the bar holds", false, 1000, 100, 0, 0, 25, false},
        // (10% + 10%) / 2 is under what is shown.
        {"unpacking reported while downloads run", true, 0, 2, 100, 1000, 25, false},
        {"download complete", false, 1000, 1000, 0, 0, 55, false},
        {"done beyond the total counts as the total", false, 1000, 5000, 0, 0, 55, false},
        {"unpack report after the download: the unpack line", true, 0, 2, 100, 1000, 55, true},
        {"every byte unpacked, last package not reported", true, 1, 2, 1000, 1000, 99, true},
        {"last package unpacked", true, 2, 2, 1000, 1000, 100, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.unzip) {
            scene.onUnzipProgress(static_cast<int>(s.a), static_cast<int>(s.b), 0, 0, s.bytesDone, s.bytesTotal);
        } else {
            scene.onProgress(s.a, s.b);
        }
        EXPECT_EQ(scene.progress().shownPercent, s.percent);
        EXPECT_EQ(scene.progress().unzipping, s.unzipping);
        EXPECT_EQ(scene.fillLayer()->getContentSize(), Size(540 * s.percent / 100, 20));
    }

    // A download finished with nothing unpacked yet shows half.
    scene.resetProgress();
    scene.onProgress(4000, 4000);
    EXPECT_EQ(scene.progress().shownPercent, 50.f);
    EXPECT_TRUE(scene.progress().downloadDone);
    EXPECT_FALSE(scene.progress().unzipping);
    // Nothing to fetch counts as fetched, without dividing by zero.
    scene.resetProgress();
    scene.onProgress(0, 0);
    EXPECT_EQ(scene.progress().shownPercent, 50.f);
    EXPECT_EQ(scene.progress().etaSeconds, 0);
    // Reports without packages change nothing.
    scene.onUnzipProgress(0, 0, 0, 0, 10, 10);
    EXPECT_EQ(scene.progress().unzipFileCount, 0);
}

TEST_F(LoadingSceneTest, StatusLinesShowSpeedAndRemainingTimeOrTheUnpackedPackage) {
    updater::updateTexts().auUpdate = "Cập nhật";
    scene.buildScene(nullptr);
    struct Step {
        const char* what;
        double after;   // seconds since the previous report
        int64_t total, done;
        float speed;
        const char* line;
    };
    const Step steps[] = {
        {"first report: the sampler starts", 0, 126'000'000, 0, 0, "Cập nhật 0%  0/126 MB  0.0 MB/s  ~0:00"},
        {"under half a second: no sample", 0.4, 126'000'000, 400'000, 0, "Cập nhật 0%  0/126 MB  0.0 MB/s  ~0:00"},
        // 1 MB in a second, taken as is while the speed is 0; 125 MB left.
        {"first sample", 0.6, 126'000'000, 1'000'000, 1.f, "Cập nhật 0%  1/126 MB  1.0 MB/s  ~2:05"},
        // 3 MB/s now, mixed 40 to 60 with 1 MB/s: 1.8 MB/s; 122 MB left.
        {"mixed sample", 1.0, 126'000'000, 4'000'000, 1.8f, "Cập nhật 1%  4/126 MB  1.8 MB/s  ~1:07"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        advance(s.after);
        scene.onProgress(s.total, s.done);
        EXPECT_NEAR(scene.progress().speedMBps, s.speed, 1e-4);
        EXPECT_EQ(status(), s.line);
    }

    // A retry starts the percentage again; the speed carries over, and a slower
    // sample (the new run starts from 0 bytes) only pulls it down.
    scene.resetProgress();
    EXPECT_EQ(scene.progress().shownPercent, 0.f);
    EXPECT_NEAR(scene.smoothedSpeed(), 1.8f, 1e-4);
    advance(1.0);
    scene.onProgress(10'000'000, 0);
    EXPECT_NEAR(scene.smoothedSpeed(), 0.6f * 1.8f, 1e-4);

    scene.onProgress(10'000'000, 10'000'000);
    scene.onUnzipProgress(0, 3, 1, 7, 50, 200);
    EXPECT_EQ(status(), "Đang giải nén gói 1/3 (62%)");
    scene.onUnzipProgress(3, 3, 7, 7, 200, 200);
    EXPECT_EQ(status(), "Đang giải nén gói 3/3 (100%)");
}

TEST_F(LoadingSceneTest, ASlowSpeedShowsNoRemainingTime) {
    scene.buildScene(nullptr);
    scene.onProgress(50'000'000, 0);
    advance(1.0);
    scene.onProgress(50'000'000, 10'000);   // 0.01 MB/s
    EXPECT_EQ(scene.progress().etaSeconds, 0);
    EXPECT_EQ(status(), "au_update 0%  0/50 MB  0.0 MB/s  ~0:00");
    advance(1.0);
    scene.onProgress(50'000'000, 30'000);   // 0.4 * 0.02 + 0.6 * 0.01 = 0.014 MB/s
    EXPECT_GT(scene.progress().etaSeconds, 3000);
}

TEST_F(LoadingSceneTest, AVeryLongStatusIsCutWithoutSplittingACharacter) {
    std::string longText;
    for (int i = 0; i < 200; ++i) longText += "ậ";   // three bytes each
    updater::updateTexts().auUpdate = longText;
    scene.buildScene(nullptr);
    scene.onProgress(100, 10);
    EXPECT_LE(status().size(), LoadingScene::kMaxStatusBytes);
    EXPECT_EQ(status().size() % 3, 0u);
    EXPECT_EQ(status().substr(0, 6), "ậậ");
}

TEST_F(LoadingSceneTest, OnTheBackgroundImageThePillIsNineSliceOrDrawn) {
    jpeg("autoupdate/bg.jpg", 667, 375);   // covers the 1334 x 750 view at scale 2
    png("autoupdate/loadingbar.png", 60, 20);
    scene.buildScene(nullptr);
    engine::Sprite* bg = scene.backgroundSprite();
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->getScale(), 2.f);
    EXPECT_EQ(bg->getLocalZOrder(), -5);
    expectNear(bg->getPosition(), Vec2(667, 375));
    const LoadingScene::Geometry& g = scene.geometry();
    EXPECT_NEAR(g.pillX, 1334 * 0.125, 1e-3);
    EXPECT_NEAR(g.pillY, 750 * 0.069531247, 1e-3);
    EXPECT_NEAR(g.pillWidth, 1334 * 0.75555557, 1e-3);
    EXPECT_NEAR(g.pillHeight, 750 * 0.0177083332, 1e-3);
    EXPECT_EQ(scene.fillLayer(), nullptr);
    expectNear(scene.statusLabel()->getPosition(), Vec2(667, 750 * 0.15f));

    engine::ui::Scale9Sprite* pill = scene.pillSprite();
    ASSERT_NE(pill, nullptr);
    EXPECT_EQ(g.pillCapHeight, 20.f);
    EXPECT_EQ(pill->getCapInsets(), engine::Rect(10, 4, 40, 12));
    EXPECT_EQ(pill->getAnchorPoint(), Vec2(0, 0));
    EXPECT_NEAR(pill->getScale(), g.pillHeight / 20, 1e-6);
    EXPECT_EQ(pill->getContentSize(), Size(20, 20));
    EXPECT_FALSE(pill->isVisible());
    EXPECT_EQ(pill->getLocalZOrder(), 11);

    struct Case {
        int64_t done;   // of 100 bytes downloaded: percent = done / 2
        float shownWidth;
    };
    const Case cases[] = {
        {4, g.pillHeight},                 // 1%: at least a circle
        {100, g.pillWidth * 0.5f},
    };
    for (const Case& c : cases) {
        scene.onProgress(100, c.done);
        EXPECT_TRUE(pill->isVisible());
        EXPECT_NEAR(pill->getContentSize().width * pill->getScale(), c.shownWidth, 1e-3);
        EXPECT_EQ(pill->getContentSize().height, 20.f);
    }
}

TEST_F(LoadingSceneTest, WithoutThePillImageThePillIsDrawnAsTwoCirclesAndABar) {
    jpeg("autoupdate/bg.jpg", 667, 375);
    scene.buildScene(nullptr);
    engine::DrawNode* pill = scene.pillDrawNode();
    ASSERT_NE(pill, nullptr);
    EXPECT_EQ(scene.pillSprite(), nullptr);
    const LoadingScene::Geometry& g = scene.geometry();
    expectNear(pill->getPosition(), Vec2(g.pillX, g.pillY));
    const float r = g.pillHeight / 2;

    scene.onProgress(100, 4);   // 1%: narrower than a circle, so just the circle
    ASSERT_EQ(pill->getShapes().size(), 2u);
    for (const auto& shape : pill->getShapes()) {
        EXPECT_EQ(shape.kind, engine::DrawNode::Shape::Kind::SolidCircle);
        expectNear(shape.center, Vec2(r, r));
        EXPECT_EQ(shape.segments, 40u);
        EXPECT_EQ(shape.color, (engine::Color4F{0.372549f, 0.843137f, 0.490196f, 1.0f}));
    }
    scene.onProgress(100, 100);   // 50%
    ASSERT_EQ(pill->getShapes().size(), 3u);
    const float w = g.pillWidth / 2;
    EXPECT_EQ(pill->getShapes()[0].kind, engine::DrawNode::Shape::Kind::SolidRect);
    expectNear(pill->getShapes()[0].origin, Vec2(r, 0));
    expectNear(pill->getShapes()[0].destination, Vec2(w - r, g.pillHeight));
    expectNear(pill->getShapes()[2].center, Vec2(w - r, r));
    scene.resetProgress();
    scene.onProgress(100, 0);   // back at 0 after a retry: nothing drawn
    EXPECT_TRUE(pill->getShapes().empty());
}

TEST_F(LoadingSceneTest, OneAlertAtATimeEvenWithoutLayoutOrImages) {
    bracketTexts();
    scene.buildScene(nullptr);
    int retries = 0;
    scene.showAlert("first", [&] { ++retries; });
    engine::Node* first = scene.alertPanel();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getParent(), scene.scene());
    expectNear(first->getPosition(), Vec2(667, 375));
    // No background image: message, title and button.
    ASSERT_EQ(first->getChildrenCount(), 3u);

    scene.showAlert("second", [&] { retries += 10; });
    engine::Node* second = scene.alertPanel();
    size_t panels = 0;
    for (engine::Node* child : scene.scene()->getChildren()) {
        if (child == second) ++panels;
    }
    EXPECT_EQ(panels, 1u);
    EXPECT_EQ(scene.scene()->getChildrenCount(), 5u);   // four of the scene's own, one alert

    auto* message = dynamic_cast<engine::Label*>(second->getChildren()[0]);
    auto* title = dynamic_cast<engine::Label*>(second->getChildren()[1]);
    auto* button = dynamic_cast<engine::ui::Button*>(second->getChildren()[2]);
    ASSERT_TRUE(message && title && button);
    EXPECT_EQ(message->getString(), "second");
    EXPECT_EQ(message->getSystemFontSize(), 25.f);
    EXPECT_EQ(message->getHorizontalAlignment(), engine::TextHAlignment::CENTER);
    EXPECT_EQ(message->getDimensions().width, 500.f);
    EXPECT_EQ(message->getTextColor(), (engine::Color4B{63, 33, 4, 255}));
    EXPECT_EQ(title->getString(), "<alert_title>");
    EXPECT_EQ(title->getSystemFontSize(), 30.f);
    expectNear(title->getPosition(), Vec2(0, 150));
    EXPECT_EQ(button->getTitleText(), "<alert_retry>");
    EXPECT_EQ(button->getTitleFontSize(), 25.f);
    expectNear(button->getPosition(), Vec2(0, -145));

    EXPECT_TRUE(button->simulateClick());
    EXPECT_EQ(retries, 10);
    EXPECT_EQ(scene.alertPanel(), nullptr);
    EXPECT_EQ(scene.scene()->getChildrenCount(), 4u);
}

TEST_F(LoadingSceneTest, TheAlertShowsItsImagesAndSitsOnTheLayout) {
    png("autoupdate/alert_bg.png", 60, 40);
    png("autoupdate/alert_btn.png", 200, 60);
    png("autoupdate/alert_btn_down.png", 200, 60);
    dir.write("res/autoupdate/autoupdate.json", R"({"type": "Layout"})");
    scene.buildScene(nullptr);
    scene.showAlert("message", nullptr);
    engine::Node* panel = scene.alertPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getParent(), scene.layoutRoot());
    ASSERT_EQ(panel->getChildrenCount(), 4u);
    auto* background = dynamic_cast<engine::ui::Scale9Sprite*>(panel->getChildren()[0]);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->getContentSize(), Size(600, 400));
    auto* button = dynamic_cast<engine::ui::Button*>(panel->getChildren()[3]);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->getContentSize(), Size(200, 60));
    EXPECT_NE(button->getPressedTexture(), nullptr);
    EXPECT_TRUE(button->simulateClick());   // no retry given: the panel just goes
    EXPECT_EQ(panel == scene.alertPanel(), false);
    EXPECT_EQ(scene.layoutRoot()->getChildrenCount(), 0u);
}

}  // namespace
