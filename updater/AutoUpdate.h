#pragma once
// The update front end: started once by the application with a completion
// callback, before any script runs. It reads the packaged gateway file
// "fenk/gateway", shows the loading scene, waits a bounded time for the TLS
// warm-up, asks the gateway (through the patch route) for the resource-list URL,
// runs the updater engine and receives its reports. Errors show an alert whose
// button retries from the gateway request. Nothing to update, a completed update,
// a missing gateway file and a gateway reply without "Res" all end in leave(),
// which restores the HTTP time-outs, puts the resource cache first in the search
// paths and calls the completion callback on the next scheduler tick.
//
// Only one run is in flight at a time: a retry (or a second check) while a gateway
// request, an updater, or the threads of a stopped updater are still at work does
// not start another one. Main thread only; the warm-up state is the one value read
// that another thread writes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "updater/ResUpdaterDelegate.h"
#include "updater/UpdateScreen.h"

namespace engine::network {
class HttpClient;
class HttpResponse;
}  // namespace engine::network

namespace updater {

class ResUpdater;
class ResUpdaterState;

class AutoUpdate : public ResUpdaterDelegate {
public:
    // The process's front end, created on first use and never destroyed.
    static AutoUpdate* getInstance();

    // Tests make their own instances; the program uses getInstance().
    AutoUpdate();
    ~AutoUpdate() override;
    AutoUpdate(const AutoUpdate&) = delete;
    AutoUpdate& operator=(const AutoUpdate&) = delete;

    // Saves the HTTP client's time-outs, sets 8 s to connect and 20 s to read for the
    // update's requests, keeps onFinish and reads the gateway file.
    void start(const std::function<void()>& onFinish);

    // The first piece of "fenk/gateway" (up to a space, tab or line feed; a carriage
    // return is kept). Empty: the update is skipped and leave() runs. Otherwise the
    // scene is built and the check step scheduled for the next tick.
    void checkGatewayFile();
    // The check step: status text, progress cleared, the TLS wait when the warm-up
    // still runs, then the gateway request. Every retry comes back here.
    void checkResAndUpdate();
    // True when the check step must wait for the TLS warm-up (state 1, less than
    // 1500 ms since the process's first wait); the wait then calls the check step.
    bool waitTlsWarmup();
    void waitTlsWarmupTick(float dt);
    static bool isTlsWarmupRunning();

    void onGatewayResponse(engine::network::HttpClient* client, engine::network::HttpResponse* response);
    void onGatewayFail();

    // ResUpdaterDelegate.
    void onNoUpdate() override;
    void onSuccess() override;
    void onProgress(int64_t totalBytes, int64_t doneBytes) override;
    void onError(int eid, const std::string& detail) override;
    void onUnzipProgress(int fileIndex, int fileCount, int entryDone, int entryTotal, int64_t bytesDone,
                         int64_t bytesTotal) override;

    // The alert text of an updater error.
    static std::string errorText(int eid, const std::string& detail);

    // Shows `message` in the alert; its button runs a new check unless a run is
    // still in flight.
    void showAlert(const std::string& message);
    // Reads "autoupdate/lang.json" with the application's language code.
    void loadLang();
    void leave();

    // A gateway request, an updater, or a stopped updater's threads are at work.
    bool isRunInFlight() const;

    const std::string& gatewayUrl() const { return _gatewayUrl; }
    ResUpdater* resUpdater() const { return _resUpdater.get(); }
    UpdateScreen& screen() { return *_screen; }
    void setScreen(std::unique_ptr<UpdateScreen> screen) { _screen = std::move(screen); }

protected:
    // Sends the gateway request through the patch route (tests replace it).
    virtual void requestGateway();

private:
    void endRun();

    std::function<void()> _onFinish;
    std::unique_ptr<ResUpdater> _resUpdater;
    std::weak_ptr<ResUpdaterState> _retiredState;   // the last stopped updater's state
    int _savedConnectTimeout = 30;
    int _savedReadTimeout = 60;
    bool _timeoutsReplaced = false;   // between start and leave
    std::string _gatewayUrl;
    std::unique_ptr<UpdateScreen> _screen;
    bool _gatewayInFlight = false;
    bool _sceneBuilt = false;

    // The TLS wait: only the active flag goes back to false; the start is taken once.
    bool _waitActive = false;
    bool _waitStarted = false;
    int64_t _waitStartNs = 0;
};

}  // namespace updater
