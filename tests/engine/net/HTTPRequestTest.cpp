#include "engine/network/extra/HTTPRequest.h"

#include <zlib.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"

using engine::Director;
using engine::extra::HTTPRequest;
using engine::extra::HTTPRequestListener;
using testsupport::PatchHost;
using namespace std::chrono_literals;

namespace {

class Listener : public HTTPRequestListener {
public:
    void onRequestFinished(HTTPRequest* request) override { record(request, true); }
    void onRequestFailed(HTTPRequest* request) override { record(request, false); }
    int calls = 0;
    bool finished = false;
    std::thread::id thread;

private:
    void record(HTTPRequest*, bool ok) {
        ++calls;
        finished = ok;
        thread = std::this_thread::get_id();
    }
};

std::string gzip(const std::string& text) {
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    std::string out(text.size() + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

class HTTPRequestTest : public ::testing::Test {
protected:
    void SetUp() override { Director::getInstance(); }
    void TearDown() override { Director::destroyInstance(); }

    // Creates (retained by the test), lets `setup` configure, starts, and pumps until
    // the transfer has ended and the request has dropped its own reference.
    HTTPRequest* run(const std::string& url, int method, const std::function<void(HTTPRequest*)>& setup = {},
                     HTTPRequestListener* listener = nullptr) {
        HTTPRequest* request = HTTPRequest::createWithUrl(listener ? listener : &_listener, url, method);
        if (!request) return nullptr;
        request->retain();
        _held.push_back(request);
        if (setup) setup(request);
        EXPECT_TRUE(request->start());
        EXPECT_TRUE(testsupport::pumpMainThreadUntil([&] { return request->getReferenceCount() == 2; }, 20s))
            << url;   // ours and the autorelease pool's
        return request;
    }
    ~HTTPRequestTest() override {
        for (HTTPRequest* r : _held) r->release();
    }

    Listener _listener;
    std::vector<HTTPRequest*> _held;
};

TEST_F(HTTPRequestTest, GetDeliversBodyHeadersAndOneCallbackOnTheMainThread) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("hello.txt", "hello, world");
    HTTPRequest* request = run(PatchHost::url(host.primaryPort(), "/hello.txt"), HTTPRequest::kGET,
                               [](HTTPRequest* r) { r->addRequestHeader("X-Vexo-Test: yes"); });
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->getState(), HTTPRequest::kCompleted);
    EXPECT_EQ(_listener.calls, 1);
    EXPECT_TRUE(_listener.finished);
    EXPECT_EQ(_listener.thread, std::this_thread::get_id());
    EXPECT_EQ(request->getErrorCode(), 0);
    EXPECT_EQ(request->getErrorMessage(), "");
    EXPECT_EQ(request->getResponseCode(), 200);
    EXPECT_EQ(request->getResponseString(), "hello, world");
    EXPECT_EQ(request->getResponseDataLength(), 12u);
    auto copy = request->getResponseData();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(copy.get()), 12), "hello, world");
    const auto headers = request->getResponseHeaders();
    ASSERT_FALSE(headers.empty());
    EXPECT_EQ(headers.front(), "HTTP/1.1 200 OK\r\n");
    EXPECT_NE(request->getResponseHeadersString().find("Content-Length: 12\r\n"), std::string::npos);

    const auto seen = host.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "GET");
    EXPECT_EQ(seen[0].header("X-Vexo-Test"), "yes");
    EXPECT_EQ(seen[0].header("User-Agent"), "libcurl");
    EXPECT_FALSE(Director::getInstance()->getScheduler()->isUpdateScheduled(request));
}

TEST_F(HTTPRequestTest, PostFieldsGoInKeyOrderEscapedWithATrailingAmpersand) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("post", "ok");
    struct Case {
        std::vector<std::pair<std::string, std::string>> fields;
        std::string body;
    };
    const Case cases[] = {
        {{{"b", "2"}, {"a", "1"}}, "a=1&b=2&"},
        {{{"a", "1"}, {"a", "3"}}, "a=3&"},
        {{{"sp ce", "x&y=z"}, {"B", ""}, {"ü", "/?"}}, "B=&sp%20ce=x%26y%3Dz&%C3%BC=%2F%3F&"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        HTTPRequest* request = run(PatchHost::url(host.primaryPort(), "/post"), HTTPRequest::kPOST,
                                   [&](HTTPRequest* r) {
                                       for (const auto& [k, v] : c.fields) r->addPOSTValue(k, v);
                                   });
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->getResponseString(), "ok");
        const auto seen = host.requests();
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back().method, "POST");
        EXPECT_EQ(seen.back().body, c.body);
    }

    HTTPRequest* raw = run(PatchHost::url(host.primaryPort(), "/post"), HTTPRequest::kGET, [](HTTPRequest* r) {
        r->addPOSTValue("dropped", "1");
        r->setPOSTData("{\"raw\":true}");
    });
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(host.requests().back().method, "POST");
    EXPECT_EQ(host.requests().back().body, "{\"raw\":true}");
}

TEST_F(HTTPRequestTest, CookiesGoBothWays) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("c", "");
    host.setFault("*", "/c", R"({"headers": [["Set-Cookie", "token=xyz; Path=/"], ["Set-Cookie", "lang=vi"]]})");
    HTTPRequest* request = run(PatchHost::url(host.primaryPort(), "/c"), HTTPRequest::kGET,
                               [](HTTPRequest* r) { r->setCookieString("sid=abc; theme=dark"); });
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(host.requests().back().header("Cookie"), "sid=abc; theme=dark");
    const std::string cookies = request->getResponseCookies();
    EXPECT_NE(cookies.find("\ttoken\txyz\n"), std::string::npos) << cookies;
    EXPECT_NE(cookies.find("\tlang\tvi\n"), std::string::npos) << cookies;
    EXPECT_EQ(cookies.back(), '\n');
}

TEST_F(HTTPRequestTest, HeadersAndCookiesWithControlCharactersAreRefused) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("h", "");
    struct Case {
        std::function<void(HTTPRequest*)> call;
        const char* message;   // "": accepted
    };
    const Case cases[] = {
        {[](HTTPRequest* r) { r->addRequestHeader("X-A: 1\r\nX-Injected: 1"); }, "addRequestHeader() - invalid header"},
        {[](HTTPRequest* r) { r->addRequestHeader("X-B: 1\nX-Injected: 1"); }, "addRequestHeader() - invalid header"},
        {[](HTTPRequest* r) { r->addRequestHeader(std::string("X-C: a\0b", 8)); }, "addRequestHeader() - invalid header"},
        {[](HTTPRequest* r) { r->addRequestHeader("X\tD: 1"); }, "addRequestHeader() - invalid header"},
        {[](HTTPRequest* r) { r->addRequestHeader("X-E: \x7f"); }, "addRequestHeader() - invalid header"},
        {[](HTTPRequest* r) { r->setCookieString("sid=1\r\nX-Injected: 1"); }, "setCookieString() - invalid cookie"},
        {[](HTTPRequest* r) { r->addRequestHeader("X-Kept: a\tb"); }, ""},
    };
    HTTPRequest* request = run(PatchHost::url(host.primaryPort(), "/h"), HTTPRequest::kGET, [&](HTTPRequest* r) {
        for (const Case& c : cases) {
            testsupport::LogCapture one;
            c.call(r);
            if (*c.message) {
                EXPECT_TRUE(one.contains(std::string("Assert failed: HTTPRequest::") + c.message)) << one.text();
            } else {
                EXPECT_FALSE(one.contains("Assert failed")) << one.text();
            }
        }
    });
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->getState(), HTTPRequest::kCompleted);
    const auto seen = host.requests().back();
    EXPECT_EQ(seen.header("X-Kept"), "a\tb");
    for (const char* name : {"X-Injected", "X-A", "X-B", "X-C", "X-E", "Cookie"}) {
        EXPECT_EQ(seen.header(name), "") << name;
    }
}

TEST_F(HTTPRequestTest, EncodingsAreAskedForAndDecoded) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    const std::string text(5000, 'z');
    host.writeFile("z.gz", gzip(text));
    host.setFault("*", "/z.gz", R"({"headers": [["Content-Encoding", "gzip"]]})");
    struct Case {
        int kind;
        const char* header;
    };
    for (const Case& c : {Case{1, "gzip"}, Case{2, "deflate"}, Case{0, "identity"}, Case{7, "identity"}}) {
        HTTPRequest* request = run(PatchHost::url(host.primaryPort(), "/z.gz"), HTTPRequest::kGET,
                                   [&](HTTPRequest* r) { r->setAcceptEncoding(c.kind); });
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(host.requests().back().header("Accept-Encoding"), c.header);
        EXPECT_EQ(request->getResponseString(), text) << c.kind;   // decoded whatever was asked
    }
}

TEST_F(HTTPRequestTest, MultipartFormWithAFile) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("upload", "stored");
    testsupport::TempDir dir;
    const std::string file = dir.write("report.txt", "line one\nline two\n");
    HTTPRequest* request = run(PatchHost::url(host.primaryPort(), "/upload"), HTTPRequest::kPOST,
                               [&](HTTPRequest* r) {
                                   r->addFormContents("player", "vexo");
                                   r->addFormFile("log", file, "text/plain");
                               });
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->getResponseString(), "stored");
    const auto seen = host.requests().back();
    EXPECT_EQ(seen.header("Content-Type").rfind("multipart/form-data; boundary=", 0), 0u);
    for (const char* part : {"name=\"player\"\r\n\r\nvexo\r\n", "name=\"log\"; filename=\"report.txt\"",
                             "Content-Type: text/plain\r\n\r\nline one\nline two\n\r\n"}) {
        EXPECT_NE(seen.body.find(part), std::string::npos) << part << "\n" << seen.body;
    }
}

TEST_F(HTTPRequestTest, StatusRepliesCompleteAndEmptyBodiesSaveEmptyFiles) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("empty", "");
    host.writeFile("data.bin", std::string("a\0b\xff", 4));
    testsupport::TempDir dir;

    HTTPRequest* missing = run(PatchHost::url(host.primaryPort(), "/missing"), HTTPRequest::kGET);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->getState(), HTTPRequest::kCompleted);
    EXPECT_TRUE(_listener.finished);
    EXPECT_EQ(missing->getResponseCode(), 404);

    HTTPRequest* empty = run(PatchHost::url(host.primaryPort(), "/empty"), HTTPRequest::kGET);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->getResponseString(), "");
    EXPECT_EQ(empty->getResponseDataLength(), 0u);
    testsupport::TempDir out;
    const std::string saved = out.write("empty.out", "old content");
    EXPECT_EQ(empty->saveResponseData(saved), 0u);
    EXPECT_EQ(testsupport::readFile(saved), "");

    HTTPRequest* binary = run(PatchHost::url(host.primaryPort(), "/data.bin"), HTTPRequest::kGET);
    ASSERT_NE(binary, nullptr);
    EXPECT_EQ(binary->saveResponseData(out.file("data.out")), 4u);
    EXPECT_EQ(testsupport::readFile(out.file("data.out")), std::string("a\0b\xff", 4));

    testsupport::LogCapture log;
    EXPECT_EQ(binary->saveResponseData(out.file("no/such/folder/x")), 0u);
    EXPECT_TRUE(log.contains("Assert failed: HTTPRequest::saveResponseData() - open file failure"));
    EXPECT_EQ(binary->saveResponseData("/dev/full"), 0u);   // short write
    EXPECT_TRUE(log.contains("short write"));
    EXPECT_EQ(_listener.calls, 3);
}

TEST_F(HTTPRequestTest, TransportFailuresEndFailed) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("slow", "late");
    host.setFault("*", "/slow", R"({"delay": 3})");
    struct Case {
        std::string url;
        int timeout;
        int error;
    };
    const Case cases[] = {
        {PatchHost::url(PatchHost::closedPort(), "/x"), 0, CURLE_COULDNT_CONNECT},
        {PatchHost::url(host.primaryPort(), "/slow"), 1, CURLE_OPERATION_TIMEDOUT},
    };
    for (const Case& c : cases) {
        Listener listener;
        HTTPRequest* request = run(c.url, HTTPRequest::kGET, [&](HTTPRequest* r) {
            if (c.timeout) r->setTimeout(c.timeout);
        }, &listener);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->getState(), HTTPRequest::kFailed) << c.url;
        EXPECT_EQ(request->getErrorCode(), c.error) << c.url;
        EXPECT_EQ(request->getErrorMessage(), curl_easy_strerror(static_cast<CURLcode>(c.error)));
        EXPECT_EQ(listener.calls, 1);
        EXPECT_FALSE(listener.finished);
    }
}

TEST_F(HTTPRequestTest, AForeignCertificateIsRefused) {
    PatchHost host(PatchHost::rogue());
    ASSERT_TRUE(host.ready());
    host.writeFile("a", "secret");
    HTTPRequest* request = run(PatchHost::url(host.primaryPort(), "/a"), HTTPRequest::kGET);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->getState(), HTTPRequest::kFailed);
    EXPECT_EQ(request->getErrorCode(), CURLE_PEER_FAILED_VERIFICATION);
    EXPECT_FALSE(_listener.finished);
}

TEST_F(HTTPRequestTest, CancelMidTransferStopsItAndTellsNobody) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("big", std::string(400000, 'x'));
    host.setFault("*", "/big", R"({"throttle": 40000})");
    HTTPRequest* request = HTTPRequest::createWithUrl(&_listener, PatchHost::url(host.primaryPort(), "/big"),
                                                      HTTPRequest::kGET);
    ASSERT_NE(request, nullptr);
    request->retain();
    _held.push_back(request);
    ASSERT_TRUE(request->start());
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return !host.requests().empty(); }, 10s));
    testsupport::pumpMainThreadUntil([] { return false; }, 300ms);
    EXPECT_EQ(request->getState(), HTTPRequest::kInProgress);
    const auto started = std::chrono::steady_clock::now();
    request->cancel();
    EXPECT_EQ(request->getState(), HTTPRequest::kCancelled);
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return request->getReferenceCount() == 2; }, 10s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);   // well before the 10 s transfer ends
    EXPECT_EQ(request->getState(), HTTPRequest::kCancelled);      // not overwritten by the failure
    EXPECT_EQ(request->getErrorCode(), CURLE_ABORTED_BY_CALLBACK);
    EXPECT_EQ(_listener.calls, 0);

    // Cancelling an idle request: nothing to start any more.
    HTTPRequest* idle = HTTPRequest::createWithUrl(&_listener, "https://localhost:1/", HTTPRequest::kGET);
    idle->cancel();
    EXPECT_EQ(idle->getState(), HTTPRequest::kCancelled);
    testsupport::LogCapture log;
    EXPECT_FALSE(idle->start());
    EXPECT_TRUE(log.contains("Assert failed: HTTPRequest::start() - request not idle"));
}

TEST_F(HTTPRequestTest, WithoutAListenerItStillRunsAndReleasesItself) {
    PatchHost host;
    ASSERT_TRUE(host.ready());
    host.writeFile("t", "x");
    HTTPRequest* request = HTTPRequest::createWithUrl(nullptr, PatchHost::url(host.primaryPort(), "/t"),
                                                      HTTPRequest::kPOST);
    ASSERT_NE(request, nullptr);
    request->addPOSTValue("event", "start");
    request->addPOSTValue("guid", "00-1A");
    ASSERT_TRUE(request->start());
    EXPECT_EQ(request->getReferenceCount(), 2u);   // the pool's and its own
    request->retain();
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return request->getReferenceCount() == 2; }, 10s));
    EXPECT_EQ(request->getState(), HTTPRequest::kCompleted);
    EXPECT_EQ(host.requests().back().body, "event=start&guid=00-1A&");
    request->release();
}

TEST_F(HTTPRequestTest, BrokenPreconditionsAreReportedAndChangeNothing) {
    testsupport::LogCapture log;
    EXPECT_EQ(HTTPRequest::createWithUrl(&_listener, "", HTTPRequest::kGET), nullptr);
    EXPECT_TRUE(log.contains("Assert failed: HTTPRequest::initWithUrl() - invalid url"));

    HTTPRequest* idle = HTTPRequest::createWithUrl(&_listener, "https://localhost:1/", HTTPRequest::kGET);
    ASSERT_NE(idle, nullptr);
    struct Case {
        std::function<void(HTTPRequest*)> call;
        const char* message;
    };
    const Case idleCases[] = {
        {[](HTTPRequest* r) { r->addPOSTValue("", "v"); }, "HTTPRequest::addPOSTValue() - invalid key"},
        {[](HTTPRequest* r) { r->addRequestHeader(""); }, "HTTPRequest::addRequestHeader() - invalid header"},
        {[](HTTPRequest* r) { r->setRequestUrl(""); }, "HTTPRequest::setRequestUrl() - invalid url"},
        {[](HTTPRequest* r) { r->getResponseString(); }, "HTTPRequest::getResponseString() - request not completed"},
        {[](HTTPRequest* r) { r->getResponseHeaders(); }, "HTTPRequest::getResponseHeaders() - request not completed"},
        {[](HTTPRequest* r) { r->getResponseData(); }, "HTTPRequest::getResponseData() - request not completed"},
        {[](HTTPRequest* r) { r->getResponseDataLength(); }, "Request not completed"},
        {[](HTTPRequest* r) { r->getResponseCookies(); }, "HTTPRequest::getResponseCookies() - request not completed"},
        {[](HTTPRequest* r) { r->saveResponseData("/tmp/x"); }, "HTTPRequest::saveResponseData() - request not completed"},
    };
    for (const Case& c : idleCases) {
        testsupport::LogCapture one;
        c.call(idle);
        EXPECT_TRUE(one.contains(std::string("Assert failed: ") + c.message)) << c.message << one.text();
    }
    EXPECT_EQ(idle->getRequestUrl(), "https://localhost:1/");

    idle->start();   // fails to connect; setters are refused from now on
    const Case runningCases[] = {
        {[](HTTPRequest* r) { r->addPOSTValue("k", "v"); }, "HTTPRequest::addPOSTValue() - request not idle"},
        {[](HTTPRequest* r) { r->addRequestHeader("A: b"); }, "HTTPRequest::addRequestHeader() - request not idle"},
        {[](HTTPRequest* r) { r->setPOSTData("x"); }, "HTTPRequest::setPOSTData() - request not idle"},
        {[](HTTPRequest* r) { r->setAcceptEncoding(1); }, "HTTPRequest::setAcceptEncoding() - request not idle"},
        {[](HTTPRequest* r) { r->setTimeout(3); }, "HTTPRequest::setTimeout() - request not idle"},
        {[](HTTPRequest* r) { r->setCookieString("a=b"); }, "HTTPRequest::setCookieString() - request not idle"},
        {[](HTTPRequest* r) { r->setRequestUrl("https://x/"); }, "HTTPRequest::setRequestUrl() - request not idle"},
        {[](HTTPRequest* r) { r->addFormContents("a", "b"); }, "HTTPRequest::addFormContents() - request not idle"},
        {[](HTTPRequest* r) { r->start(); }, "HTTPRequest::start() - request not idle"},
    };
    for (const Case& c : runningCases) {
        testsupport::LogCapture one;
        c.call(idle);
        EXPECT_TRUE(one.contains(std::string("Assert failed: ") + c.message)) << c.message << one.text();
    }
    EXPECT_EQ(idle->getRequestUrl(), "https://localhost:1/");
    idle->retain();
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return idle->getReferenceCount() == 2; }, 15s));
    EXPECT_EQ(idle->getState(), HTTPRequest::kFailed);
    idle->release();
}

}  // namespace
