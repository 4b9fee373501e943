#pragma once
// What the update front end shows while it runs: the loading scene with its
// progress display and the retry alert. AutoUpdate drives it on the main thread;
// the scene side turns the calls into nodes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace updater {

class UpdateScreen {
public:
    virtual ~UpdateScreen() = default;
    // Builds the loading scene and makes it the running scene. loadLang is called
    // once the search paths include the resource cache and before the layout is
    // read; the texts are final after it.
    virtual void buildScene(const std::function<void()>& loadLang) = 0;
    // The check step's status: the "au_checkupdate" text on the status labels, the
    // layout's bar full.
    virtual void showCheckStatus() = 0;
    // Clears the progress figures (the speed sampler stays).
    virtual void resetProgress() = 0;
    virtual void onProgress(int64_t totalBytes, int64_t doneBytes) = 0;
    virtual void onUnzipProgress(int fileIndex, int fileCount, int entryDone, int entryTotal,
                                 int64_t bytesDone, int64_t bytesTotal) = 0;
    // The last change before the scripts start: layout removed, search paths as
    // they were before buildScene, the bar full, the starting-game text.
    virtual void showStartingGame() = 0;
    // Shows the alert with `message`; at most one is on screen, a new one replaces
    // the shown one. Its button removes the panel, then calls onButton.
    virtual void showAlert(const std::string& message, std::function<void()> onButton) = 0;
};

// The screen AutoUpdate starts with.
std::unique_ptr<UpdateScreen> makeDefaultUpdateScreen();

}  // namespace updater
