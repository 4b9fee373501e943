// Whole update runs against the local patch host over HTTPS on loopback: list,
// downloads with failover and resume, ordered unzip and the serial file.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/network/HttpClient.h"
#include "platform/DebugOutput.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
#include "support/ZipMaker.h"
#include "updater/Md5.h"
#include "updater/PatchRoute.h"
#include "updater/ResUpdater.h"

using namespace updater;
using testsupport::PatchHost;
using testsupport::zipBytes;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Debugger-output lines while alive.
class DebugCapture {
public:
    DebugCapture() {
        _previous = platform::setDebugOutputSink([this](const std::string& text) {
            std::lock_guard<std::mutex> lock(_mutex);
            _lines.push_back(text);
        });
    }
    ~DebugCapture() { platform::setDebugOutputSink(_previous); }
    std::vector<std::string> lines() const {
        std::lock_guard<std::mutex> lock(_mutex);
        return _lines;
    }
    // Index of the first line containing needle, or -1.
    int find(const std::string& needle) const {
        const auto all = lines();
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i].find(needle) != std::string::npos) return static_cast<int>(i);
        return -1;
    }

private:
    mutable std::mutex _mutex;
    std::vector<std::string> _lines;
    platform::DebugOutputSink _previous;
};

// Records the reports of one run and, like the front end, destroys the updater in
// its closing report. Progress figures are checked as they arrive.
class RunDelegate : public ResUpdaterDelegate {
public:
    std::unique_ptr<ResUpdater> updater;
    std::vector<std::string> endings;   // "noUpdate", "success", "error <eid> <detail>"
    int progressCalls = 0;
    int64_t lastDone = -1;
    int64_t lastTotal = -1;

    void onNoUpdate() override { end("noUpdate"); }
    void onSuccess() override { end("success"); }
    void onError(int eid, const std::string& detail) override {
        end("error " + std::to_string(eid) + " " + detail);
    }
    void onProgress(int64_t total, int64_t done) override {
        EXPECT_FALSE(ended()) << "progress after the closing report";
        EXPECT_LE(done, total);
        EXPECT_GE(done, 0);
        ++progressCalls;
        lastDone = done;
        lastTotal = total;
    }
    void onUnzipProgress(int fileIndex, int fileCount, int, int, int64_t bytesDone,
                         int64_t bytesTotal) override {
        EXPECT_FALSE(ended()) << "unzip progress after the closing report";
        EXPECT_LE(bytesDone, bytesTotal);
        EXPECT_LE(fileIndex, fileCount);
    }
    bool ended() const { return !endings.empty(); }

private:
    void end(const std::string& what) {
        endings.push_back(what);
        updater.reset();
    }
};

struct Package {
    std::string file;
    std::string bytes;
    std::string md5;   // upper case
};

// A package whose zip holds "order.txt" (its own name: the last unzipped wins),
// "<name>.txt" and some filler so that transfers take a few reads.
Package makePackage(const std::string& name, size_t filler = 20000) {
    std::string noise;
    noise.reserve(filler);
    uint32_t x = static_cast<uint32_t>(std::hash<std::string>()(name));
    for (size_t i = 0; i < filler; ++i) {
        x = x * 1664525u + 1013904223u;
        noise += static_cast<char>(x >> 24);
    }
    Package p;
    p.file = name + ".zip";
    p.bytes = zipBytes({{"order.txt", name}, {"pkg/" + name + ".txt", name}, {"noise.bin", noise}});
    p.md5 = md5Hex(p.bytes.data(), p.bytes.size(), true);
    return p;
}

std::string item(int sn, const Package& p, const std::string& md5 = "") {
    return "[" + std::to_string(sn) + ",\"" + p.file + "\",\"" + (md5.empty() ? p.md5 : md5) +
           "\"," + std::to_string(p.bytes.size()) + "]";
}

class UpdaterRun : public ::testing::Test {
public:   // the scenario tables below prepare the host and the caches
    void SetUp() override {
        ASSERT_TRUE(host.ready()) << host.error();
        setPatchHostNames(host.primaryHost(), host.aliasHost(), host.secondaryHost());
        patchRoutePreferred().store(0);
        files()->setWritablePath(dir.file("w/"));
        files()->setDefaultResourceRootPath(dir.file("res/"));
        files()->setSearchPaths({});
        dir.write("res/fenk/ResSignSn", "fx1 100");
    }

    void TearDown() override {
        // The threads end on their own and free the shared state.
        for (const auto& state : states)
            EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return state.expired(); }, 10s))
                << "a worker thread of the updater is still running";
        engine::network::HttpClient::destroyInstance();
    }

    static engine::FileUtils* files() { return engine::FileUtils::getInstance(); }
    std::string resources() const { return dir.file("w/auc/Resources/"); }
    std::string downloads() const { return dir.file("w/auc/Downloads/"); }

    void publish(const Package& p) const { host.writeFile("r/" + p.file, p.bytes); }
    void publishList(const std::string& json) const { host.writeFile("r/list.json", json); }

    // Starts a run, pumps the main loop until its closing report and a little
    // beyond it (nothing may follow), and returns the closing reports.
    std::vector<std::string> run(RunDelegate& delegate, std::chrono::milliseconds timeout = 20s) {
        delegate.updater = std::make_unique<ResUpdater>(&delegate, "https://" + host.primaryHost() + "/r/list.json");
        states.push_back(delegate.updater->state());
        delegate.updater->start();
        testsupport::pumpMainThreadUntil([&] { return delegate.ended(); }, timeout);
        testsupport::pumpMainThreadUntil([] { return false; }, 200ms);
        return delegate.endings;
    }

    // Requests for package files, as (port, path, range).
    std::vector<std::string> packageRequests() const {
        std::vector<std::string> out;
        for (const auto& r : host.requests())
            if (r.path.size() > 4 && r.path.compare(r.path.size() - 4, 4, ".zip") == 0)
                out.push_back(std::to_string(r.port) + " " + r.path + (r.range.empty() ? "" : " " + r.range));
        return out;
    }
    std::string onPrimary(const std::string& rest) const { return std::to_string(host.primaryPort()) + " " + rest; }
    std::string onSecondary(const std::string& rest) const { return std::to_string(host.secondaryPort()) + " " + rest; }

    bool downloadsEmpty() const {
        return !fs::exists(downloads()) || fs::is_empty(downloads());
    }
    std::string serial() const { return testsupport::readFile(resources() + "LocalResSignSn"); }

    testsupport::TempDir dir;
    PatchHost host;
    std::vector<std::weak_ptr<ResUpdaterState>> states;
};

// The list of the first scenarios: base set of b1 and b2 (with an upgrade set of u1
// for caches from 120 on) and one patch above the base.
struct BaseAndPatch {
    Package b1 = makePackage("b1");
    Package b2 = makePackage("b2");
    Package u1 = makePackage("u1");
    Package p201 = makePackage("p201");
    std::string list() const {
        return R"({"sign":"fx1","base":{"sn":200,"min":150,"list":[)" + item(1, b1) + "," + item(2, b2) +
               R"(],"upgrade":{"from":120,"list":[)" + item(3, u1) + R"(]}},"xlist":[)" + item(201, p201) +
               "]}";
    }
};

TEST_F(UpdaterRun, EmptyCacheGetsTheBaseSetThenThePatchAndTheSameListAgainIsNoUpdate) {
    BaseAndPatch set;
    for (const Package* p : {&set.b1, &set.b2, &set.u1, &set.p201}) publish(*p);
    publishList(set.list());
    DebugCapture debug;

    RunDelegate first;
    EXPECT_EQ(run(first), std::vector<std::string>{"success"});
    const int b1 = debug.find("unzip 'b1.zip'");
    const int b2 = debug.find("unzip 'b2.zip'");
    const int p201 = debug.find("unzip 'p201.zip'");
    EXPECT_TRUE(b1 >= 0 && b1 < b2 && b2 < p201) << b1 << " " << b2 << " " << p201;
    EXPECT_EQ(debug.find("unzip 'u1.zip'"), -1);
    EXPECT_EQ(testsupport::readFile(resources() + "order.txt"), "p201");
    EXPECT_TRUE(fs::exists(resources() + "pkg/b1.txt"));
    EXPECT_EQ(serial(), "fx1 201");
    EXPECT_FALSE(fs::exists(resources() + "BaseIncomplete"));
    EXPECT_TRUE(downloadsEmpty());
    EXPECT_EQ(first.lastDone, first.lastTotal);
    EXPECT_EQ(first.lastTotal, static_cast<int64_t>(set.b1.bytes.size() + set.b2.bytes.size() +
                                                    set.p201.bytes.size()));
    EXPECT_GE(debug.find("update to sn 201"), 0);

    const size_t fetched = packageRequests().size();
    EXPECT_EQ(fetched, 3u);
    RunDelegate second;
    EXPECT_EQ(run(second), std::vector<std::string>{"noUpdate"});
    EXPECT_EQ(packageRequests().size(), fetched);
}

TEST_F(UpdaterRun, CacheFromTheUpgradeRangeGetsTheUpgradeSetThenThePatch) {
    BaseAndPatch set;
    for (const Package* p : {&set.b1, &set.b2, &set.u1, &set.p201}) publish(*p);
    publishList(set.list());
    dir.write("w/auc/Resources/LocalResSignSn", "fx1 130");
    DebugCapture debug;

    RunDelegate delegate;
    EXPECT_EQ(run(delegate), std::vector<std::string>{"success"});
    std::vector<std::string> fetched = packageRequests();   // two workers: any order
    std::sort(fetched.begin(), fetched.end());
    EXPECT_EQ(fetched, (std::vector<std::string>{onPrimary("/r/p201.zip"), onPrimary("/r/u1.zip")}));
    const int u1 = debug.find("unzip 'u1.zip'");
    EXPECT_TRUE(u1 >= 0 && u1 < debug.find("unzip 'p201.zip'"));
    EXPECT_EQ(serial(), "fx1 201");
}

TEST_F(UpdaterRun, ListFailingOnThePrimaryIsTakenFromTheSecondaryWhichServesTheRest) {
    const Package p = makePackage("p101");
    publish(p);
    publishList(R"({"sign":"fx1","xlist":[)" + item(101, p) + "]}");
    host.setFault(host.primaryPort(), "/r/list.json", R"({"status": 500})");
    testsupport::LogCapture log;

    RunDelegate delegate;
    EXPECT_EQ(run(delegate), std::vector<std::string>{"success"});
    const std::string failed = "PATCH_ROUTE failed https://" + host.primaryHost() + "/r/list.json status=500 attempt=1";
    const auto lines = log.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.find("PATCH_ROUTE failed") != std::string::npos; }),
              1)
        << log.text();
    EXPECT_TRUE(log.contains(failed)) << log.text();
    EXPECT_EQ(packageRequests(), std::vector<std::string>{onSecondary("/r/p101.zip")});
    EXPECT_EQ(serial(), "fx1 101");
}

// Runs that end in an error: exactly one onError, with what it says.
struct FailingRun {
    const char* name;
    // Sets up host and caches; returns the list.
    std::function<std::string(UpdaterRun&, const Package& a, const Package& b)> prepare;
    std::string ending;
    std::function<void(UpdaterRun&)> check;
};

void PrintTo(const FailingRun& run, std::ostream* os) { *os << run.name; }

class UpdaterRunFailing : public UpdaterRun, public ::testing::WithParamInterface<FailingRun> {};

TEST_P(UpdaterRunFailing, EndsWithOneError) {
    const Package a = makePackage("p101");
    const Package b = makePackage("p102");
    publishList(GetParam().prepare(*this, a, b));
    RunDelegate delegate;
    EXPECT_EQ(run(delegate), std::vector<std::string>{GetParam().ending});
    // The report comes with the first failing worker; the others may still be
    // finishing their files. Check once every thread of the run has ended.
    delegate.updater.reset();
    EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return states.back().expired(); }, 20s));
    if (GetParam().check) GetParam().check(*this);
}

std::string twoPatches(const Package& a, const Package& b) {
    return R"({"sign":"fx1","xlist":[)" + item(101, a) + "," + item(102, b) + "]}";
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, UpdaterRunFailing,
    ::testing::Values(
        FailingRun{"ListOfAnotherSign",
                   [](UpdaterRun& t, const Package& a, const Package&) {
                       t.publish(a);
                       return R"({"sign":"zz9","xlist":[)" + item(101, a) + "]}";
                   },
                   "error 1 patch domains unavailable",
                   [](UpdaterRun& t) { EXPECT_TRUE(t.packageRequests().empty()); }},
        // Both packages are missing on both hosts: two workers fail, one report.
        FailingRun{"PackagesMissingOnBothHosts",
                   [](UpdaterRun&, const Package& a, const Package& b) { return twoPatches(a, b); },
                   "error 1 patch domains failed: 22,404",
                   [](UpdaterRun& t) {
                       EXPECT_FALSE(fs::exists(t.downloads() + "p101.zip.temp"));
                       EXPECT_FALSE(fs::exists(t.resources() + "LocalResSignSn"));
                   }},
        FailingRun{"VerifiedBytesThatAreNoZip",
                   [](UpdaterRun& t, const Package&, const Package&) {
                       Package junk{"p101.zip", std::string(3000, 'j'), ""};
                       junk.md5 = md5Hex(junk.bytes.data(), junk.bytes.size(), true);
                       t.publish(junk);
                       return R"({"sign":"fx1","xlist":[)" + item(101, junk) + "]}";
                   },
                   "error 3 p101.zip",
                   [](UpdaterRun& t) { EXPECT_FALSE(fs::exists(t.downloads() + "p101.zip")); }},
        // The first part of a base set is unzipped, the second is no zip: the part
        // of sn 0 wrote no serial and the marker stays.
        FailingRun{"BaseSetBrokenAfterItsFirstPart",
                   [](UpdaterRun& t, const Package& a, const Package&) {
                       t.publish(a);
                       Package junk{"b2.zip", std::string(3000, 'j'), ""};
                       junk.md5 = md5Hex(junk.bytes.data(), junk.bytes.size(), true);
                       t.publish(junk);
                       return R"({"sign":"fx1","base":{"sn":200,"min":150,"list":[)" + item(0, a) + "," +
                              item(0, junk) + R"(]},"xlist":[]})";
                   },
                   "error 3 b2.zip",
                   [](UpdaterRun& t) {
                       EXPECT_TRUE(fs::exists(t.resources() + "pkg/p101.txt"));
                       EXPECT_FALSE(fs::exists(t.resources() + "LocalResSignSn"));
                       EXPECT_EQ(testsupport::readFile(t.resources() + "BaseIncomplete"), "1");
                   }},
        // Increments go in serial order: the later one, listed first and served,
        // waits for the earlier one, which is missing (and slow to say so); no
        // serial is recorded.
        FailingRun{"IncrementListedBeforeAMissingEarlierOne",
                   [](UpdaterRun& t, const Package& a, const Package& b) {
                       t.publish(a);
                       t.host.setFault("*", "/r/" + b.file, R"({"delay": 1.5})");
                       return R"({"sign":"fx1","xlist":[)" + item(103, a) + "," + item(102, b) + "]}";
                   },
                   "error 1 patch domains failed: 22,404",
                   [](UpdaterRun& t) {
                       EXPECT_FALSE(fs::exists(t.resources() + "LocalResSignSn"));
                       EXPECT_FALSE(fs::exists(t.resources() + "order.txt"));
                   }},
        // The disk fills during the download (writes to the partial file fail with
        // ENOSPC): a local failure, reported at once, no other host tried.
        FailingRun{"DiskFullDuringADownload",
                   [](UpdaterRun& t, const Package& a, const Package&) {
                       t.publish(a);
                       fs::create_directories(t.downloads());
                       fs::create_symlink("/dev/full", t.downloads() + "p101.zip.temp");
                       return R"({"sign":"fx1","xlist":[)" + item(101, a) + "]}";
                   },
                   "error 0 disk full",
                   [](UpdaterRun& t) {
                       EXPECT_EQ(t.packageRequests(), std::vector<std::string>{t.onPrimary("/r/p101.zip")});
                       EXPECT_FALSE(fs::exists(fs::symlink_status(t.downloads() + "p101.zip.temp")));
                   }},
        // The disk fills while the second patch is unpacked (a file size limit makes
        // its big entry fail with EFBIG after its first entry): the disk-space error,
        // the files on disk are those of the recorded serial, the sound zip stays.
        FailingRun{"DiskFullDuringAnUnzip",
                   [](UpdaterRun& t, const Package& a, const Package&) {
                       Package b{"p102.zip",
                                 zipBytes({{"order.txt", "p102"}, {"big.bin", std::string(4 << 20, '\0')}}), ""};
                       b.md5 = md5Hex(b.bytes.data(), b.bytes.size(), true);
                       t.publish(a);
                       t.publish(b);
                       std::signal(SIGXFSZ, SIG_IGN);
                       const rlimit limit{256 << 10, RLIM_INFINITY};
                       setrlimit(RLIMIT_FSIZE, &limit);
                       return twoPatches(a, b);
                   },
                   "error 0 disk full",
                   [](UpdaterRun& t) {
                       const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
                       setrlimit(RLIMIT_FSIZE, &none);
                       EXPECT_EQ(t.serial(), "fx1 101");
                       EXPECT_EQ(testsupport::readFile(t.resources() + "order.txt"), "p101");
                       EXPECT_FALSE(fs::exists(t.resources() + "big.bin"));
                       EXPECT_TRUE(fs::exists(t.downloads() + "p102.zip"));
                       EXPECT_FALSE(fs::exists(t.dir.file("w/auc/.staging")));
                   }},
        // A package may not write the updater's own serial file.
        FailingRun{"PackageHoldingTheSerialFile",
                   [](UpdaterRun& t, const Package&, const Package&) {
                       Package forged{"b1.zip", zipBytes({{"a.txt", "a"}, {"LocalResSignSn", "fx1 99999"}}), ""};
                       forged.md5 = md5Hex(forged.bytes.data(), forged.bytes.size(), true);
                       t.publish(forged);
                       return R"({"sign":"fx1","base":{"sn":200,"min":150,"list":[)" + item(0, forged) +
                              R"(]},"xlist":[]})";
                   },
                   "error 3 b1.zip",
                   [](UpdaterRun& t) {
                       EXPECT_FALSE(fs::exists(t.resources() + "LocalResSignSn"));
                       EXPECT_EQ(testsupport::readFile(t.resources() + "BaseIncomplete"), "1");
                   }}),
    [](const ::testing::TestParamInfo<FailingRun>& info) { return std::string(info.param.name); });

// Runs that succeed after a fault or with something already on disk; `requests`
// are the package requests expected, in order.
struct RecoveringRun {
    const char* name;
    std::function<void(UpdaterRun&, const Package& p)> prepare;
    std::function<std::vector<std::string>(UpdaterRun&, const Package& p)> requests;
    bool lowerCaseMd5 = false;
};

void PrintTo(const RecoveringRun& run, std::ostream* os) { *os << run.name; }

class UpdaterRunRecovering : public UpdaterRun, public ::testing::WithParamInterface<RecoveringRun> {};

constexpr size_t kCut = 5000;   // bytes of a broken or partial transfer

TEST_P(UpdaterRunRecovering, Succeeds) {
    const Package p = makePackage("p101", 60000);
    ASSERT_GT(p.bytes.size(), 2 * kCut);
    publish(p);
    std::string md5 = p.md5;
    if (GetParam().lowerCaseMd5) std::transform(md5.begin(), md5.end(), md5.begin(), ::tolower);
    publishList(R"({"sign":"fx1","xlist":[)" + item(101, p, md5) + "]}");
    fs::create_directories(downloads());
    GetParam().prepare(*this, p);

    RunDelegate delegate;
    EXPECT_EQ(run(delegate), std::vector<std::string>{"success"});
    EXPECT_EQ(packageRequests(), GetParam().requests(*this, p));
    EXPECT_EQ(testsupport::readFile(resources() + "order.txt"), "p101");
    EXPECT_EQ(serial(), "fx1 101");
    EXPECT_TRUE(downloadsEmpty());
}

const std::string kRange = "bytes=" + std::to_string(kCut) + "-";
const std::string kLongBody = R"({"pad": 60000000, "throttle": 2000000})";

INSTANTIATE_TEST_SUITE_P(
    Scenarios, UpdaterRunRecovering,
    ::testing::Values(
        RecoveringRun{"BrokenOnThePrimaryResumesOnTheSecondary",
                      [](UpdaterRun& t, const Package&) {
                          t.host.setFault(t.host.primaryPort(), "/r/p101.zip",
                                          R"({"close_after": )" + std::to_string(kCut) + "}");
                      },
                      [](UpdaterRun& t, const Package&) {
                          return std::vector<std::string>{t.onPrimary("/r/p101.zip"),
                                                          t.onSecondary("/r/p101.zip " + kRange)};
                      }},
        RecoveringRun{"TempAsLongAsThePackageStartsAfresh",
                      [](UpdaterRun& t, const Package& p) {
                          t.dir.write("w/auc/Downloads/p101.zip.temp", p.bytes);
                      },
                      [](UpdaterRun& t, const Package&) {
                          return std::vector<std::string>{t.onPrimary("/r/p101.zip")};
                      }},
        RecoveringRun{"RangeRefusedStartsAfreshOnTheSameHost",
                      [](UpdaterRun& t, const Package& p) {
                          t.dir.write("w/auc/Downloads/p101.zip.temp", p.bytes.substr(0, kCut));
                          t.host.setFault(t.host.primaryPort(), "/r/p101.zip", R"({"status": 416, "times": 1})");
                      },
                      [](UpdaterRun& t, const Package&) {
                          return std::vector<std::string>{t.onPrimary("/r/p101.zip " + kRange),
                                                          t.onPrimary("/r/p101.zip")};
                      }},
        RecoveringRun{"ResumedFileFailingItsDigestStartsAfreshOnTheSameHost",
                      [](UpdaterRun& t, const Package&) {
                          t.dir.write("w/auc/Downloads/p101.zip.temp", std::string(kCut, 'x'));
                      },
                      [](UpdaterRun& t, const Package&) {
                          return std::vector<std::string>{t.onPrimary("/r/p101.zip " + kRange),
                                                          t.onPrimary("/r/p101.zip")};
                      }},
        // A body longer than listed, stated or not, ends at the listed size as a
        // corrupt package (at this rate the whole body would take half a minute).
        RecoveringRun{"LongerBodyStatedOnThePrimaryIsRefusedAndComesFromTheSecondary",
                      [](UpdaterRun& t, const Package&) {
                          t.host.setFault(t.host.primaryPort(), "/r/p101.zip", kLongBody);
                      },
                      [](UpdaterRun& t, const Package&) {
                          return std::vector<std::string>{t.onPrimary("/r/p101.zip"),
                                                          t.onSecondary("/r/p101.zip")};
                      }},
        RecoveringRun{"LongerBodyUnstatedOnThePrimaryIsCutAndComesFromTheSecondary",
                      [](UpdaterRun& t, const Package&) {
                          t.host.setFault(t.host.primaryPort(), "/r/p101.zip",
                                          kLongBody.substr(0, kLongBody.size() - 1) + R"(, "no_length": true})");
                      },
                      [](UpdaterRun& t, const Package&) {
                          return std::vector<std::string>{t.onPrimary("/r/p101.zip"),
                                                          t.onSecondary("/r/p101.zip")};
                      }},
        RecoveringRun{"VerifiedFileInTheCacheIsReused",
                      [](UpdaterRun& t, const Package& p) { t.dir.write("w/auc/Downloads/p101.zip", p.bytes); },
                      [](UpdaterRun&, const Package&) { return std::vector<std::string>{}; }},
        RecoveringRun{"LowerCaseDigestInTheList",
                      [](UpdaterRun&, const Package&) {},
                      [](UpdaterRun& t, const Package&) {
                          return std::vector<std::string>{t.onPrimary("/r/p101.zip")};
                      },
                      true}),
    [](const ::testing::TestParamInfo<RecoveringRun>& info) { return std::string(info.param.name); });

// A run starting on a kept cache removes the temporaries a stopped run left there,
// and nothing else.
TEST_F(UpdaterRun, StaleTemporariesAreRemovedAtTheStart) {
    struct Case {
        std::string path;   // below the resource cache
        bool removed;
    };
    const Case cases[] = {
        {".unzip-0", true},
        {"pkg/deep/.unzip-17", true},
        {"LocalResSignSn.part-4242-0", true},
        {"BaseIncomplete.part-4242-3", true},
        {"pkg/LocalResSignSn.part-1-0", false},   // a game file, not the serial's temporary
        {"pkg/f.unzip-1", false},
        {"pkg/a.txt", false},
    };
    const Package p = makePackage("p101");
    publishList(R"({"sign":"fx1","xlist":[)" + item(101, p) + "]}");
    dir.write("w/auc/Resources/LocalResSignSn", "fx1 101");
    for (const Case& c : cases) dir.write("w/auc/Resources/" + c.path, "x");

    RunDelegate delegate;
    EXPECT_EQ(run(delegate), std::vector<std::string>{"noUpdate"});
    for (const Case& c : cases) EXPECT_EQ(fs::exists(resources() + c.path), !c.removed) << c.path;
    EXPECT_EQ(serial(), "fx1 101");
}

TEST_F(UpdaterRun, LaterPackageDownloadedFirstWaitsForTheEarlierOneToBeUnzipped) {
    const Package slow = makePackage("p101");
    const Package fast = makePackage("p102");
    publish(slow);
    publish(fast);
    publishList(twoPatches(slow, fast));
    host.setFault("*", "/r/p101.zip", R"({"delay": 1.5})");
    DebugCapture debug;

    RunDelegate delegate;
    EXPECT_EQ(run(delegate), std::vector<std::string>{"success"});
    const int fastVerified = debug.find("PATCH_ROUTE verified https://" + host.primaryHost() + "/r/p102.zip");
    const int slowVerified = debug.find("PATCH_ROUTE verified https://" + host.primaryHost() + "/r/p101.zip");
    const int slowUnzip = debug.find("unzip 'p101.zip'");
    const int fastUnzip = debug.find("unzip 'p102.zip'");
    ASSERT_TRUE(fastVerified >= 0 && slowVerified >= 0);
    EXPECT_LT(fastVerified, slowVerified);
    EXPECT_LT(slowVerified, slowUnzip);
    EXPECT_LT(slowUnzip, fastUnzip);
    EXPECT_EQ(serial(), "fx1 102");
}

struct Parallelism {
    int packages;
    int transfers;
};

void PrintTo(const Parallelism& p, std::ostream* os) { *os << p.packages << " packages"; }

class UpdaterRunParallel : public UpdaterRun, public ::testing::WithParamInterface<Parallelism> {};

TEST_P(UpdaterRunParallel, TransfersAtOnce) {
    const auto [n, expectedCount] = GetParam();
    const auto expected = expectedCount;  // a copy: lambdas cannot capture a structured binding everywhere
    std::string items;
    for (int i = 0; i < n; ++i) {
        const Package p = makePackage("p" + std::to_string(101 + i), 2000);
        publish(p);
        items += (i ? "," : "") + item(101 + i, p);
    }
    publishList(R"({"sign":"fx1","xlist":[)" + items + "]}");
    // Every package answers late, so the transfers of the first wave overlap.
    for (int i = 0; i < n; ++i)
        host.setFault("*", "/r/p" + std::to_string(101 + i) + ".zip", R"({"delay": 2})");
    testsupport::LogCapture log;

    RunDelegate delegate;
    delegate.updater = std::make_unique<ResUpdater>(&delegate, "https://" + host.primaryHost() + "/r/list.json");
    states.push_back(delegate.updater->state());
    delegate.updater->start();
    ASSERT_TRUE(testsupport::pumpMainThreadUntil(
        [&] { return packageRequests().size() >= static_cast<size_t>(expected); }, 10s));
    testsupport::pumpMainThreadUntil([] { return false; }, 400ms);
    EXPECT_EQ(packageRequests().size(), static_cast<size_t>(expected));
    EXPECT_TRUE(log.contains("start " + std::to_string(expected) + " luong tai song song cho " +
                             std::to_string(n) + " file"))
        << log.text();

    testsupport::pumpMainThreadUntil([&] { return delegate.ended(); }, 20s);
    EXPECT_EQ(delegate.endings, std::vector<std::string>{"success"});
    EXPECT_EQ(packageRequests().size(), static_cast<size_t>(n));
    EXPECT_EQ(serial(), "fx1 " + std::to_string(100 + n));
}

INSTANTIATE_TEST_SUITE_P(Scenarios, UpdaterRunParallel, ::testing::Values(Parallelism{12, 8}, Parallelism{3, 3}),
                         [](const ::testing::TestParamInfo<Parallelism>& info) {
                             return std::to_string(info.param.packages) + "Packages";
                         });

TEST_F(UpdaterRun, DestroyingTheUpdaterMidRunReturnsAtOnceAndReportsNothingMore) {
    const Package a = makePackage("p101", 200000);
    const Package b = makePackage("p102", 200000);
    publish(a);
    publish(b);
    publishList(twoPatches(a, b));
    host.setFault("*", "/r/p101.zip", R"({"throttle": 40000})");
    host.setFault("*", "/r/p102.zip", R"({"throttle": 40000})");

    RunDelegate delegate;
    delegate.updater = std::make_unique<ResUpdater>(&delegate, "https://" + host.primaryHost() + "/r/list.json");
    std::weak_ptr<ResUpdaterState> state = delegate.updater->state();
    delegate.updater->start();
    // Wait until bytes are arriving.
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return delegate.lastDone > 0; }, 10s));

    // libcurl reports each transfer many times a second; the delegate hears at
    // most once per frame, even at 20 frames a second.
    const int callsBefore = delegate.progressCalls;
    const int64_t doneBefore = delegate.lastDone;
    int frames = 0;
    for (; frames < 20; ++frames) {
        engine::Director::getInstance()->getScheduler()->update(1.f / 20);
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_LE(delegate.progressCalls - callsBefore, frames);
    EXPECT_GT(delegate.progressCalls, callsBefore);
    EXPECT_GT(delegate.lastDone, doneBefore);
    const int progressBefore = delegate.progressCalls;

    const auto before = std::chrono::steady_clock::now();
    delegate.updater.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 100ms);

    // The aborted transfers end on their own, and the last thread frees the state.
    EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return state.expired(); }, 5s));
    testsupport::pumpMainThreadUntil([] { return false; }, 300ms);
    EXPECT_TRUE(delegate.endings.empty());
    EXPECT_EQ(delegate.progressCalls, progressBefore);
    EXPECT_FALSE(fs::exists(resources() + "LocalResSignSn"));
}

}  // namespace
