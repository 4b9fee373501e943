#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpResponse.h"
#include "engine/files/FileUtils.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
#include "updater/PatchRoute.h"
#include "updater/ResUpdater.h"

using namespace updater;
using testsupport::PatchHost;

namespace {

void pumpUntil(const std::function<bool()>& done, double seconds = 20) {
    testsupport::pumpMainThreadUntil(
        done, std::chrono::milliseconds(static_cast<long>(seconds * 1000)));
}

void pumpFor(double seconds) {
    pumpUntil([] { return false; }, seconds);
}

std::vector<int> ports(const PatchHost& host) {
    std::vector<int> out;
    for (const auto& r : host.requests()) out.push_back(r.port);
    return out;
}

class PatchRouteNet : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.ready()) << host.error();
        setPatchHostNames(host.primaryHost(), host.aliasHost(), host.secondaryHost());
        P = host.primaryPort();
        S = host.secondaryPort();
        patchRoutePreferred().store(0);
        host.writeFile("r/list.json", "accepted");
    }
    void TearDown() override { engine::network::HttpClient::destroyInstance(); }

    struct Outcome {
        int successes = 0;
        int failures = 0;
        std::string body;
    };
    void route(const std::string& url, Outcome& outcome) {
        patchRouteStart(
            url, [](const std::string& body) { return body == "accepted"; },
            [&outcome](engine::network::HttpClient*, engine::network::HttpResponse* response) {
                ++outcome.successes;
                outcome.body = response->getResponseDataString();
            },
            [&outcome] { ++outcome.failures; });
        pumpUntil([&] { return outcome.successes + outcome.failures > 0; });
    }

    PatchHost host;
    int P = 0;   // primary port
    int S = 0;   // secondary port
    std::string primary(const std::string& path) const { return "https://" + host.primaryHost() + path; }
    std::string secondary(const std::string& path) const { return "https://" + host.secondaryHost() + path; }
};

TEST_F(PatchRouteNet, RejectedBodyMovesToTheSecondHostWhichBecomesPreferred) {
    host.setFault(host.primaryPort(), "/r/list.json", R"({"status": 200, "body": "rejected"})");
    testsupport::LogCapture log;
    Outcome first;
    route("http://" + host.aliasHost() + "/r/list.json", first);   // the alias over plain http
    EXPECT_EQ(first.successes, 1);
    EXPECT_EQ(first.failures, 0);
    EXPECT_EQ(first.body, "accepted");
    EXPECT_TRUE(log.contains("PATCH_ROUTE failed " + primary("/r/list.json") + " status=200 attempt=1"))
        << log.text();
    EXPECT_EQ(patchRoutePreferred().load(), 1);
    EXPECT_EQ(ports(host), (std::vector<int>{P, S}));

    // Every later request starts on the second host.
    Outcome second;
    route(primary("/r/list.json"), second);
    EXPECT_EQ(second.successes, 1);
    EXPECT_EQ(ports(host), (std::vector<int>{P, S, S}));
    EXPECT_EQ(patchRouteCandidates(primary("/r/p.zip")).front(), secondary("/r/p.zip"));
}

TEST_F(PatchRouteNet, BothHostsFailingCallsOnFailOnce) {
    host.setFault("*", "/r/list.json", R"({"status": 500, "body": "accepted"})");
    testsupport::LogCapture log;
    Outcome outcome;
    route(primary("/r/list.json"), outcome);
    pumpFor(0.3);
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(outcome.successes, 0);
    EXPECT_TRUE(log.contains("PATCH_ROUTE failed " + primary("/r/list.json") + " status=500 attempt=1"));
    EXPECT_TRUE(log.contains("PATCH_ROUTE failed " + secondary("/r/list.json") + " status=500 attempt=2"));
    EXPECT_EQ(ports(host), (std::vector<int>{P, S}));
    EXPECT_EQ(patchRoutePreferred().load(), 0);
}

TEST_F(PatchRouteNet, OtherHostsGetOneAttempt) {
    testsupport::LogCapture log;
    Outcome outcome;
    route(PatchHost::url(PatchHost::closedPort(), "/r/list.json"), outcome);
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_TRUE(log.contains("status=0 attempt=1"));
    EXPECT_FALSE(log.contains("attempt=2"));
}

// A reply far longer than any gateway reply or list (here the accepted body followed by
// 96 MiB of blanks, which a JSON reader would still take) fails its attempt once it
// passes the bound, as a time-out would.
TEST_F(PatchRouteNet, OverlongReplyFailsItsAttempt) {
    struct Case {
        const char* name;
        const char* port;   // where the long reply is served
        int successes;
        int failures;
        std::vector<int> ports;
    };
    const std::string pad = R"({"pad": )" + std::to_string(96 << 20) + "}";
    const Case cases[] = {
        {"on the primary: the secondary answers", "primary", 1, 0, {P, S}},
        {"on both hosts: the route fails", "*", 0, 1, {P, S}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.clearFaults();
        host.setFault(std::string(c.port) == "*" ? "*" : std::to_string(P), "/r/list.json", pad);
        patchRoutePreferred().store(0);
        const size_t before = host.requests().size();
        testsupport::LogCapture log;
        Outcome outcome;
        route(primary("/r/list.json"), outcome);
        pumpFor(0.2);
        EXPECT_EQ(outcome.successes, c.successes);
        EXPECT_EQ(outcome.failures, c.failures);
        EXPECT_TRUE(log.contains("PATCH_ROUTE " + primary("/r/list.json") + ": reply larger than " +
                                 std::to_string(kPatchRouteMaxReply) + " bytes"))
            << log.text();
        std::vector<int> seen = ports(host);
        EXPECT_EQ(std::vector<int>(seen.begin() + static_cast<long>(before), seen.end()), c.ports);
    }
}

class Recorder : public ResUpdaterDelegate {
public:
    std::vector<std::string> calls;
    void onNoUpdate() override { calls.push_back("noUpdate"); }
    void onSuccess() override { calls.push_back("success"); }
    void onProgress(int64_t, int64_t) override { calls.push_back("progress"); }
    void onError(int eid, const std::string& detail) override {
        calls.push_back("error " + std::to_string(eid) + " " + detail);
    }
};

TEST_F(PatchRouteNet, ResourceListThroughTheRoute) {
    struct Case {
        const char* name;
        std::string list;
        std::vector<std::string> calls;
        std::vector<int> ports;
    };
    const Case cases[] = {
        {"up to date", R"({"sign":"abc","xlist":[[10,"p10.zip","0123456789ABCDEF0123456789ABCDEF",5]]})",
         {"noUpdate"}, {P}},
        {"other sign on both hosts", R"({"sign":"xyz","xlist":[]})",
         {"error 1 patch domains unavailable"}, {P, S}},
    };
    testsupport::TempDir dir;
    dir.write("res/fenk/ResSignSn", "abc 10");
    engine::FileUtils::getInstance()->setDefaultResourceRootPath(dir.file("res"));
    engine::FileUtils::getInstance()->setWritablePath(dir.file("w"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.writeFile("r/list.json", c.list);
        size_t before = host.requests().size();
        Recorder delegate;
        ResUpdater u(&delegate, "http://" + host.primaryHost() + "/r/list.json");
        u.start();
        pumpUntil([&] { return !delegate.calls.empty(); });
        pumpFor(0.2);
        EXPECT_EQ(delegate.calls, c.calls);
        std::vector<int> seen = ports(host);
        EXPECT_EQ(std::vector<int>(seen.begin() + before, seen.end()), c.ports);
    }
}

}  // namespace
