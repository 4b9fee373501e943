#pragma once
// The screen shown while the runtime waits for a development tool: the address to
// connect to, the name of the file being received, and a play button that starts
// the entry. This node carries the screen's state and behaviour; its pictures and
// labels are drawn by the sprite and label nodes of the scene graph.
#include <string>

#include "engine/scene/Node.h"

namespace runtime {

class ConnectWaitLayer : public engine::Node {
public:
    static constexpr const char* kWaitingText = "waiting for debugger to connect ...";

    // A new layer, autoreleased, with its per-frame update scheduled. The view's
    // design resolution becomes 1280x800 exact fit in landscape, 800x1280 fixed
    // height otherwise.
    static ConnectWaitLayer* create();
    ~ConnectWaitLayer() override;

    // "IP: " and the local address ("0.0.0.0" when there is none).
    static std::string addressText();
    // The status line: the waiting text until a file arrives, then its name.
    const std::string& getStatusText() const { return _statusText; }

    // Per frame: the status line follows the file server's transfer name.
    void update(float dt);
    // The play button released over itself: sets the runtime up and starts the entry.
    void onPlayPressed();

protected:
    bool init() override;

private:
    ConnectWaitLayer() = default;
    std::string _statusText = kWaitingText;
};

}  // namespace runtime
