#pragma once
// A push button control: a title label over a nine-slice background, both
// chosen by the control's state, positioned by its centre.
//
// Each state (ControlState) may have its own title, title colour and
// background sprite; a state without one shows the normal state's. The button
// is as large as its title plus the margins (12 across, 8 up and down, on each
// side) or its preferred size, whichever is larger in each direction; the
// shown background is stretched to that size and the title centred on it.
//
// Touches (only while enabled and shown with its ancestors): a touch that
// begins inside is claimed, highlights the button and sends touch down.
// Moving sends drag enter when it comes back inside (highlighting again), drag
// inside while it stays in, drag exit when it leaves (unhighlighting) and drag
// outside while it stays out. The end unhighlights and sends up inside or up
// outside by where it ended; a cancel unhighlights and sends cancel. A button
// that is disabled or selected during the touch only unhighlights on moving.
#include <map>
#include <string>

#include "engine/extension/Control.h"

namespace engine {
class Label;
namespace ui {
class Scale9Sprite;
}
}  // namespace engine

namespace engine::extension {

class ControlButton : public Control {
public:
    static constexpr float kMarginH = 12;
    static constexpr float kMarginV = 8;

    // An empty title over an empty background.
    static ControlButton* create();
    // The label's text as the normal title, the sprite as the normal background
    // (either may be null: an empty one is made).
    static ControlButton* create(Label* label, ui::Scale9Sprite* backgroundSprite);
    static ControlButton* create(const std::string& title, const std::string& fontName, float fontSize);
    static ControlButton* create(ui::Scale9Sprite* backgroundSprite);
    ~ControlButton() override;

    Label* getTitleLabel() const { return _titleLabel; }
    // The background shown now.
    ui::Scale9Sprite* getBackgroundSprite() const { return _backgroundSprite; }
    bool isPushed() const { return _pushed; }

    void setTitleForState(const std::string& title, int state);
    std::string getTitleForState(int state) const;
    std::string getCurrentTitle() const { return getTitleForState(getState()); }
    void setTitleColorForState(const Color3B& color, int state);
    Color3B getTitleColorForState(int state) const;
    // The sprite is retained; null removes the state's own background.
    void setBackgroundSpriteForState(ui::Scale9Sprite* sprite, int state);
    ui::Scale9Sprite* getBackgroundSpriteForState(int state) const;

    void setPreferredSize(const Size& size);
    const Size& getPreferredSize() const { return _preferredSize; }

    void needsLayout() override;

    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;
    void onTouchCancelled(Touch* touch, Event* event) override;

protected:
    ControlButton() = default;
    bool initWithLabelAndBackgroundSprite(Label* label, ui::Scale9Sprite* backgroundSprite);

private:
    Label* _titleLabel = nullptr;                      // a child
    ui::Scale9Sprite* _backgroundSprite = nullptr;     // the shown one, a child
    std::map<int, std::string> _titles;
    std::map<int, Color3B> _titleColors;
    std::map<int, ui::Scale9Sprite*> _backgrounds;     // retained
    Size _preferredSize;
    bool _pushed = false;
    bool _initialised = false;
};

}  // namespace engine::extension
