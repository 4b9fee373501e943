#include "updater/AutoUpdate.h"

#include <chrono>

#include "engine/app/Application.h"
#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpResponse.h"
#include "updater/PatchRoute.h"
#include "updater/ResProtocol.h"
#include "updater/ResUpdater.h"
#include "updater/TlsWarmup.h"
#include "updater/UpdateTexts.h"

namespace updater {
namespace {

constexpr int64_t kTlsWaitLimitMs = 1500;
const char* const kCheckKey = "AutoUpdate_checkResAndUpdate";
const char* const kWaitKey = "AutoUpdate_waitTlsWarmup";
const char* const kLeaveKey = "AutoUpdate_leave";
const char* const kRetiredKey = "AutoUpdate_waitRetired";

int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(engine::Clock::now().time_since_epoch())
        .count();
}

engine::Scheduler* scheduler() { return engine::Director::getInstance()->getScheduler(); }

void scheduleOnce(AutoUpdate* target, const char* key, std::function<void()> fn) {
    scheduler()->schedule([fn = std::move(fn)](float) { fn(); }, target, 0.0f, 0u, 0.0f, false, key);
}

}  // namespace

AutoUpdate* AutoUpdate::getInstance() {
    static AutoUpdate* instance = new AutoUpdate();
    return instance;
}

AutoUpdate::AutoUpdate() : _screen(makeDefaultUpdateScreen()) {}

AutoUpdate::~AutoUpdate() {
    engine::Director::getInstance()->getScheduler()->unscheduleAllForTarget(this);
}

void AutoUpdate::start(const std::function<void()>& onFinish) {
    engine::network::HttpClient* http = engine::network::HttpClient::getInstance();
    // A start before the last one has left keeps the time-outs saved by that one.
    if (!_timeoutsReplaced) {
        _timeoutsReplaced = true;
        _savedConnectTimeout = http->getTimeoutForConnect();
        _savedReadTimeout = http->getTimeoutForRead();
    }
    http->setTimeoutForConnect(8);
    http->setTimeoutForRead(20);
    _onFinish = onFinish;
    checkGatewayFile();
}

void AutoUpdate::checkGatewayFile() {
    _gatewayUrl.clear();
    engine::FileUtils* files = engine::FileUtils::getInstance();
    if (files->isFileExist("fenk/gateway")) {
        const std::string text = files->getStringFromFile("fenk/gateway");
        _gatewayUrl = text.substr(0, text.find_first_of(" \t\n"));
        engine::log("checkGatewayFile0: %s", _gatewayUrl.c_str());
    }
    if (_gatewayUrl.empty()) {
        engine::log("no gateway file. skip update.");
        leave();
        return;
    }
    // The scene is built once per process; a later start only checks again.
    if (!_sceneBuilt) {
        _sceneBuilt = true;
        _screen->buildScene([this] { loadLang(); });
    }
    scheduleOnce(this, kCheckKey, [this] { checkResAndUpdate(); });
}

bool AutoUpdate::isRunInFlight() const {
    return _resUpdater || _gatewayInFlight || _waitActive || !_retiredState.expired();
}

void AutoUpdate::checkResAndUpdate() {
    if (_resUpdater || _gatewayInFlight || _waitActive) {
        engine::log("update already running");
        return;
    }
    // A stopped updater's threads may still be finishing a write in the cache:
    // the next run starts once they are gone.
    if (!_retiredState.expired()) {
        if (!scheduler()->isScheduled(kRetiredKey, this)) {
            scheduler()->schedule(
                [this](float) {
                    if (!_retiredState.expired()) return;
                    scheduler()->unschedule(kRetiredKey, this);
                    checkResAndUpdate();
                },
                this, 0.0f, false, kRetiredKey);
        }
        return;
    }

    _screen->showCheckStatus();
    _screen->resetProgress();
    if (waitTlsWarmup()) return;
    engine::log("get gateway %s", _gatewayUrl.c_str());
    _gatewayInFlight = true;
    requestGateway();
}

void AutoUpdate::requestGateway() {
    patchRouteStart(
        _gatewayUrl, gatewayReplyValid,
        [this](engine::network::HttpClient* client, engine::network::HttpResponse* response) {
            onGatewayResponse(client, response);
        },
        [this] { onGatewayFail(); });
}

bool AutoUpdate::isTlsWarmupRunning() { return tlsWarmupState().load() == kTlsWarmupRunning; }

bool AutoUpdate::waitTlsWarmup() {
    if (_waitActive) return true;
    if (!isTlsWarmupRunning()) return false;
    if (!_waitStarted) {
        _waitStarted = true;
        _waitStartNs = steadyNs();
    }
    if ((steadyNs() - _waitStartNs) / 1000000 >= kTlsWaitLimitMs) return false;
    _waitActive = true;
    scheduler()->schedule([this](float dt) { waitTlsWarmupTick(dt); }, this, 0.0f, false, kWaitKey);
    return true;
}

void AutoUpdate::waitTlsWarmupTick(float) {
    const int64_t elapsedMs = (steadyNs() - _waitStartNs) / 1000000;
    const bool running = isTlsWarmupRunning();
    if (running && elapsedMs < kTlsWaitLimitMs) return;
    scheduler()->unschedule(kWaitKey, this);
    _waitActive = false;
    engine::log("[VEXO] GET gateway sau khi cho lam nong TLS %ld ms (%s)", static_cast<long>(elapsedMs),
                running ? "HET HAN, luong lam nong chua xong" : "lam nong da xong");
    checkResAndUpdate();
}

void AutoUpdate::onGatewayResponse(engine::network::HttpClient*, engine::network::HttpResponse* response) {
    _gatewayInFlight = false;
    if (!response || !response->isSucceed()) {
        engine::log("URL '%s' rc:%d  msg:%s", _gatewayUrl.c_str(),
                    response ? static_cast<int>(response->getResponseCode()) : 0,
                    response ? response->getErrorBuffer() : "");
        showAlert(updateTexts().gwerrNet);
        return;
    }
    rapidjson::Document doc;
    rapidjson::ParseErrorCode code = rapidjson::kParseErrorNone;
    if (!engine::parseJson(response->getResponseDataString(), doc, nullptr, &code)) {
        engine::log("jsonerr:%d. url:%s", static_cast<int>(code), _gatewayUrl.c_str());
        showAlert(updateTexts().gwerrJson);
        return;
    }
    const rapidjson::Value* res = engine::jsonMember(doc, "Res");
    if (!res || !res->IsString() || res->GetStringLength() == 0) {
        engine::log("gateway no 'Res'. skip update.");
        leave();
        return;
    }
    _resUpdater = std::make_unique<ResUpdater>(this, std::string(res->GetString(), res->GetStringLength()));
    _resUpdater->start();   // may end the run (and delete the updater) at once
}

void AutoUpdate::onGatewayFail() {
    _gatewayInFlight = false;
    showAlert(updateTexts().gwerrNet);
}

void AutoUpdate::endRun() {
    if (!_resUpdater) return;
    _retiredState = _resUpdater->state();
    _resUpdater.reset();
}

void AutoUpdate::onNoUpdate() {
    endRun();
    engine::log("no update");
    leave();
}

void AutoUpdate::onSuccess() {
    endRun();
    engine::log("update ok");
    leave();
}

void AutoUpdate::onProgress(int64_t totalBytes, int64_t doneBytes) { _screen->onProgress(totalBytes, doneBytes); }

void AutoUpdate::onUnzipProgress(int fileIndex, int fileCount, int entryDone, int entryTotal, int64_t bytesDone,
                                 int64_t bytesTotal) {
    _screen->onUnzipProgress(fileIndex, fileCount, entryDone, entryTotal, bytesDone, bytesTotal);
}

std::string AutoUpdate::errorText(int eid, const std::string& detail) {
    const UpdateTexts& texts = updateTexts();
    switch (eid) {
        case 0: return texts.reserr0;
        case 1: {
            const size_t comma = detail.find(',');
            const bool twoPieces = comma != std::string::npos && detail.find(',', comma + 1) == std::string::npos;
            if (twoPieces && detail.substr(comma + 1) == "404") return texts.reserr1_1;
            return texts.reserr1_0 + " " + detail;
        }
        case 2: return texts.reserr2;
        case 3: return texts.reserr3;
        default: return kUnknownErrorText;
    }
}

void AutoUpdate::onError(int eid, const std::string& detail) {
    const std::string text = errorText(eid, detail);
    endRun();
    showAlert(text);
}

void AutoUpdate::showAlert(const std::string& message) {
    _screen->showAlert(message, [this] { checkResAndUpdate(); });
}

void AutoUpdate::loadLang() {
    const std::string text = engine::FileUtils::getInstance()->getStringFromFile("autoupdate/lang.json");
    engine::Application* app = engine::Application::getInstance();
    const char* code = app ? app->getCurrentLanguageCode() : nullptr;
    applyLangFile(text, code ? code : "");
}

void AutoUpdate::leave() {
    engine::network::HttpClient* http = engine::network::HttpClient::getInstance();
    http->setTimeoutForConnect(_savedConnectTimeout);
    http->setTimeoutForRead(_savedReadTimeout);
    _timeoutsReplaced = false;
    _screen->showStartingGame();

    // The scripts see what the updates delivered before the packaged files.
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string writable = files->getWritablePath();
    if (!writable.empty()) {
        const std::string cache = writable + "auc/Resources/";
        std::vector<std::string> paths = files->getSearchPaths();
        std::erase(paths, cache);
        paths.insert(paths.begin(), cache);
        files->setSearchPaths(paths);
    }

    scheduleOnce(this, kLeaveKey, [this] {
        if (_onFinish) _onFinish();
    });
}

}  // namespace updater
