#include "engine/network/HttpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "platform/Paths.h"
#include "support/PatchHost.h"
#include "support/RawHttpServer.h"
#include "support/TestSupport.h"

using engine::Director;
using engine::network::HttpClient;
using engine::network::HttpRequest;
using engine::network::HttpResponse;
using testsupport::PatchHost;
using namespace std::chrono_literals;

namespace {

// What the callback saw.
struct Outcome {
    bool called = false;
    bool succeed = false;
    long code = 0;
    std::string body;
    std::string headers;
    std::string error;
    std::thread::id thread;
    HttpClient* client = nullptr;
    std::string requestUrl;
};

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { Director::getInstance(); }
    void TearDown() override {
        HttpClient::destroyInstance();
        Director::destroyInstance();
    }

    // Sends a request; the returned outcome fills in when the callback runs.
    std::shared_ptr<Outcome> send(const std::string& url, HttpRequest::Type type = HttpRequest::Type::GET,
                                  const std::vector<std::string>& headers = {}, const std::string& data = "") {
        auto outcome = std::make_shared<Outcome>();
        auto* request = new HttpRequest();
        request->setUrl(url);
        request->setRequestType(type);
        request->setHeaders(headers);
        if (!data.empty()) request->setRequestData(data.data(), data.size());
        request->setResponseCallback([outcome](HttpClient* client, HttpResponse* response) {
            outcome->called = true;
            outcome->succeed = response->isSucceed();
            outcome->code = response->getResponseCode();
            outcome->body = response->getResponseDataString();
            outcome->headers.assign(response->getResponseHeader()->begin(), response->getResponseHeader()->end());
            outcome->error = response->getErrorBuffer();
            outcome->thread = std::this_thread::get_id();
            outcome->client = client;
            outcome->requestUrl = response->getHttpRequest()->getUrl();
        });
        HttpClient::getInstance()->sendImmediate(request);
        request->release();
        return outcome;
    }

    // Runs main-loop updates until the callback has run or the time is up.
    static bool pumpUntilCalled(const Outcome& outcome, std::chrono::milliseconds timeout = 5000ms) {
        return testsupport::pumpMainThreadUntil([&] { return outcome.called; }, timeout);
    }

    std::shared_ptr<Outcome> fetch(const std::string& url, const std::vector<std::string>& headers = {}) {
        auto outcome = send(url, HttpRequest::Type::GET, headers);
        EXPECT_TRUE(pumpUntilCalled(*outcome)) << url;
        return outcome;
    }
};

// The shared loopback listener, with a failed set-up reported as a test failure.
struct RawHttpServer : testsupport::RawHttpServer {
    explicit RawHttpServer(std::string reply) : testsupport::RawHttpServer(std::move(reply)) {
        if (!listening()) ADD_FAILURE() << "cannot listen on loopback";
    }
};

const char kOkReply[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";

}  // namespace

TEST(HttpClientSettings, DefaultTimeoutsAndCaBundleBesideTheExecutable) {
    HttpClient* client = HttpClient::getInstance();
    EXPECT_EQ(client->getTimeoutForConnect(), 30);
    EXPECT_EQ(client->getTimeoutForRead(), 60);
    const std::string bundle = engine::network::caBundlePath();
    EXPECT_EQ(bundle, platform::executableDir() + "/cacert.pem");
    EXPECT_TRUE(std::ifstream(bundle).good()) << "the build puts the local CA there: " << bundle;
    HttpClient::destroyInstance();
}

TEST_F(HttpClientTest, GetDeliversBodyAndRawHeadersOnBothNamesAndPorts) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("dir/hello.txt", "hello patch");

    for (const std::string& url : {PatchHost::url(host.primaryPort(), "/dir/hello.txt"),
                                  PatchHost::url(host.secondaryPort(), "/dir/hello.txt", "127.0.0.1")}) {
        SCOPED_TRACE(url);
        auto outcome = fetch(url);
        EXPECT_TRUE(outcome->succeed) << outcome->error;
        EXPECT_EQ(outcome->code, 200);
        EXPECT_EQ(outcome->body, "hello patch");
        EXPECT_EQ(outcome->headers.rfind("HTTP/1.1 200", 0), 0u) << outcome->headers;
        EXPECT_NE(outcome->headers.find("Content-Length: 11\r\n"), std::string::npos);
        EXPECT_EQ(outcome->client, HttpClient::getInstance());
        EXPECT_EQ(outcome->requestUrl, url);
    }
}

TEST_F(HttpClientTest, HttpErrorStatusIsASucceededTransferWithItsCode) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.setFault(host.primaryPort(), "/broken.json", R"({"status": 500, "body": "oops"})");

    struct Case {
        const char* path;
        long code;
        const char* body;
    } cases[] = {
        {"/missing.txt", 404, "not found\n"},
        {"/%2e%2e/faults.json", 404, "not found\n"},   // beside the served folder
        {"/broken.json", 500, "oops"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto outcome = fetch(PatchHost::url(host.primaryPort(), c.path));
        EXPECT_TRUE(outcome->succeed) << outcome->error;
        EXPECT_EQ(outcome->code, c.code);
        EXPECT_EQ(outcome->body, c.body);
        EXPECT_TRUE(outcome->error.empty());
    }
}

TEST_F(HttpClientTest, ConnectionRefusedFailsWithoutStatus) {
    auto outcome = fetch(PatchHost::url(PatchHost::closedPort(), "/x"));
    EXPECT_FALSE(outcome->succeed);
    EXPECT_EQ(outcome->code, 0);
    EXPECT_FALSE(outcome->error.empty());
}

TEST_F(HttpClientTest, PeerNotSignedByTheBundledCaIsRefused) {
    PatchHost host(PatchHost::rogue());
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("list.json", "{}");

    auto outcome = fetch(PatchHost::url(host.primaryPort(), "/list.json"));
    EXPECT_FALSE(outcome->succeed);
    EXPECT_EQ(outcome->code, 0);
    EXPECT_FALSE(outcome->error.empty());
    EXPECT_TRUE(outcome->body.empty());
    EXPECT_TRUE(host.requests().empty()) << "no request may follow a refused handshake";
}

TEST_F(HttpClientTest, BrokenTransfersFailButKeepTheStatusThatArrived) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("pkg.zip", std::string(4000, 'z'));
    HttpClient::getInstance()->setTimeoutForRead(1);

    struct Case {
        const char* name;
        const char* fault;
        long code;   // 0: no status line arrived
    } cases[] = {
        {"reply later than the read time-out", R"({"delay": 2})", 0},
        {"body slower than the read time-out", R"({"throttle": 1000})", 200},
        {"connection dropped mid-body", R"({"close_after": 1000})", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.setFault("*", "/pkg.zip", c.fault);
        const auto start = std::chrono::steady_clock::now();
        auto outcome = fetch(PatchHost::url(host.secondaryPort(), "/pkg.zip"));
        EXPECT_FALSE(outcome->succeed);
        EXPECT_EQ(outcome->code, c.code);
        EXPECT_FALSE(outcome->error.empty());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1900ms);
    }
}

TEST_F(HttpClientTest, CallbackRunsOnTheMainThreadOnlyWhenTheLoopPumps) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("a.txt", "a");
    engine::Scheduler* scheduler = Director::getInstance()->getScheduler();

    auto outcome = send(PatchHost::url(host.primaryPort(), "/a.txt"));
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (scheduler->pendingFunctionCount() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(scheduler->pendingFunctionCount(), 1u);
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(outcome->called);

    scheduler->update(1.0f / 60);
    ASSERT_TRUE(outcome->called);
    EXPECT_EQ(outcome->thread, std::this_thread::get_id());
    EXPECT_EQ(outcome->code, 200);
}

TEST_F(HttpClientTest, RequestIsHeldUntilItsCallbackHasRun) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("a.txt", "a");

    auto* request = new HttpRequest();
    request->setUrl(PatchHost::url(host.primaryPort(), "/a.txt"));
    request->setRequestType(HttpRequest::Type::GET);
    unsigned int countInCallback = 0;
    bool called = false;
    request->setResponseCallback([&](HttpClient*, HttpResponse*) {
        called = true;
        countInCallback = request->getReferenceCount();
    });
    HttpClient::getInstance()->sendImmediate(request);
    EXPECT_EQ(request->getReferenceCount(), 2u);

    testsupport::pumpMainThreadUntil([&] { return called; }, 5s);
    ASSERT_TRUE(called);
    EXPECT_EQ(countInCallback, 2u);
    EXPECT_EQ(request->getReferenceCount(), 1u);
    request->release();
}

TEST_F(HttpClientTest, DestroyAbandonsTransfersAndDropsTheirCallbacks) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("slow.txt", "slow");
    host.writeFile("big.bin", std::string(400000, 'b'));
    host.setFault("*", "/slow.txt", R"({"delay": 30})");
    host.setFault("*", "/big.bin", R"({"throttle": 20000})");

    auto waiting = send(PatchHost::url(host.primaryPort(), "/slow.txt"));
    auto trickling = send(PatchHost::url(host.primaryPort(), "/big.bin"));
    testsupport::pumpMainThreadUntil([&] { return host.requests().size() == 2; }, 5s);
    ASSERT_EQ(host.requests().size(), 2u);
    const auto start = std::chrono::steady_clock::now();
    HttpClient::destroyInstance();
    // Neither the reply 30 s away nor the transfer of 20 s is waited for.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    // Both transfers have ended and handed their responses over; nothing may call
    // back into the destroyed client.
    EXPECT_EQ(Director::getInstance()->getScheduler()->pendingFunctionCount(), 2u);
    Director::getInstance()->getScheduler()->update(1.0f / 60);
    EXPECT_FALSE(waiting->called);
    EXPECT_FALSE(trickling->called);
}

TEST_F(HttpClientTest, ThreadsMaySendAtTheSameTime) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("x", "ok");
    const std::string url = PatchHost::url(host.primaryPort(), "/x");
    constexpr int kPerThread = 20;
    std::vector<std::shared_ptr<Outcome>> outcomes[2];
    std::thread senders[2];
    for (int t = 0; t < 2; ++t)
        senders[t] = std::thread([&, t] {
            for (int i = 0; i < kPerThread; ++i) outcomes[t].push_back(send(url));
        });
    for (std::thread& sender : senders) sender.join();
    ASSERT_TRUE(testsupport::pumpMainThreadUntil(
        [&] {
            for (const auto& list : outcomes)
                for (const auto& o : list)
                    if (!o->called) return false;
            return true;
        },
        10s));
    for (const auto& list : outcomes)
        for (const auto& o : list) EXPECT_EQ(o->body, "ok");
    EXPECT_EQ(host.requests().size(), 2u * kPerThread);
}

TEST_F(HttpClientTest, RangeRequestsGetPartialContentOrNotSatisfiable) {
    PatchHost host;
    ASSERT_TRUE(host.ready()) << host.error();
    host.writeFile("pkg.zip", "0123456789");

    struct Case {
        const char* range;
        long code;
        const char* body;
        const char* contentRange;
    } cases[] = {
        {"bytes=4-", 206, "456789", "Content-Range: bytes 4-9/10\r\n"},
        {"bytes=9-", 206, "9", "Content-Range: bytes 9-9/10\r\n"},
        {"bytes=10-", 416, "", "Content-Range: bytes */10\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        auto outcome = fetch(PatchHost::url(host.primaryPort(), "/pkg.zip"), {std::string("Range: ") + c.range});
        EXPECT_TRUE(outcome->succeed) << outcome->error;
        EXPECT_EQ(outcome->code, c.code);
        EXPECT_EQ(outcome->body, c.body);
        EXPECT_NE(outcome->headers.find(c.contentRange), std::string::npos) << outcome->headers;
        ASSERT_FALSE(host.requests().empty());
        EXPECT_EQ(host.requests().back().range, c.range);
    }
}

TEST_F(HttpClientTest, MethodsSendTheirBodyAndHeaders) {
    struct Case {
        HttpRequest::Type type;
        const char* method;
        std::string data;
    } cases[] = {
        {HttpRequest::Type::GET, "GET", ""},
        {HttpRequest::Type::POST, "POST", "a=1&b=two"},
        {HttpRequest::Type::POST, "POST", ""},
        {HttpRequest::Type::PUT, "PUT", std::string("bin\0ary", 7)},
        {HttpRequest::Type::DELETE, "DELETE", "id=7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method + (" " + c.data));
        RawHttpServer server(kOkReply);
        auto outcome = send(server.url("/api"), c.type, {"X-Vexo-Test: yes"}, c.data);
        ASSERT_TRUE(pumpUntilCalled(*outcome));
        EXPECT_TRUE(outcome->succeed) << outcome->error;
        EXPECT_EQ(outcome->body, "ok");

        const std::vector<std::string> received = server.requests();
        ASSERT_EQ(received.size(), 1u);
        const std::string& raw = received[0];
        EXPECT_EQ(raw.rfind(std::string(c.method) + " /api HTTP/1.1\r\n", 0), 0u) << raw;
        EXPECT_NE(raw.find("\r\nX-Vexo-Test: yes\r\n"), std::string::npos) << raw;
        EXPECT_EQ(raw.substr(raw.find("\r\n\r\n") + 4), c.data);
    }
}

TEST_F(HttpClientTest, RedirectsAreNotFollowed) {
    RawHttpServer server("HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 0\r\n"
                         "Connection: close\r\n\r\n");
    auto outcome = send(server.url("/old"));
    ASSERT_TRUE(pumpUntilCalled(*outcome));
    EXPECT_TRUE(outcome->succeed);
    EXPECT_EQ(outcome->code, 302);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(HttpClientTest, RequestWithoutATypeFailsWithoutATransfer) {
    RawHttpServer server(kOkReply);
    auto outcome = send(server.url("/x"), HttpRequest::Type::UNKNOWN);
    ASSERT_TRUE(pumpUntilCalled(*outcome));
    EXPECT_FALSE(outcome->succeed);
    EXPECT_EQ(outcome->code, 0);
    EXPECT_FALSE(outcome->error.empty());
    EXPECT_TRUE(server.requests().empty());
}
