#include "updater/LoadingScene.h"
#include "updater/UpdateScreen.h"
#include "updater/UpdateTexts.h"

namespace updater {
namespace {

// The front end's screen is the process's loading scene, reading the update texts.
class LoadingSceneScreen : public UpdateScreen {
public:
    LoadingSceneScreen() : _scene(LoadingScene::getInstance()) {
        _scene->setTextSource([](const std::string& key) { return updateText(key); });
    }
    void buildScene(const std::function<void()>& loadLang) override { _scene->build(loadLang); }
    void showCheckStatus() override { _scene->showCheckStatus(); }
    void resetProgress() override { _scene->resetProgress(); }
    void onProgress(int64_t totalBytes, int64_t doneBytes) override { _scene->onProgress(totalBytes, doneBytes); }
    void onUnzipProgress(int fileIndex, int fileCount, int entryDone, int entryTotal, int64_t bytesDone,
                         int64_t bytesTotal) override {
        _scene->onUnzipProgress(fileIndex, fileCount, entryDone, entryTotal, bytesDone, bytesTotal);
    }
    void showStartingGame() override { _scene->showStartingGame(); }
    void showAlert(const std::string& message, std::function<void()> onButton) override {
        _scene->showAlert(message, onButton);
    }

private:
    LoadingScene* _scene;
};

}  // namespace

std::unique_ptr<UpdateScreen> makeDefaultUpdateScreen() { return std::make_unique<LoadingSceneScreen>(); }

}  // namespace updater
