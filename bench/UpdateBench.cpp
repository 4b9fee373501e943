// One whole update of 20 packages (100 MiB of zips) from the local patch host over
// HTTPS on loopback, against curl fetching the same files in parallel, followed by
// md5sum and unzip of each. Both write below the same temporary folder.
#include <benchmark/benchmark.h>
#include <minizip/zip.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/network/HttpClient.h"
#include "platform/DebugOutput.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
#include "updater/Md5.h"
#include "updater/PatchRoute.h"
#include "updater/ResUpdater.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPackages = 20;
constexpr int kEntriesPerPackage = 8;
constexpr size_t kEntrySize = 5 * 1024 * 1024 / kEntriesPerPackage;   // 5 MiB per package

// The patch host with the packages and their list, made once.
class Published {
public:
    Published() {
        std::mt19937_64 gen(42);
        std::string items;
        for (int i = 0; i < kPackages; ++i) {
            const std::string name = "p" + std::to_string(101 + i) + ".zip";
            const std::string zipPath = _host.root() + "/r/" + name;
            fs::create_directories(_host.root() + "/r");
            zipFile zf = zipOpen64(zipPath.c_str(), APPEND_STATUS_CREATE);
            for (int e = 0; e < kEntriesPerPackage; ++e) {
                // Random bytes: deflate stores them, so the zips total 100 MiB.
                std::string data(kEntrySize, '\0');
                for (size_t k = 0; k + 8 <= data.size(); k += 8) {
                    const uint64_t v = gen();
                    std::memcpy(&data[k], &v, 8);
                }
                const std::string entry = "pkg" + std::to_string(i) + "/f" + std::to_string(e) + ".bin";
                zip_fileinfo info{};
                zipOpenNewFileInZip64(zf, entry.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1, 1);
                zipWriteInFileInZip(zf, data.data(), static_cast<unsigned>(data.size()));
                zipCloseFileInZip(zf);
            }
            zipClose(zf, nullptr);
            const std::string md5 = updater::md5HexFile(zipPath, true);
            items += (i ? "," : "") + ("[" + std::to_string(101 + i) + ",\"" + name + "\",\"" + md5 + "\"," +
                                       std::to_string(fs::file_size(zipPath)) + "]");
            _names.push_back(name);
        }
        _host.writeFile("r/list.json", R"({"sign":"fx1","xlist":[)" + items + "]}");
        updater::setPatchHostNames(_host.primaryHost(), _host.aliasHost(), _host.secondaryHost());
    }

    bool ready() const { return _host.ready(); }
    const std::string& error() const { return _host.error(); }
    std::string url(const std::string& name) const { return "https://" + _host.primaryHost() + "/r/" + name; }
    const std::vector<std::string>& names() const { return _names; }

private:
    testsupport::PatchHost _host;
    std::vector<std::string> _names;
};

Published& published() {
    static Published instance;
    return instance;
}

class Delegate : public updater::ResUpdaterDelegate {
public:
    std::unique_ptr<updater::ResUpdater> updater;
    std::string ending;
    void onNoUpdate() override { end("noUpdate"); }
    void onSuccess() override { end("success"); }
    void onError(int eid, const std::string& detail) override { end("error " + std::to_string(eid) + " " + detail); }
    void onProgress(int64_t, int64_t) override {}

private:
    void end(const std::string& what) {
        ending = what;
        updater.reset();
    }
};

void BM_update_ours(benchmark::State& state) {
    Published& pub = published();
    if (!pub.ready()) {
        state.SkipWithError(pub.error().c_str());
        return;
    }
    engine::FileUtils* files = engine::FileUtils::getInstance();
    // The run's log and debugger lines would drown the report.
    const engine::LogSink log = engine::setLogSink([](const std::string&) {});
    const platform::DebugOutputSink debug = platform::setDebugOutputSink([](const std::string&) {});
    for (auto _ : state) {
        testsupport::TempDir dir;
        dir.write("res/fenk/ResSignSn", "fx1 100");
        files->setWritablePath(dir.file("w/"));
        files->setDefaultResourceRootPath(dir.file("res/"));
        files->setSearchPaths({});
        updater::patchRoutePreferred().store(0);

        Delegate delegate;
        delegate.updater = std::make_unique<updater::ResUpdater>(&delegate, pub.url("list.json"));
        std::weak_ptr<updater::ResUpdaterState> shared = delegate.updater->state();
        delegate.updater->start();
        testsupport::pumpMainThreadUntil([&] { return !delegate.ending.empty(); }, std::chrono::minutes(2));
        testsupport::pumpMainThreadUntil([&] { return shared.expired(); }, std::chrono::seconds(10));
        if (delegate.ending != "success") {
            state.SkipWithError(("update ended with " + delegate.ending).c_str());
            break;
        }
    }
    engine::network::HttpClient::destroyInstance();
    engine::setLogSink(log);
    platform::setDebugOutputSink(debug);
}

void BM_update_baseline(benchmark::State& state) {
    Published& pub = published();
    if (!pub.ready()) {
        state.SkipWithError(pub.error().c_str());
        return;
    }
    const std::string ca = engine::network::caBundlePath();
    for (auto _ : state) {
        testsupport::TempDir dir;
        fs::create_directories(dir.file("dl"));
        fs::create_directories(dir.file("out"));
        std::string script = "set -e; cd '" + dir.file("dl") + "'; curl -sS --no-progress-meter --fail --parallel --parallel-max 8 --cacert '" +
                             ca + "'";
        for (const std::string& name : pub.names()) script += " -o " + name + " '" + pub.url(name) + "'";
        script += " && md5sum *.zip > /dev/null";
        for (const std::string& name : pub.names()) script += " && unzip -q -o " + name + " -d '" + dir.file("out") + "'";
        if (std::system(script.c_str()) != 0) {
            state.SkipWithError("curl, md5sum or unzip failed");
            break;
        }
    }
}

BENCHMARK(BM_update_ours)->Name("BM_update_vs_curl/ours")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3);
BENCHMARK(BM_update_baseline)->Name("BM_update_vs_curl/baseline")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3);

}  // namespace
