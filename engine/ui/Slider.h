#pragma once
// A horizontal slider: a percent from 0 to the maximum (default 100) along its
// content width. Touch-enabled from the start. A touch that begins on it sets the
// percent from the touch's place (left edge 0, right edge the maximum, clamped),
// and each move does the same. The event listener hears SLIDEBALL_DOWN when the
// touch begins, PERCENTAGE_CHANGED whenever a touch changes the percent,
// SLIDEBALL_UP on a release inside and SLIDEBALL_CANCEL on a release outside or a
// cancel. setPercent changes it silently.
//
// Images (files or sprite-sheet frames, WidgetImage): the bar over the content box
// (loading it sets the content size to its size), the progress bar over the part
// up to the percent (drawn as a LoadingBar would), and the ball centred at the
// percent's place: its disabled image when not enabled, its pressed one while
// touched, else the normal one. With scale9 enabled the bar and the progress bar
// are laid out in nine slices by the cap insets.
#include <functional>
#include <string>

#include "engine/ui/LoadingBar.h"
#include "engine/ui/Widget.h"
#include "engine/ui/WidgetImage.h"

namespace engine::ui {

class Slider : public Widget {
public:
    enum class EventType { ON_PERCENTAGE_CHANGED = 0, ON_SLIDEBALL_DOWN = 1, ON_SLIDEBALL_UP = 2, ON_SLIDEBALL_CANCEL = 3 };
    using ccSliderCallback = std::function<void(Ref*, EventType)>;

    static Slider* create();   // autoreleased, percent 0
    // With the bar and the ball's normal image.
    static Slider* create(const std::string& barTexture, const std::string& normalBallTexture,
                          TextureResType type = TextureResType::LOCAL);
    ~Slider() override;

    // A missing image logs and keeps the one there was; an empty name leaves it.
    void loadBarTexture(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadProgressBarTexture(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadSlidBallTextures(const std::string& normal, const std::string& pressed = "",
                              const std::string& disabled = "", TextureResType type = TextureResType::LOCAL);
    void loadSlidBallTextureNormal(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadSlidBallTexturePressed(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void loadSlidBallTextureDisabled(const std::string& file, TextureResType type = TextureResType::LOCAL);
    Texture2D* getBarTexture() const { return _bar.texture(); }
    Texture2D* getProgressBarTexture() const { return _progress->getTexture(); }
    Texture2D* getBallNormalTexture() const { return _ballNormal.texture(); }
    Texture2D* getBallPressedTexture() const { return _ballPressed.texture(); }
    Texture2D* getBallDisabledTexture() const { return _ballDisabled.texture(); }
    void setScale9Enabled(bool enabled);
    bool isScale9Enabled() const { return _scale9Enabled; }
    // The centre slice of the bar and the progress bar, in image points (a zero
    // rectangle: the middle third).
    void setCapInsets(const Rect& insets);
    const Rect& getCapInsets() const { return _capInsets; }
    Node* getVirtualRenderer() override { return _barRenderer ? static_cast<Node*>(_barRenderer) : this; }
    Size getVirtualRendererSize() const override { return _bar.size(); }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;
    // Clamped to 0..maximum.
    void setPercent(int percent);
    int getPercent() const { return _percent; }
    // At least 1.
    void setMaxPercent(int maximum);
    int getMaxPercent() const { return _maxPercent; }

    void addEventListener(const ccSliderCallback& callback) { _eventListener = callback; }
    const ccSliderCallback& getEventListener() const { return _eventListener; }

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
    Slider() = default;
    bool init() override;
    void pushDownEvent() override;
    void moveEvent() override;
    void releaseUpEvent() override;
    void cancelUpEvent() override;

private:
    void followTouch(const Vec2& worldPoint);
    void fire(EventType type);
    static void loadInto(WidgetImage& image, Scale9Sprite*& renderer, const std::string& file, TextureResType type);
    WidgetImage _bar;
    WidgetImage _ballNormal;
    WidgetImage _ballPressed;
    WidgetImage _ballDisabled;
    // Retained, not children.
    Scale9Sprite* _barRenderer = nullptr;
    Scale9Sprite* _ballNormalRenderer = nullptr;
    Scale9Sprite* _ballPressedRenderer = nullptr;
    Scale9Sprite* _ballDisabledRenderer = nullptr;
    LoadingBar* _progress = nullptr;
    bool _scale9Enabled = false;
    Rect _capInsets;
    int _percent = 0;
    int _maxPercent = 100;
    ccSliderCallback _eventListener;
};

}  // namespace engine::ui
