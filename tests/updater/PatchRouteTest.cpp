#include <gtest/gtest.h>

#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "support/TestSupport.h"
#include "updater/PatchRoute.h"

using namespace updater;

namespace {

const std::string kPrimary = "patch.vexo.test";
const std::string kAlias = "cdn.vexo.test";
const std::string kSecondary = "patch.vexo-mirror.test";

class PatchRoute : public ::testing::Test {
protected:
    void SetUp() override {
        setPatchHostNames(kPrimary, kAlias, kSecondary);
        patchRoutePreferred().store(0);
    }
};

TEST_F(PatchRoute, Classification) {
    const std::pair<const char*, int> cases[] = {
        {"https://patch.vexo.test/r/list.json", 0},
        {"http://patch.vexo.test/r/list.json", 0},
        {"https://cdn.vexo.test/r/list.json", 0},
        {"https://patch.vexo-mirror.test/r/list.json", 1},
        {"https://PATCH.Vexo.TEST/r/list.json", 0},        // host compared in lower case
        {"HTTPS://patch.vexo.test/r/list.json", -1},       // scheme is case-sensitive
        {"Http://patch.vexo.test/r/list.json", -1},
        {"ftp://patch.vexo.test/r/list.json", -1},
        {"patch.vexo.test/r/list.json", -1},
        {"https://patch.vexo.test", 0},
        {"https://patch.vexo.test?v=1", 0},
        {"https://patch.vexo.test#top", 0},
        {"https://patch.vexo.test:443/r", -1},             // a port is part of the host
        {"https://user@patch.vexo.test/r", -1},
        {"https://patch.vexo.test.evil.test/r", -1},
        {"https://evil.test/patch.vexo.test/r", -1},
        {"https://evil.test/?https://patch.vexo.test/", -1},
        {"", -1},
    };
    for (const auto& [url, index] : cases) {
        SCOPED_TRACE(url);
        EXPECT_EQ(patchHostIndex(url), index);
    }
}

TEST_F(PatchRoute, HostWithPortMatchesWhenConfiguredSo) {
    setPatchHostNames("localhost:18443", "127.0.0.1:18443", "127.0.0.1:18444");
    EXPECT_EQ(patchHostIndex("https://localhost:18443/list.json"), 0);
    EXPECT_EQ(patchHostIndex("https://127.0.0.1:18443/list.json"), 0);
    EXPECT_EQ(patchHostIndex("https://127.0.0.1:18444/list.json"), 1);
    EXPECT_EQ(patchHostIndex("https://localhost/list.json"), -1);
}

TEST_F(PatchRoute, UnsetHostNameMatchesNothing) {
    setPatchHostNames(kPrimary, "", "");
    EXPECT_EQ(patchHostIndex("https:///list.json"), -1);
    EXPECT_EQ(patchRouteCandidates("https:///list.json"), std::vector<std::string>{"https:///list.json"});
}

TEST_F(PatchRoute, Rewrite) {
    struct Case {
        const char* url;
        int index;
        const char* expected;
    };
    const Case cases[] = {
        {"http://cdn.vexo.test/r/list.json", 0, "https://patch.vexo.test/r/list.json"},
        {"http://cdn.vexo.test/r/list.json", 1, "https://patch.vexo-mirror.test/r/list.json"},
        {"https://PATCH.VEXO.TEST/R/A.zip", 1, "https://patch.vexo-mirror.test/R/A.zip"},
        {"https://patch.vexo-mirror.test", 0, "https://patch.vexo.test/"},
        {"https://patch.vexo.test?v=1", 1, "https://patch.vexo-mirror.test?v=1"},
        {"https://patch.vexo.test#x", 0, "https://patch.vexo.test#x"},
        {"https://elsewhere.test/a", 1, "https://elsewhere.test/a"},
        {"HTTPS://patch.vexo.test/a", 1, "HTTPS://patch.vexo.test/a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(patchUrlOnHost(c.url, c.index), c.expected);
    }
}

TEST_F(PatchRoute, Candidates) {
    using V = std::vector<std::string>;
    EXPECT_EQ(patchRouteCandidates("http://cdn.vexo.test/r/list.json"),
              (V{"https://patch.vexo.test/r/list.json", "https://patch.vexo-mirror.test/r/list.json"}));
    EXPECT_EQ(patchRouteCandidates("https://patch.vexo.test"),
              (V{"https://patch.vexo.test/", "https://patch.vexo-mirror.test/"}));
    EXPECT_EQ(patchRouteCandidates("HTTPS://patch.vexo.test/a"), (V{"HTTPS://patch.vexo.test/a"}));
    EXPECT_EQ(patchRouteCandidates("http://elsewhere.test/a"), (V{"http://elsewhere.test/a"}));

    patchRoutePreferred().store(1);
    EXPECT_EQ(patchRouteCandidates("https://patch.vexo.test/a.zip"),
              (V{"https://patch.vexo-mirror.test/a.zip", "https://patch.vexo.test/a.zip"}));
}

TEST_F(PatchRoute, ForceHttpsOnlyOnThePrimaryName) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://patch.vexo.test/r/", "https://patch.vexo.test/r/"},
        {"http://patch.vexo.test/", "https://patch.vexo.test/"},
        {"http://cdn.vexo.test/r/", "http://cdn.vexo.test/r/"},
        {"http://patch.vexo-mirror.test/r/", "http://patch.vexo-mirror.test/r/"},
        {"http://PATCH.vexo.test/r/", "http://PATCH.vexo.test/r/"},
        {"HTTP://patch.vexo.test/r/", "HTTP://patch.vexo.test/r/"},
        {"https://patch.vexo.test/r/", "https://patch.vexo.test/r/"},
        {"http://patch.vexo.test", "http://patch.vexo.test"},
        {"http://patch.vexo.test.evil.test/r/", "http://patch.vexo.test.evil.test/r/"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(in);
        std::string url = in;
        forceHttpsPatchUrl(url);
        EXPECT_EQ(url, out);
    }
}

// One attempt's outcome, on a single-candidate request so that no further
// request is sent.
struct Outcome {
    int successes = 0;
    int failures = 0;
};

PatchRouteRequest singleCandidate(const std::string& url, bool accept, Outcome& outcome) {
    PatchRouteRequest request;
    request.candidates = std::make_shared<const std::vector<std::string>>(std::vector<std::string>{url});
    request.url = url;
    request.validator = [accept](const std::string& body) { return accept && body == "ok"; };
    request.onSuccess = [&outcome](engine::network::HttpClient*, engine::network::HttpResponse*) {
        ++outcome.successes;
    };
    request.onFail = [&outcome] { ++outcome.failures; };
    return request;
}

TEST_F(PatchRoute, ResponseNeedsTransfer200AndValidBody) {
    struct Case {
        const char* name;
        bool succeed;
        long status;
        bool accept;
        bool success;
    };
    const Case cases[] = {
        {"accepted", true, 200, true, true},
        {"transport error", false, 200, true, false},
        {"status 206", true, 206, true, false},
        {"status 404", true, 404, true, false},
        {"rejected body", true, 200, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::LogCapture log;
        Outcome outcome;
        PatchRouteRequest request = singleCandidate("https://elsewhere.test/a", c.accept, outcome);
        auto* http = new engine::network::HttpRequest();
        auto* response = new engine::network::HttpResponse(http);
        http->release();
        response->setSucceed(c.succeed);
        response->setResponseCode(c.status);
        response->getResponseData()->assign({'o', 'k'});
        patchRouteOnResponse(request, nullptr, response);
        response->release();
        EXPECT_EQ(outcome.successes, c.success ? 1 : 0);
        EXPECT_EQ(outcome.failures, c.success ? 0 : 1);
        if (!c.success) {
            EXPECT_TRUE(log.contains("PATCH_ROUTE failed https://elsewhere.test/a status=" +
                                     std::to_string(c.status) + " attempt=1"))
                << log.text();
        }
    }
}

TEST_F(PatchRoute, ValidatedReplyMovesThePreferredHost) {
    Outcome outcome;
    PatchRouteRequest request = singleCandidate("https://patch.vexo-mirror.test/a", true, outcome);
    auto* http = new engine::network::HttpRequest();
    auto* response = new engine::network::HttpResponse(http);
    http->release();
    response->setSucceed(true);
    response->setResponseCode(200);
    response->getResponseData()->assign({'o', 'k'});
    patchRouteOnResponse(request, nullptr, response);
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(patchRoutePreferred().load(), 1);
    EXPECT_EQ(patchRouteCandidates("http://cdn.vexo.test/a.zip").front(),
              "https://patch.vexo-mirror.test/a.zip");

    // A reply from another host leaves it alone.
    request = singleCandidate("https://elsewhere.test/a", true, outcome);
    patchRouteOnResponse(request, nullptr, response);
    response->release();
    EXPECT_EQ(patchRoutePreferred().load(), 1);
}

TEST_F(PatchRoute, StartWithoutValidatorFailsAtOnce) {
    testsupport::LogCapture log;
    int failures = 0;
    patchRouteStart("https://patch.vexo.test/list.json", nullptr, nullptr, [&] { ++failures; });
    EXPECT_EQ(failures, 1);
}

}  // namespace
