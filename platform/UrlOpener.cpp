#include "platform/UrlOpener.h"

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/ChildProcess.h"
#include "platform/Process.h"

namespace platform {
namespace {

std::mutex& openerMutex() {
    static std::mutex mutex;
    return mutex;
}

UrlOpenerFunction& testOpener() {
    static UrlOpenerFunction opener;
    return opener;
}

constexpr auto kExitWait = std::chrono::seconds(1);
constexpr auto kPollStep = std::chrono::milliseconds(10);

// A thread of its own waits for the handler so it leaves no zombie.
void reapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

pid_t spawnHandler(const std::string& url) {
    const std::string program = findOnPath("xdg-open");
    if (program.empty()) return -1;
    return spawnProcess(program, {url});
}

bool runHandler(const std::string& url) {
    const pid_t pid = spawnHandler(url);
    if (pid <= 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + kExitWait;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kPollStep);
    }
    // Still running (a browser started in the foreground, say): it counts as opened.
    reapInBackground(pid);
    return true;
}

UrlOpenerFunction currentTestOpener() {
    std::lock_guard<std::mutex> lock(openerMutex());
    return testOpener();
}

}  // namespace

bool openUrl(const std::string& url) {
    if (UrlOpenerFunction opener = currentTestOpener()) return opener(url);
    if (url.empty() || url[0] == '-') return false;
    return runHandler(url);
}

bool startUrl(const std::string& url) {
    if (UrlOpenerFunction opener = currentTestOpener()) return opener(url);
    if (url.empty() || url[0] == '-') return false;
    const pid_t pid = spawnHandler(url);
    if (pid <= 0) return false;
    reapInBackground(pid);
    return true;
}

void setUrlOpenerForTesting(UrlOpenerFunction opener) {
    std::lock_guard<std::mutex> lock(openerMutex());
    testOpener() = std::move(opener);
}

}  // namespace platform
