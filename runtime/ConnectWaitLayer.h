#pragma once
// The screen shown while the runtime waits for a development tool: a background,
// the address to connect to, the versions, a status line that follows the file
// being received, and a play button (with a pulsing shine) that starts the entry.
//
// Layout, in design points: the view's design resolution becomes 1280x800 exact
// fit in landscape, 800x1280 fixed height otherwise; the background is centred
// (z 9000); the play button (z 9999) and its shine (z 9998) sit at (902, 400) in
// landscape and (400, 500) otherwise; the address label (size 72) at the visible
// left-top + (72, -200) (z 9001); the version label (size 24) at the visible
// right-bottom, moved left by its width (z 9002); the status label (size 36) 72
// below the address (z 9003). Pressing the play button shrinks it to 0.9 and back;
// releasing it over itself sets the runtime up and starts the entry. The layer
// draws nothing of its own: the screen is its sprites and labels.
#include <string>

#include "engine/scene/Layer.h"

namespace engine {
class Image;
class Label;
class Sprite;
}  // namespace engine

namespace runtime {

class ConnectWaitLayer : public engine::Layer {
public:
    static constexpr const char* kWaitingText = "waiting for debugger to connect ...";

    // A new layer, autoreleased, with its per-frame update scheduled.
    static ConnectWaitLayer* create();
    ~ConnectWaitLayer() override;

    // "IP: " and the local address ("0.0.0.0" when there is none).
    static std::string addressText();
    // "runtimeVersion:<runtime> \nengineVersion:<engine>"
    static std::string versionText();
    // The status line: the waiting text until a file arrives, then its name.
    const std::string& getStatusText() const;

    engine::Sprite* getBackgroundSprite() const { return _background; }
    engine::Sprite* getPlaySprite() const { return _play; }
    engine::Sprite* getShineSprite() const { return _shine; }
    engine::Label* getAddressLabel() const { return _address; }
    engine::Label* getVersionLabel() const { return _version; }
    engine::Label* getStatusLabel() const { return _status; }

    // Per frame: the status line follows the file server's transfer name.
    void update(float dt) override;
    // The play button released over itself: sets the runtime up and starts the entry.
    void onPlayPressed();

protected:
    bool init() override;

private:
    ConnectWaitLayer() = default;
    bool insidePlayButton(const engine::Vec2& location) const;

    engine::Image* _backgroundImage = nullptr;
    engine::Image* _playImage = nullptr;
    engine::Image* _shineImage = nullptr;
    engine::Sprite* _background = nullptr;
    engine::Sprite* _play = nullptr;
    engine::Sprite* _shine = nullptr;
    engine::Label* _address = nullptr;
    engine::Label* _version = nullptr;
    engine::Label* _status = nullptr;
};

}  // namespace runtime
