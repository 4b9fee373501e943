#include "updater/LoadingScene.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "engine/app/GLView.h"
#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/label/Label.h"
#include "engine/scene/DrawNode.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/studio/GUIReader.h"
#include "engine/ui/Button.h"
#include "engine/ui/Helper.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Text.h"
#include "updater/UpdateTexts.h"

namespace updater {

using engine::Color4B;
using engine::Vec2;

namespace {

int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(engine::Clock::now().time_since_epoch()).count();
}

// printf into a string, cut to at most `limit` bytes without splitting a character.
template <class... Args>
std::string formatStatus(size_t limit, const char* format, Args... args) {
    const int needed = std::snprintf(nullptr, 0, format, args...);
    if (needed <= 0) return {};
    std::string out(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, args...);
    out.resize(static_cast<size_t>(needed));
    if (out.size() > limit) {
        size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
        out.resize(cut);
    }
    return out;
}

constexpr engine::Color3B kAlertTextColor{63, 33, 4};

}  // namespace

std::unique_ptr<UpdateScreen> makeDefaultUpdateScreen() { return std::make_unique<LoadingScene>(); }

LoadingScene::LoadingScene() = default;

LoadingScene::~LoadingScene() { dismissAlert(); }

void LoadingScene::buildScene(const std::function<void()>& loadLang) {
    auto* director = engine::Director::getInstance();
    auto* files = engine::FileUtils::getInstance();
    if (engine::GLView* view = director->getOpenGLView()) {
        view->setDesignResolutionSize(1334, 750, engine::ResolutionPolicy::NO_BORDER);
    }
    files->setPopupNotify(false);

    // The update's resource folders go in front, so what it delivers wins.
    _savedSearchPaths = files->getSearchPaths();
    const std::string cache = files->getWritablePath() + "auc/Resources/";
    std::vector<std::string> paths = {"res",         cache + "frame", cache + "stu", cache + "res",
                                      cache + "src", cache + "skin",  cache,         "frame",
                                      "stu",         "res",           "src",         "skin"};
    paths.insert(paths.end(), _savedSearchPaths.begin(), _savedSearchPaths.end());
    files->setSearchPaths(paths);

    if (loadLang) loadLang();
    const std::string checking = updateTexts().auCheckUpdate;

    _layoutRoot = studio::GUIReader::getInstance()->widgetFromJsonFile(kLayoutFile);
    if (_layoutRoot) {
        using engine::ui::Helper;
        _layoutBar = dynamic_cast<engine::ui::LoadingBar*>(Helper::seekWidgetByName(_layoutRoot, "bar_process"));
        _layoutLabel = dynamic_cast<engine::ui::Text*>(Helper::seekWidgetByName(_layoutRoot, "lbl_msg"));
        if (_layoutLabel) _layoutLabel->setString(checking);
        // The layout's own pieces keep their updates but stay out of sight: the
        // program's nodes carry the display.
        if (engine::ui::Widget* bg = Helper::seekWidgetByName(_layoutRoot, "bg")) bg->setVisible(false);
        if (_layoutBar) _layoutBar->setVisible(false);
        if (_layoutLabel) _layoutLabel->setVisible(false);
    }

    _scene = engine::Scene::create();
    _scene->addChild(engine::LayerColor::create(Color4B{20, 20, 80, 255}), -10);
    if (_layoutRoot) _scene->addChild(_layoutRoot);
    director->runWithScene(_scene);

    const engine::Size visible = director->getVisibleSize();
    const Vec2 origin = director->getVisibleOrigin();
    const float centreX = origin.x + visible.width * 0.5f;
    const float centreY = origin.y + visible.height * 0.5f;
    float scaledWidth = 0.f, scaledHeight = 0.f, left = 0.f, bottom = 0.f;
    if (files->isFileExist(kBackgroundFile)) _bgSprite = engine::Sprite::create(kBackgroundFile);
    if (_bgSprite) {
        const engine::Size size = _bgSprite->getContentSize();
        float scale = 1.f;
        if (size.width > 0 && size.height > 0) {
            scale = std::max(visible.width / size.width, visible.height / size.height);
        }
        _bgSprite->setScale(scale);
        _bgSprite->setPosition(centreX, centreY);
        _scene->addChild(_bgSprite, -5);
        scaledWidth = size.width * scale;
        scaledHeight = size.height * scale;
        left = centreX - scaledWidth * 0.5f;
        bottom = centreY - scaledHeight * 0.5f;
    }

    Geometry& g = _geometry;
    const bool onImage = _bgSprite && scaledWidth > 0 && scaledHeight > 0;
    if (onImage) {
        // The pill sits on the picture, in fractions of the scaled image.
        g.pillX = left + scaledWidth * 0.125f;
        g.pillY = bottom + scaledHeight * 0.069531247f;
        g.pillWidth = scaledWidth * 0.75555557f;
        g.pillHeight = scaledHeight * 0.0177083332f;
        if (files->isFileExist(kPillFile)) _pillSprite = engine::ui::Scale9Sprite::create(kPillFile);
        if (_pillSprite) {
            const engine::Size original = _pillSprite->getOriginalSize();
            if (original.width >= 4 && original.height >= 4) {
                g.pillCapHeight = original.height;
                // Side caps half the image's height wide: the ends stay round.
                const float u = std::floor(original.height * 0.5f);
                const float v = std::floor(original.height * 0.2f);
                _pillSprite->setCapInsets(engine::Rect(u, v, original.width - 2 * u, original.height - 2 * v));
            }
            _pillSprite->setAnchorPoint(Vec2(0, 0));
            _pillSprite->setPosition(g.pillX, g.pillY);
            _pillSprite->setScale(g.pillHeight / g.pillCapHeight);
            _pillSprite->setContentSize(engine::Size(g.pillCapHeight, g.pillCapHeight));
            _pillSprite->setVisible(false);
            _scene->addChild(_pillSprite, 11);
        } else {
            _pillDrawNode = engine::DrawNode::create();
            _pillDrawNode->setPosition(g.pillX, g.pillY);
            _scene->addChild(_pillDrawNode, 11);
        }
    } else {
        g.barWidth = 540;
        g.barHeight = 20;
        g.barX = origin.x + (visible.width - 540) * 0.5f;
        g.barY = origin.y + 96;
        auto* track = engine::LayerColor::create(Color4B{0, 0, 0, 130}, 540, 20);
        track->setPosition(g.barX, g.barY);
        _scene->addChild(track, 10);
        _fillLayer = engine::LayerColor::create(Color4B{95, 215, 125, 255}, 1, 20);
        _fillLayer->setPosition(g.barX, g.barY);
        _scene->addChild(_fillLayer, 11);
    }

    _fallbackLabel = engine::Label::createWithSystemFont(checking, "sans-serif", 25, engine::Size::ZERO,
                                                         engine::TextHAlignment::LEFT,
                                                         engine::TextVAlignment::TOP);
    if (_fallbackLabel) {
        _fallbackLabel->setTextColor(Color4B{255, 255, 255, 255});
        _fallbackLabel->enableOutline(Color4B{0, 0, 0, 255}, 4);
        _fallbackLabel->setPosition(centreX, onImage ? bottom + scaledHeight * 0.15f : g.barY + g.barHeight + 30);
        _scene->addChild(_fallbackLabel, 12);
    }
}

void LoadingScene::showStatus(const std::string& text) {
    if (_layoutLabel) _layoutLabel->setString(text);
    if (_layoutBar) _layoutBar->setPercent(100);
    if (_fallbackLabel) _fallbackLabel->setString(text);
}

void LoadingScene::resetProgress() { _progress = UpdateProgressState{}; }

void LoadingScene::onProgress(int64_t totalBytes, int64_t doneBytes) {
    const int64_t total = std::max<int64_t>(totalBytes, 0);
    const int64_t done = std::clamp<int64_t>(doneBytes, 0, total);

    const int64_t now = steadyNanoseconds();
    if (!_speedSampled) {
        _sampleTime = now;
        _sampleBytes = done;
        _speedSampled = true;
    }
    const float dt = static_cast<float>(now - _sampleTime) / 1e9f;
    if (dt >= 0.5f) {
        const float instant = std::max(0.f, static_cast<float>(done - _sampleBytes) / 1e6f / dt);
        _smoothedSpeed = _smoothedSpeed > 0 ? 0.4f * instant + 0.6f * _smoothedSpeed : instant;
        _sampleTime = now;
        _sampleBytes = done;
    }

    UpdateProgressState& p = _progress;
    p.etaSeconds = _smoothedSpeed > 0.01f
                       ? static_cast<int>(static_cast<float>(total - done) / 1e6f / _smoothedSpeed)
                       : 0;
    if (done >= total) p.downloadDone = true;
    // Nothing to download counts as downloaded.
    p.downloadFraction = total > 0 ? static_cast<float>(done) / static_cast<float>(total) : 1.f;
    p.doneMB = static_cast<double>(done) / 1e6;
    p.totalMB = static_cast<double>(total) / 1e6;
    p.speedMBps = _smoothedSpeed;
    setPercent();
    setProgressText();
}

void LoadingScene::onUnzipProgress(int fileIndex, int fileCount, int, int, int64_t bytesDone, int64_t bytesTotal) {
    if (fileCount <= 0) return;
    UpdateProgressState& p = _progress;
    p.unzipFraction = bytesTotal > 0
                          ? std::clamp(static_cast<float>(bytesDone) / static_cast<float>(bytesTotal), 0.f, 1.f)
                          : 0.f;
    if (fileIndex >= fileCount) {
        p.unzipDone = true;
        p.unzipFileIndex = fileCount;
    } else {
        p.unzipFileIndex = fileIndex + 1;
    }
    p.unzipFileCount = fileCount;
    // While downloads still run the status keeps the download line.
    if (p.downloadDone || fileIndex >= fileCount) p.unzipping = true;
    setPercent();
    setProgressText();
}

void LoadingScene::setPercent() {
    UpdateProgressState& p = _progress;
    // Download and unpacking weigh half each.
    double percent = (static_cast<double>(p.unzipFraction) * 0.5 + static_cast<double>(p.downloadFraction) * 0.5) * 100;
    percent = std::trunc(std::clamp(percent, 0.0, 100.0));
    if (percent >= 100 && !(p.downloadDone && p.unzipDone)) percent = 99;
    if (p.shownPercent > percent) percent = p.shownPercent;
    p.shownPercent = static_cast<float>(percent);
    if (_layoutBar) _layoutBar->setPercent(p.shownPercent);
    drawProgressPill(p.shownPercent);
}

void LoadingScene::setProgressText() {
    const UpdateProgressState& p = _progress;
    const int shown = static_cast<int>(p.shownPercent);
    std::string status;
    if (p.unzipping) {
        status = formatStatus(kMaxStatusBytes, kUnzipLineFormat, p.unzipFileIndex, p.unzipFileCount, shown);
    } else {
        status = formatStatus(kMaxStatusBytes, kDownloadLineFormat, updateTexts().auUpdate.c_str(), shown, p.doneMB,
                              p.totalMB, static_cast<double>(p.speedMBps), p.etaSeconds / 60, p.etaSeconds % 60);
    }
    setStatusText(status);
}

void LoadingScene::setStatusText(const std::string& status) {
    if (_layoutLabel) _layoutLabel->setString(status);
    if (_fallbackLabel) _fallbackLabel->setString(status);
}

void LoadingScene::drawProgressPill(float percent) {
    const float p = std::clamp(percent, 0.f, 100.f);
    const Geometry& g = _geometry;
    if (!_pillSprite && !_pillDrawNode) {
        if (_fillLayer) _fillLayer->setContentSize(engine::Size(g.barWidth * p / 100, g.barHeight));
        return;
    }
    const float r = g.pillHeight * 0.5f;
    float w = g.pillWidth * p / 100;
    if (p > 0) w = std::max(2 * r, w);   // a started pill is at least a circle
    w = std::min(g.pillWidth, w);
    if (_pillSprite) {
        if (p <= 0) {
            _pillSprite->setVisible(false);
        } else {
            // Its scale makes the shown width w.
            _pillSprite->setContentSize(engine::Size(w / (g.pillHeight / g.pillCapHeight), g.pillCapHeight));
            _pillSprite->setVisible(true);
        }
    }
    if (_pillDrawNode) {
        _pillDrawNode->clear();
        if (p <= 0) return;
        const engine::Color4F green{0.372549f, 0.843137f, 0.490196f, 1.0f};
        if (w - 2 * r > 0.01f) _pillDrawNode->drawSolidRect(Vec2(r, 0), Vec2(w - r, g.pillHeight), green);
        _pillDrawNode->drawSolidCircle(Vec2(r, r), r, 0, 40, green);
        _pillDrawNode->drawSolidCircle(Vec2(w - r, r), r, 0, 40, green);
    }
}

void LoadingScene::showAlert(const std::string& message, std::function<void()> onButton) {
    engine::Node* parent = _layoutRoot ? static_cast<engine::Node*>(_layoutRoot) : _scene;
    if (!parent) parent = engine::Director::getInstance()->getRunningScene();
    if (!parent) {
        engine::log("LoadingScene: no scene to show the alert on: %s", message.c_str());
        return;
    }
    // One alert at a time: the newest error replaces the panel on screen.
    dismissAlert();

    const engine::Size win = engine::Director::getInstance()->getWinSize();
    engine::Node* panel = engine::Node::create();
    panel->setPosition(win.width * 0.5f, win.height * 0.5f);

    // Missing images leave a plain panel: texts and a working button.
    if (auto* background = engine::ui::Scale9Sprite::create(kAlertBackgroundFile)) {
        background->setContentSize(engine::Size(600, 400));
        background->setPosition(0, 0);
        panel->addChild(background);
    }
    engine::Label* body = engine::Label::create();
    body->setHorizontalAlignment(engine::TextHAlignment::CENTER);
    body->setSystemFontSize(25);
    body->setTextColor(Color4B{kAlertTextColor.r, kAlertTextColor.g, kAlertTextColor.b, 255});
    body->setDimensions(500, body->getDimensions().height);
    body->setString(message);
    body->setPosition(0, 0);
    panel->addChild(body);

    engine::Label* title = engine::Label::create();
    title->setSystemFontSize(30);
    title->setString(updateTexts().alertTitle);
    title->setTextColor(Color4B{kAlertTextColor.r, kAlertTextColor.g, kAlertTextColor.b, 255});
    title->setPosition(0, 150);
    panel->addChild(title);

    engine::ui::Button* button = engine::ui::Button::create();
    button->loadTextures(kAlertButtonFile, kAlertButtonDownFile, "", engine::ui::TextureResType::LOCAL);
    button->setTitleText(updateTexts().alertRetry);
    button->setTitleFontSize(25);
    button->setPosition(0, -145);
    button->addClickEventListener([this, onButton = std::move(onButton)](engine::Ref*) {
        dismissAlert();
        if (onButton) onButton();
    });
    panel->addChild(button);

    parent->addChild(panel);
    panel->retain();
    _alertPanel = panel;
}

void LoadingScene::dismissAlert() {
    if (!_alertPanel) return;
    engine::Node* panel = _alertPanel;
    _alertPanel = nullptr;
    panel->removeFromParent();
    panel->release();
}

void LoadingScene::showStartingGame() {
    if (_layoutRoot) {
        auto* files = engine::FileUtils::getInstance();
        files->setSearchPaths(_savedSearchPaths);
        files->setPopupNotify(true);
        _layoutRoot->removeFromParent();
        _layoutRoot = nullptr;
        _layoutBar = nullptr;
        _layoutLabel = nullptr;
    }
    if (_fallbackLabel) _fallbackLabel->setString(kStartingGameText);
    drawProgressPill(100);
    _bgSprite = nullptr;
    _fillLayer = nullptr;
    _fallbackLabel = nullptr;
    _pillSprite = nullptr;
    _pillDrawNode = nullptr;
    _scene = nullptr;
}

}  // namespace updater
