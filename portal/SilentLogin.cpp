#include "portal/SilentLogin.h"

#include <atomic>
#include <list>
#include <memory>
#include <thread>
#include <utility>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "portal/HttpPostForm.h"
#include "portal/SignIn.h"

namespace portal {
namespace {

constexpr const char* kFailed = "faild";

struct Workers {
    std::atomic<bool> stopping{false};
    std::list<std::thread> threads;   // main thread only
    unsigned epoch = 0;               // main thread only; a stop begins a new one

    ~Workers() { stop(); }
    void stop() {
        stopping = true;
        for (std::thread& thread : threads) {
            if (thread.joinable()) thread.join();
        }
        threads.clear();
        ++epoch;
        stopping = false;
    }
    // Joins the workers that have ended, so their threads do not pile up.
    void reap(std::list<std::thread>::iterator ended) {
        if (ended->joinable()) ended->join();
        threads.erase(ended);
    }
};

Workers& workers() {
    static Workers w;
    return w;
}

}  // namespace

void loginSilentAsync(const std::string& tokenKey, std::function<void(const std::string& answer)> answer) {
    std::string url, body;
    if (!loginSilentRequest(tokenKey, &url, &body)) {
        answer(kFailed);
        return;
    }
    // Held until the answer runs: the queue stays valid even if the director goes first.
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    scheduler->retain();
    Workers& w = workers();
    w.threads.emplace_back();
    const auto slot = std::prev(w.threads.end());
    const unsigned epoch = w.epoch;
    *slot = std::thread([scheduler, slot, epoch, tokenKey, url = std::move(url), body = std::move(body),
                         answer = std::move(answer)]() mutable {
        FormReply reply = httpPostForm(url, body, &workers().stopping);
        if (workers().stopping) return;
        scheduler->performFunctionInEngineThread(
            [scheduler, slot, epoch, tokenKey, reply = std::move(reply), answer = std::move(answer)] {
                scheduler->release();
                if (epoch != workers().epoch) return;   // stopped: the answer is dropped
                workers().reap(slot);
                answer(loginSilentReply(tokenKey, reply));
            });
    });
}

void stopSilentLogins() { workers().stop(); }

}  // namespace portal
