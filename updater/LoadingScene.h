#pragma once
// The loading scene of the update front end and its progress display: the scene
// that stands while the updater runs (backdrop, optional background image, optional
// layout file whose own bar, label and background stay hidden, and the program's
// own pill or plain bar with an outlined status label), the arithmetic that turns
// the updater's byte counts into a percentage, a speed and a remaining time, the
// retry alert, and the last "starting game" state. It is the screen the front end
// (AutoUpdate) starts with; see UpdateScreen for the order of the calls.
//
// Texts come from the update texts (updateTexts()); times from engine::Clock.
// Every file is optional. Main thread only.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "updater/UpdateScreen.h"

namespace engine {
class DrawNode;
class Label;
class LayerColor;
class Node;
class Scene;
class Sprite;
namespace ui {
class LoadingBar;
class Scale9Sprite;
class Text;
class Widget;
}  // namespace ui
}  // namespace engine

namespace updater {

// What the progress display shows; cleared by resetProgress.
struct UpdateProgressState {
    float downloadFraction = 0.f;   // downloaded / total bytes, 0..1
    float unzipFraction = 0.f;      // unpacked / bytes to unpack, 0..1
    float shownPercent = 0.f;       // whole number 0..100; never falls between two resets
    bool downloadDone = false;
    bool unzipping = false;         // the status shows the unpack line
    bool unzipDone = false;
    int unzipFileIndex = 0;         // 1-based package being unpacked (the count once all are)
    int unzipFileCount = 0;
    double doneMB = 0.0;            // megabytes of 1,000,000 bytes
    double totalMB = 0.0;
    float speedMBps = 0.f;          // the smoothed speed shown
    int etaSeconds = 0;
};

class LoadingScene : public UpdateScreen {
public:
    static constexpr size_t kMaxStatusBytes = 511;
    // Files of the scene and of the alert, all optional.
    static constexpr const char* kLayoutFile = "autoupdate/autoupdate.json";
    static constexpr const char* kBackgroundFile = "autoupdate/bg.jpg";
    static constexpr const char* kPillFile = "autoupdate/loadingbar.png";
    static constexpr const char* kAlertBackgroundFile = "autoupdate/alert_bg.png";
    static constexpr const char* kAlertButtonFile = "autoupdate/alert_btn.png";
    static constexpr const char* kAlertButtonDownFile = "autoupdate/alert_btn_down.png";

    LoadingScene();
    ~LoadingScene() override;
    LoadingScene(const LoadingScene&) = delete;
    LoadingScene& operator=(const LoadingScene&) = delete;

    // Builds the scene and hands it to the director: design resolution 1334 x 750
    // (no border), file pop-ups off, the update's resource folders in front of the
    // search paths (the old list is kept for showStartingGame), then loadLang (the
    // texts are final from there), the layout, the backdrop, the background image,
    // the pill or plain bar and the status label.
    void buildScene(const std::function<void()>& loadLang) override;
    // The text on both status labels, the layout's bar full.
    void showStatus(const std::string& text) override;
    void resetProgress() override;
    // Percentage, speed (sampled at most every half second, smoothed 40/60) and
    // remaining time; the bar never falls between two resets and shows 99 until
    // the download and the unpacking are both complete.
    void onProgress(int64_t totalBytes, int64_t doneBytes) override;
    void onUnzipProgress(int fileIndex, int fileCount, int entryDone, int entryTotal, int64_t bytesDone,
                         int64_t bytesTotal) override;
    // The error panel, centred, on the layout when there is one, else on the scene;
    // a plain panel when its images are missing. At most one is shown: a new alert
    // replaces the one on screen. Its button removes the panel, then calls onButton.
    void showAlert(const std::string& message, std::function<void()> onButton) override;
    // Restores the search paths and pop-ups and drops the layout (when there is
    // one), shows "Đang khởi động game..." and a full bar, and lets go of the
    // scene's nodes (the scene keeps them).
    void showStartingGame() override;

    // Parts of the state, for the front end and for tests.
    const UpdateProgressState& progress() const { return _progress; }
    float smoothedSpeed() const { return _smoothedSpeed; }
    engine::Scene* scene() const { return _scene; }
    engine::ui::Widget* layoutRoot() const { return _layoutRoot; }
    engine::ui::LoadingBar* layoutBar() const { return _layoutBar; }
    engine::ui::Text* layoutLabel() const { return _layoutLabel; }
    engine::Sprite* backgroundSprite() const { return _bgSprite; }
    engine::LayerColor* fillLayer() const { return _fillLayer; }
    engine::Label* statusLabel() const { return _fallbackLabel; }
    engine::ui::Scale9Sprite* pillSprite() const { return _pillSprite; }
    engine::DrawNode* pillDrawNode() const { return _pillDrawNode; }
    engine::Node* alertPanel() const { return _alertPanel; }
    const std::vector<std::string>& savedSearchPaths() const { return _savedSearchPaths; }
    struct Geometry {
        float barX = 0, barY = 0, barWidth = 0, barHeight = 0;
        float pillX = 0, pillY = 0, pillWidth = 0, pillHeight = 0;
        float pillCapHeight = 50.f;
    };
    const Geometry& geometry() const { return _geometry; }

private:
    void setPercent();
    void setProgressText();
    void setStatusText(const std::string& text);
    void drawProgressPill(float percent);
    void dismissAlert();

    std::vector<std::string> _savedSearchPaths;

    engine::Scene* _scene = nullptr;
    engine::ui::Widget* _layoutRoot = nullptr;
    engine::ui::LoadingBar* _layoutBar = nullptr;
    engine::ui::Text* _layoutLabel = nullptr;
    engine::Sprite* _bgSprite = nullptr;
    engine::LayerColor* _fillLayer = nullptr;
    engine::Label* _fallbackLabel = nullptr;
    engine::ui::Scale9Sprite* _pillSprite = nullptr;
    engine::DrawNode* _pillDrawNode = nullptr;
    engine::Node* _alertPanel = nullptr;   // retained while shown
    Geometry _geometry;

    UpdateProgressState _progress;
    // The speed sampler lives across resets and runs.
    bool _speedSampled = false;
    int64_t _sampleTime = 0;   // steady clock, nanoseconds
    int64_t _sampleBytes = 0;
    float _smoothedSpeed = 0.f;
};

}  // namespace updater
