#include "updater/UpdateScreen.h"

#include "engine/base/Log.h"

namespace updater {
namespace {

// A screen without a scene: the update runs unseen; an alert is logged and
// answers at once with no further action, so the game waits for nothing.
class NullUpdateScreen : public UpdateScreen {
public:
    void buildScene(const std::function<void()>& loadLang) override { loadLang(); }
    void showStatus(const std::string&) override {}
    void resetProgress() override {}
    void onProgress(int64_t, int64_t) override {}
    void onUnzipProgress(int, int, int, int, int64_t, int64_t) override {}
    void showStartingGame() override {}
    void showAlert(const std::string& message, std::function<void()>) override {
        engine::log("alert: %s", message.c_str());
    }
};

}  // namespace

std::unique_ptr<UpdateScreen> makeDefaultUpdateScreen() { return std::make_unique<NullUpdateScreen>(); }

}  // namespace updater
