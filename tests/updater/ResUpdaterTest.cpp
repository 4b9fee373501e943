#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "engine/files/FileUtils.h"
#include "support/TestSupport.h"
#include "updater/CacheWipe.h"
#include "updater/PatchRoute.h"
#include "updater/ResUpdater.h"

using namespace updater;
namespace fs = std::filesystem;

namespace {

const std::string kMd5 = "0123456789ABCDEF0123456789ABCDEF";

struct Call {
    std::string name;
    int eid = 0;
    std::string detail;
    std::vector<int64_t> figures;

    explicit Call(std::string n, int e = 0, std::string d = {}, std::vector<int64_t> f = {})
        : name(std::move(n)), eid(e), detail(std::move(d)), figures(std::move(f)) {}
};

// Records every report; optionally destroys the updater it owns in a given report,
// as the front end does.
class RecordingDelegate : public ResUpdaterDelegate {
public:
    std::vector<Call> calls;
    std::unique_ptr<ResUpdater> owned;
    std::string destroyOn;

    void onNoUpdate() override { record(Call("noUpdate")); }
    void onSuccess() override { record(Call("success")); }
    void onProgress(int64_t total, int64_t done) override {
        record(Call("progress", 0, "", {total, done}));
    }
    void onError(int eid, const std::string& detail) override { record(Call("error", eid, detail)); }
    void onUnzipProgress(int fileIndex, int fileCount, int entryDone, int entryTotal,
                         int64_t bytesDone, int64_t bytesTotal) override {
        record(Call("unzip", 0, "", {fileIndex, fileCount, entryDone, entryTotal, bytesDone, bytesTotal}));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& c : calls) out.push_back(c.name);
        return out;
    }

private:
    void record(Call call) {
        bool destroy = call.name == destroyOn;
        calls.push_back(std::move(call));
        if (destroy) owned.reset();
    }
};

void pumpUntil(const std::function<bool()>& done, double seconds = 10) {
    testsupport::pumpMainThreadUntil(
        done, std::chrono::milliseconds(static_cast<long>(seconds * 1000)));
}

void pumpFrames(int frames) {
    for (int i = 0; i < frames; ++i) engine::Director::getInstance()->getScheduler()->update(1.f / 60);
}

// A writable path and a resource root inside a temporary folder.
class Updater : public ::testing::Test {
protected:
    void SetUp() override {
        setPatchHostNames("patch.vexo.test", "cdn.vexo.test", "patch.vexo-mirror.test");
        files()->setWritablePath(dir.file("w"));
        files()->setDefaultResourceRootPath(dir.file("res"));
        files()->setSearchPaths({});
    }
    void TearDown() override { engine::network::HttpClient::destroyInstance(); }

    static engine::FileUtils* files() { return engine::FileUtils::getInstance(); }
    std::string resources() const { return dir.file("w/auc/Resources/"); }
    std::string downloads() const { return dir.file("w/auc/Downloads/"); }
    void fillCaches() const {
        dir.write("w/auc/Resources/src/main.lua", "x");
        dir.write("w/auc/Downloads/p1.zip", "x");
    }
    bool cachesGone() const { return !fs::exists(resources()) && !fs::exists(downloads()); }

    testsupport::TempDir dir;
};

TEST_F(Updater, SplitsTheListUrl) {
    struct Case {
        const char* url;
        const char* base;
        const char* name;
    };
    const Case cases[] = {
        {"https://patch.vexo.test/r/list.json", "https://patch.vexo.test/r/", "list.json"},
        {"http://patch.vexo.test/r/list.json", "https://patch.vexo.test/r/", "list.json"},
        {"http://cdn.vexo.test/r/list.json", "http://cdn.vexo.test/r/", "list.json"},
        {"https://patch.vexo.test/r\\list.json", "https://patch.vexo.test/r\\", "list.json"},
        {"https://patch.vexo.test/r/", "https://patch.vexo.test/r/", ""},
        {"list.json", "", "list.json"},
    };
    RecordingDelegate delegate;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        ResUpdater u(&delegate, c.url);
        EXPECT_EQ(u.baseUrl(), c.base);
        EXPECT_EQ(u.resListName(), c.name);
        EXPECT_EQ(u.connectTimeoutSec(), 8);
    }
}

TEST_F(Updater, NoUsablePackagedSerialWipesAndEndsTheRun) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"missing", std::nullopt},
        {"sign NONE", "NONE 12"},
        {"three tokens", "abc 12 13"},
    };
    for (const auto& [name, packaged] : cases) {
        SCOPED_TRACE(name);
        fs::remove_all(dir.file("res"));
        if (packaged) dir.write("res/fenk/ResSignSn", *packaged);
        dir.write("w/auc/Resources/LocalResSignSn", "abc 50");
        fillCaches();
        testsupport::LogCapture log;
        RecordingDelegate delegate;
        delegate.destroyOn = "noUpdate";
        delegate.owned = std::make_unique<ResUpdater>(&delegate, "https://patch.vexo.test/r/list.json");
        delegate.owned->start();
        EXPECT_EQ(delegate.names(), std::vector<std::string>{"noUpdate"});
        EXPECT_FALSE(delegate.owned);
        EXPECT_TRUE(cachesGone());
        EXPECT_TRUE(log.contains("ResSignSn is 'NONE', no update."));
        EXPECT_FALSE(log.contains("get remote"));
    }
}

// The wipe names the caches with a trailing "/": caches that are links (to a shared
// folder, say) lose the link, never what it points to.
TEST_F(Updater, WipeRemovesCacheLinksButNotTheirTargets) {
    dir.write("res/fenk/ResSignSn", "NONE 1");
    const std::string shared = dir.write("shared/res/main.lua", "x");
    dir.write("shared/dl/p1.zip", "x");
    fs::create_directories(dir.file("w/auc"));
    fs::create_directory_symlink(dir.file("shared/res"), dir.file("w/auc/Resources"));
    fs::create_directory_symlink(dir.file("shared/dl"), dir.file("w/auc/Downloads"));
    RecordingDelegate delegate;
    ResUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
    u.start();
    EXPECT_EQ(delegate.names(), std::vector<std::string>{"noUpdate"});
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("w/auc/Resources"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("w/auc/Downloads"))));
    EXPECT_TRUE(fs::exists(shared));
    EXPECT_TRUE(fs::exists(dir.file("shared/dl/p1.zip")));
}

// A child process runs a start that wipes a stale cache and is killed at the k-th
// removal, for every k until a start runs through. Whatever it left, the next start
// leaves nothing stale to read: each file resolves to the packaged one.
TEST_F(Updater, WipeKilledAtAnyRemovalLeavesOnlyPackagedFiles) {
    const std::vector<std::string> names = {"src/a.lua", "src/b.lua", "src/c/d.lua", "e.png"};
    dir.write("res/fenk/ResSignSn", "abc 102");
    for (const auto& name : names) dir.write("res/" + name, "packaged");
    int kills = 0;
    for (int k = 1; k < 100; ++k) {
        SCOPED_TRACE(k);
        fs::remove_all(dir.file("w"));
        dir.write("w/auc/Resources/LocalResSignSn", "abc 101");
        for (const auto& name : names) dir.write("w/auc/Resources/" + name, "stale");
        dir.write("w/auc/Downloads/p101.zip", "x");

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int removals = 0;
            setCacheStepHook([&](const std::string&) {
                if (++removals == k) ::raise(SIGKILL);
            });
            RecordingDelegate delegate;
            ResUpdater u(&delegate, "nohttp://nowhere/r/list.json");
            u.start();
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0));

        {
            RecordingDelegate delegate;
            ResUpdater u(&delegate, "nohttp://nowhere/r/list.json");
            u.start();
        }
        files()->setSearchPaths({resources(), dir.file("res/")});
        for (const auto& name : names) EXPECT_EQ(files()->getStringFromFile(name), "packaged") << name;
        for (const auto& entry : fs::directory_iterator(dir.file("w/auc")))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".trash-")) << entry.path();
        files()->setSearchPaths({});
        if (!killed) break;
        ++kills;
    }
    // Six files, two folders and the two cache roots were each a point of death.
    EXPECT_EQ(kills, 10);
}

TEST_F(Updater, LocalSerialDecidesWhetherTheCachesSurvive) {
    struct Case {
        const char* name;
        std::optional<std::string> local;
        bool wiped;
        int localSn;
    };
    const Case cases[] = {
        {"newer, same sign", "abc 11", false, 11},
        {"equal to packaged", "abc 10", true, 0},
        {"other sign", "xyz 50", true, 0},
        {"malformed", "abc", true, 0},
        {"missing", std::nullopt, false, 0},
    };
    dir.write("res/fenk/ResSignSn", "abc 10\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir.file("w"));
        fillCaches();
        if (c.local) dir.write("w/auc/Resources/LocalResSignSn", *c.local);
        testsupport::LogCapture log;
        RecordingDelegate delegate;
        // A scheme no transfer supports: the route fails without touching the network.
        ResUpdater u(&delegate, "nohttp://nowhere/r/list.json");
        u.start();
        EXPECT_EQ(u.packagedSign(), "abc");
        EXPECT_EQ(u.packagedSn(), 10);
        EXPECT_EQ(u.localSn(), c.localSn);
        EXPECT_EQ(fs::exists(downloads() + "p1.zip"), !c.wiped);
        EXPECT_EQ(log.contains("Remove exter caches Resources, Downloads!"), c.wiped);
        EXPECT_TRUE(log.contains("get remote nohttp://nowhere/r/list.json"));

        pumpUntil([&] { return !delegate.calls.empty(); });
        ASSERT_EQ(delegate.calls.size(), 1u);
        EXPECT_EQ(delegate.calls[0].name, "error");
        EXPECT_EQ(delegate.calls[0].eid, 1);
        EXPECT_EQ(delegate.calls[0].detail, "patch domains unavailable");
        EXPECT_TRUE(log.contains("PATCH_ROUTE failed nohttp://nowhere/r/list.json status=0 attempt=1"));
    }
}

TEST_F(Updater, ListFailureAfterTheUpdaterIsGoneReportsNothing) {
    dir.write("res/fenk/ResSignSn", "abc 10");
    RecordingDelegate delegate;
    auto u = std::make_unique<ResUpdater>(&delegate, "nohttp://nowhere/r/list.json");
    u->start();
    // The failed transfer's result waits for the main loop; the updater goes first.
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (scheduler->pendingFunctionCount() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(scheduler->pendingFunctionCount(), 1u);
    u.reset();
    pumpFrames(1);
    EXPECT_EQ(scheduler->pendingFunctionCount(), 0u);
    EXPECT_TRUE(delegate.calls.empty());
}

// A list response as the route hands it over.
void deliver(ResUpdater& u, const std::string& body) {
    auto* request = new engine::network::HttpRequest();
    auto* response = new engine::network::HttpResponse(request);
    request->release();
    response->setSucceed(true);
    response->setResponseCode(200);
    response->getResponseData()->assign(body.begin(), body.end());
    u.onResListResponse(response);
    response->release();
}

std::string item(int sn, const std::string& file, int size) {
    return "[" + std::to_string(sn) + ",\"" + file + "\",\"" + kMd5 + "\"," + std::to_string(size) + "]";
}

// Takes the list decisions but starts no thread, so that what startDownloads
// prepared can be looked at.
class ListOnlyUpdater : public ResUpdater {
public:
    using ResUpdater::ResUpdater;
    int threadsAsked = -1;

protected:
    void startThreads(int workers) override { threadsAsked = workers; }
};

class ListResponse : public Updater {
protected:
    void prepare(ResUpdater& u, int packagedSn, int localSn) {
        std::lock_guard<std::mutex> lock(u.state()->mutex);
        u.state()->packagedSign = "abc";
        u.state()->packagedSn = packagedSn;
        u.state()->localSn = localSn;
    }
};

TEST_F(ListResponse, UpToDateAndNothingCollectedEndWithNoUpdate) {
    struct Case {
        const char* name;
        std::string body;
        bool upToDateLine;
    };
    const Case cases[] = {
        {"reached", R"({"sign":"abc","xlist":[)" + item(10, "p10.zip", 5) + "]}", true},
        {"reached, with a deeply nested extra member",
         R"({"sign":"abc","x":)" + std::string(200000, '[') + std::string(200000, ']') +
             R"(,"xlist":[)" + item(10, "p10.zip", 5) + "]}",
         true},
        {"base above, no patch left",
         R"({"sign":"abc","xlist":[)" + item(10, "p10.zip", 5) +
             R"(],"base":{"sn":50,"min":5,"list":[)" + item(0, "b.zip", 5) + "]}}",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::LogCapture log;
        RecordingDelegate delegate;
        delegate.destroyOn = "noUpdate";
        delegate.owned = std::make_unique<ListOnlyUpdater>(&delegate, "https://patch.vexo.test/r/list.json");
        prepare(*delegate.owned, 10, 0);
        deliver(*delegate.owned, c.body);
        EXPECT_EQ(delegate.names(), std::vector<std::string>{"noUpdate"});
        EXPECT_EQ(log.contains("resource is the new, no update."), c.upToDateLine);
        EXPECT_TRUE(log.contains("RemoteResSignSn: abc  10"));
        EXPECT_FALSE(fs::exists(downloads()));
    }
}

TEST_F(ListResponse, BaseSetMarksTheCacheAndStartsAtZeroProgress) {
    testsupport::LogCapture log;
    RecordingDelegate delegate;
    ListOnlyUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
    prepare(u, 5, 0);
    deliver(u, R"({"sign":"abc","xlist":[)" + item(51, "p51.zip", 7) +
                   R"(],"base":{"sn":50,"min":40,"list":[)" + item(3, "b1.zip", 100) + "," +
                   item(4, "b2.zip", 200) + "]}}");
    EXPECT_EQ(testsupport::readFile(resources() + "BaseIncomplete"), "1");
    EXPECT_TRUE(fs::is_directory(downloads()));
    EXPECT_TRUE(log.contains("base sn=50 min=40 -> tai goi nen"));
    EXPECT_EQ(u.remoteSn(), 51);
    EXPECT_EQ(u.totalBytes(), 307);
    EXPECT_EQ(u.packages(), (std::vector<ResPackage>{{0, "b1.zip", kMd5, 100},
                                                     {50, "b2.zip", kMd5, 200},
                                                     {51, "p51.zip", kMd5, 7}}));
    ASSERT_EQ(delegate.calls.size(), 2u);
    EXPECT_EQ(delegate.calls[0].figures, (std::vector<int64_t>{307, 0}));
    EXPECT_EQ(delegate.calls[1].figures, (std::vector<int64_t>{0, 3, 0, 0, 0, 307}));
    {
        std::lock_guard<std::mutex> lock(u.state()->mutex);
        EXPECT_EQ(u.state()->states, std::vector<int>(3, kPackageWaiting));
        EXPECT_FALSE(u.state()->stop);
    }
    EXPECT_EQ(u.threadsAsked, 3);
}

TEST_F(ListResponse, PatchesOnlyWriteNoMarker) {
    RecordingDelegate delegate;
    ListOnlyUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
    prepare(u, 10, 0);
    deliver(u, R"({"sign":"abc","xlist":[)" + item(11, "p11.zip", 9) + "]}");
    EXPECT_FALSE(fs::exists(resources() + "BaseIncomplete"));
    EXPECT_EQ(u.packages().size(), 1u);
    EXPECT_EQ(delegate.names(), (std::vector<std::string>{"progress", "unzip"}));
}

TEST_F(ListResponse, DelegateMayEndTheRunFromTheFirstProgress) {
    RecordingDelegate delegate;
    delegate.destroyOn = "progress";
    delegate.owned = std::make_unique<ListOnlyUpdater>(&delegate, "https://patch.vexo.test/r/list.json");
    prepare(*delegate.owned, 10, 0);
    deliver(*delegate.owned, R"({"sign":"abc","xlist":[)" + item(11, "p11.zip", 9) + "]}");
    EXPECT_EQ(delegate.names(), std::vector<std::string>{"progress"});
}

TEST_F(Updater, ProgressFigures) {
    struct Case {
        const char* name;
        std::vector<int64_t> sizes;
        std::vector<int> states;
        std::vector<int64_t> doneBytes;
        int64_t unzippedBytes;
        int unzippedCount;
        int entryDone;
        int entryTotal;
        std::vector<int64_t> progress;
        std::vector<int64_t> unzip;
    };
    const int64_t big = 2000000000;
    const Case cases[] = {
        {"mixed states", {100, 200, 300, 400}, {3, 2, 1, 0}, {100, 0, 50, 0}, 100, 1, 5, 10,
         {1000, 350}, {1, 4, 5, 10, 200, 1000}},
        {"entries beyond their total", {100, 200}, {3, 2}, {0, 0}, 100, 1, 30, 10, {300, 300},
         {1, 2, 10, 10, 300, 300}},
        {"no entry total yet", {100, 200}, {2, 2}, {0, 0}, 0, 0, 4, 0, {300, 300},
         {0, 2, 4, 0, 0, 300}},
        {"done bytes beyond the size", {100}, {1}, {500}, 0, 0, 0, 0, {100, 100},
         {0, 1, 0, 0, 0, 100}},
        {"all unzipped", {100, 200}, {3, 3}, {0, 0}, 300, 2, 0, 0, {300, 300},
         {2, 2, 0, 0, 300, 300}},
        {"beyond 32 bits", {big, big, big}, {3, 2, 1}, {0, 0, big / 2}, big, 1, 1, 2,
         {3 * big, 2 * big + big / 2}, {1, 3, 1, 2, big + big / 2, 3 * big}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDelegate delegate;
        ResUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
        {
            auto& s = *u.state();
            std::lock_guard<std::mutex> lock(s.mutex);
            for (int64_t size : c.sizes) {
                s.packages.push_back({1, "p", kMd5, size});
                s.totalBytes += size;
            }
            s.states = c.states;
            s.doneBytes = c.doneBytes;
            s.unzippedBytes = c.unzippedBytes;
            s.unzippedCount = c.unzippedCount;
            s.entryDone = c.entryDone;
            s.entryTotal = c.entryTotal;
        }
        u.reportProgress();
        ASSERT_EQ(delegate.calls.size(), 2u);
        EXPECT_EQ(delegate.calls[0].figures, c.progress);
        EXPECT_EQ(delegate.calls[1].figures, c.unzip);
    }
}

TEST_F(Updater, FirstErrorWins) {
    RecordingDelegate delegate;
    ResUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
    std::thread other([&] { u.reportError(3, "p1.zip"); });
    other.join();
    u.reportError(1, "patch domains failed: 22,404");
    {
        std::lock_guard<std::mutex> lock(u.state()->mutex);
        EXPECT_TRUE(u.state()->stop);
    }
    EXPECT_TRUE(delegate.calls.empty());   // delivered on the main loop only
    pumpFrames(3);
    ASSERT_EQ(delegate.calls.size(), 1u);
    EXPECT_EQ(delegate.calls[0].eid, 3);
    EXPECT_EQ(delegate.calls[0].detail, "p1.zip");
}

TEST_F(Updater, PostedWorkIsDroppedOnceTheUpdaterIsGone) {
    RecordingDelegate delegate;
    auto u = std::make_unique<ResUpdater>(&delegate, "https://patch.vexo.test/r/list.json");
    // A worker that outlives the updater keeps the state through its own reference.
    std::shared_ptr<ResUpdaterState> workerRef = u->state();
    int ran = 0;
    workerRef->post([&](ResUpdaterState&) { ++ran; });
    u->reportError(1, "x");
    u.reset();
    {
        std::lock_guard<std::mutex> lock(workerRef->mutex);
        EXPECT_TRUE(workerRef->stop);
    }
    workerRef->post([&](ResUpdaterState&) { ++ran; });
    workerRef->reportError(3, "late");
    pumpFrames(3);
    EXPECT_EQ(ran, 0);
    EXPECT_TRUE(delegate.calls.empty());

    // Without any reference left, the posted work finds nothing.
    auto v = std::make_unique<ResUpdater>(&delegate, "https://patch.vexo.test/r/list.json");
    v->post([&](ResUpdaterState&) { ++ran; });
    v.reset();
    pumpFrames(3);
    EXPECT_EQ(ran, 0);
}

TEST_F(Updater, PostRunsOnTheMainLoop) {
    RecordingDelegate delegate;
    ResUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
    std::thread::id ranOn;
    std::thread worker([&] { u.post([&](ResUpdaterState&) { ranOn = std::this_thread::get_id(); }); });
    worker.join();
    EXPECT_EQ(ranOn, std::thread::id());
    pumpFrames(1);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(Updater, UnzippedSerialBookkeeping) {
    RecordingDelegate delegate;
    ResUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
    {
        std::lock_guard<std::mutex> lock(u.state()->mutex);
        u.state()->packagedSign = "abc";
    }
    dir.write("w/auc/Resources/BaseIncomplete", "1");

    u.state()->recordUnzippedSerial(0);   // a base part: nothing changes
    EXPECT_FALSE(fs::exists(resources() + "LocalResSignSn"));
    EXPECT_TRUE(fs::exists(resources() + "BaseIncomplete"));
    EXPECT_EQ(u.localSn(), 0);

    u.state()->recordUnzippedSerial(50);
    EXPECT_EQ(testsupport::readFile(resources() + "LocalResSignSn"), "abc 50");
    EXPECT_FALSE(fs::exists(resources() + "BaseIncomplete"));
    EXPECT_EQ(u.localSn(), 50);

    u.state()->recordUnzippedSerial(51);   // no marker left: no error
    EXPECT_EQ(testsupport::readFile(resources() + "LocalResSignSn"), "abc 51");
    EXPECT_EQ(u.localSn(), 51);
    EXPECT_EQ(std::distance(fs::directory_iterator(resources()), fs::directory_iterator()), 1);
}

TEST_F(Updater, MarkerStaysWhenTheSerialCannotBeWritten) {
    RecordingDelegate delegate;
    ResUpdater u(&delegate, "https://patch.vexo.test/r/list.json");
    dir.write("w/auc/Resources/BaseIncomplete", "1");
    fs::create_directories(resources() + "LocalResSignSn/blocked");   // a folder in the way
    u.state()->recordUnzippedSerial(50);
    EXPECT_TRUE(fs::exists(resources() + "BaseIncomplete"));
    EXPECT_EQ(u.localSn(), 50);
}

}  // namespace
