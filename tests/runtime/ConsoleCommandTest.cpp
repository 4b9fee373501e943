#include "runtime/ConsoleCommand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RuntimeTestSupport.h"
#include "engine/base/Director.h"
#include "engine/console/Console.h"
#include "engine/files/FileUtils.h"
#include "host/config/ConfigFileReader.h"
#include "platform/Socket.h"
#include "runtime/FileServer.h"
#include "runtime/RuntimeEngine.h"
#include "support/TestSupport.h"

using runtime::ConsoleCommand;
using runtime::FileServer;
using runtime::RuntimeEngine;
using namespace std::chrono_literals;

namespace {

// The reply's JSON text, or "<none>" when the request gets no reply.
std::string reply(const std::string& request) {
    std::string json;
    return ConsoleCommand::handleRequest(request, json) ? json : "<none>";
}

class ConsoleRequests : public testing::Test {
protected:
    void SetUp() override {
        files->setWritablePath(dir.path());
        writePath = FileServer::getShareInstance()->getWritePath();
    }
    void TearDown() override { FileServer::destroyInstance(); }

    testsupport::TempDir dir;
    engine::FileUtils* files = engine::FileUtils::getInstance();
    std::string writePath;
};

}  // namespace

TEST_F(ConsoleRequests, RepliesKeepMemberOrderAndEchoSeq) {
    host::ConfigFileReader::getInstance()->setEntryFile("src/main.lua");
    struct Case {
        const char* request;
        const char* reply;
    };
    const Case cases[] = {
        {R"({"cmd":"getversion","seq":7})", R"({"cmd":"getversion","seq":7,"body":{"version":"2.0"},"code":0})"},
        {R"({"seq":{"a":[1,{"b":null}]},"cmd":"getplatform"})",
         R"({"cmd":"getplatform","seq":{"a":[1,{"b":null}]},"body":{"platform":"WIN32"},"code":0})"},
        {R"({"cmd":"getEntryfile"})", R"({"cmd":"getEntryfile","body":{"entryfile":"src/main.lua"},"code":0})"},
        {R"({"cmd":"getIP","seq":"s"})", R"({"cmd":"getIP","seq":"s","body":{"IP":"127.0.0.1"},"code":0})"},
        {R"({"cmd":"usewritablepath"})", R"({"cmd":"usewritablepath","code":0})"},
        {R"({"cmd":"workdir"})", R"({"cmd":"workdir","code":0})"},
        {R"({"cmd":"workdir","path":5})", R"({"cmd":"workdir","code":0})"},
        {R"({"cmd":"writablePath","path":["x"]})", R"({"cmd":"writablePath","code":0})"},
        {R"({"cmd":"remove"})", R"({"cmd":"remove","code":0})"},
        {R"({"cmd":"remove","files":"a"})", R"({"cmd":"remove","code":0})"},
        {R"({"cmd":"start-logic","seq":1})", R"({"cmd":"start-logic","seq":1})"},
        {R"({"cmd":"nosuch","seq":[1]})", R"({"cmd":"nosuch","seq":[1]})"},
        {R"({"cmd":5,"seq":2})", R"({"cmd":5,"seq":2})"},
        {R"({"cmd":"GETVERSION"})", R"({"cmd":"GETVERSION"})"},
        {R"({"seq":1})", "<none>"},
        {R"([{"cmd":"getversion"}])", "<none>"},
        {R"("getversion")", "<none>"},
        {R"({"cmd":"getversion")", "<none>"},
        {"", "<none>"},
    };
    for (const Case& tc : cases) EXPECT_EQ(reply(tc.request), tc.reply) << tc.request;
}

TEST_F(ConsoleRequests, WorkdirAndWritablePathChangeTheEngine) {
    EXPECT_EQ(reply(R"({"cmd":"workdir","path":"/res/root"})"), R"({"cmd":"workdir","body":{"path":"/res/root"},"code":0})");
    EXPECT_EQ(files->getDefaultResourceRootPath(), "/res/root/");
    EXPECT_EQ(reply(R"({"cmd":"writablePath","path":"/wr"})"), R"({"cmd":"writablePath","body":{"path":"/wr"},"code":0})");
    EXPECT_EQ(files->getWritablePath(), "/wr/");
    // The file server keeps the folder it was created with.
    EXPECT_EQ(FileServer::getShareInstance()->getWritePath(), writePath);
}

TEST_F(ConsoleRequests, RemoveDeletesUploadedFilesAndReportsFailures) {
    FileServer* server = FileServer::getShareInstance();
    dir.write("debugruntime/a.lua", "a");
    dir.write("debugruntime/sub/b.lua", "b");
    dir.write("outside.txt", "keep");
    ASSERT_EQ(mkdir((writePath + "folder").c_str(), 0755), 0);
    server->addResFileInfo("a.lua", 1);
    server->addResFileInfo("gone.lua", 2);
    server->addResFileInfo("sub/b.lua", 3);

    EXPECT_EQ(reply(R"({"cmd":"remove","seq":3,"files":["a.lua","gone.lua",7,"sub/b.lua","folder","../outside.txt","/etc/hosts",""]})"),
              R"({"cmd":"remove","seq":3,"body":{"gone.lua":1,"folder":1,"../outside.txt":2,"/etc/hosts":2,"":2},"code":0})");
    EXPECT_NE(access((writePath + "a.lua").c_str(), F_OK), 0);
    EXPECT_NE(access((writePath + "sub/b.lua").c_str(), F_OK), 0);
    EXPECT_EQ(access(dir.file("outside.txt").c_str(), F_OK), 0);
    EXPECT_EQ(access((writePath + "folder").c_str(), F_OK), 0);   // files only

    // Entries of files that are gone leave the record.
    EXPECT_EQ(reply(R"({"cmd":"getfileinfo"})"), R"({"cmd":"getfileinfo","body":{},"code":0})");
}

TEST_F(ConsoleRequests, GetFileInfoIsACopyOfTheRecord) {
    FileServer::getShareInstance()->addResFileInfo("x.png", 99);
    const std::string expected = R"({"cmd":"getfileinfo","body":{"x.png":"99"},"code":0})";
    EXPECT_EQ(reply(R"({"cmd":"getfileinfo"})"), expected);
    EXPECT_EQ(reply(R"({"cmd":"getfileinfo"})"), expected);
}

TEST_F(ConsoleRequests, DebuggerCommandsReachTheStudioRuntime) {
    host::ProjectConfig config;
    config.setProjectDir("/p");
    config.setScriptFile("/p/scene.csd");
    RuntimeEngine::getInstance()->setProjectConfig(config);
    struct Case {
        const char* cmd;
        bool notSupported;
    };
    const Case cases[] = {{"start-logic", false}, {"clearcompile", true}, {"precompile", true}, {"reload", false}};
    for (const Case& tc : cases) {
        testsupport::LogCapture log;
        EXPECT_EQ(reply(std::string(R"({"cmd":")") + tc.cmd + "\"}"), std::string(R"({"cmd":")") + tc.cmd + "\"}");
        EXPECT_EQ(log.contains("NOT SUPPRT"), tc.notSupported) << tc.cmd;
    }
    EXPECT_NE(RuntimeEngine::getInstance()->getRuntime(), nullptr);   // set up by the first command
}

TEST_F(ConsoleRequests, ShutdownAppClosesTheProgram) {
    int closes = 0;
    RuntimeEngine::setHostHooks({nullptr, [&] { ++closes; }});
    EXPECT_EQ(reply(R"({"cmd":"shutdownapp","seq":9})"), R"({"cmd":"shutdownapp","seq":9})");
    EXPECT_EQ(closes, 1);
    RuntimeEngine::setHostHooks({});
}

TEST(ConsoleReplyFrame, ByteOneThenLengthAndColon) {
    EXPECT_EQ(ConsoleCommand::frameReply(R"({"cmd":"x"})"), std::string("\x01") + "11:" + R"({"cmd":"x"})");
}

namespace {

// The console and the file server started by init() on free ports.
class ConsoleOverLoopback : public testing::Test {
protected:
    void SetUp() override {
        files->setWritablePath(dir.file("w"));
        const int consolePort = runtimetest::freePort();
        dir.write("config.json", R"({"init_cfg":{"consolePort":)" + std::to_string(consolePort) +
                                     R"(,"uploadPort":)" + std::to_string(runtimetest::freePort()) + "}}");
        files->setSearchPaths({dir.path()});
        ConsoleCommand::getShareInstance()->init();
        client = platform::connectTcp("127.0.0.1", consolePort);
        ASSERT_GE(client, 0);
    }
    void TearDown() override {
        platform::closeSocket(client);
        ConsoleCommand::purge();
        FileServer::destroyInstance();
        engine::Director::destroyInstance();
    }
    void send(const std::string& text) { ASSERT_TRUE(platform::sendAll(client, text.data(), text.size())); }
    // Pumps the main thread until `n` bytes arrived (or the time is up).
    std::string receive(size_t n, std::chrono::milliseconds wait = 3000ms) {
        std::string got;
        testsupport::pumpMainThreadUntil(
            [&] {
                if (got.size() < n) got += runtimetest::receiveFor(client, 5ms, n - got.size());
                return got.size() >= n;
            },
            wait);
        return got;
    }
    static std::string framed(const std::string& json) { return ConsoleCommand::frameReply(json); }

    testsupport::TempDir dir;
    engine::FileUtils* files = engine::FileUtils::getInstance();
    int client = -1;
};

}  // namespace

TEST_F(ConsoleOverLoopback, RequestsArePipelinedAndAnsweredInOrder) {
    const std::string a = framed(R"({"cmd":"getversion","seq":1,"body":{"version":"2.0"},"code":0})");
    const std::string b = framed(R"({"cmd":"nosuch","seq":2})");
    const std::string c = framed(R"({"cmd":"getplatform","seq":3,"body":{"platform":"WIN32"},"code":0})");
    send("sendrequest {\"cmd\":\"getversion\",\"seq\":1}\r\nsendrequest not json\n"
         "sendrequest {\"seq\":5}\nsendrequest {\"cmd\":\"nosuch\",\"seq\":2}\n"
         "sendrequest {\"cmd\":\"getplatform\",\"seq\":3}\n");
    EXPECT_EQ(receive(a.size() + b.size() + c.size()), a + b + c);
    EXPECT_EQ(receive(1, 200ms), "");   // requests without a reply wrote nothing
}

TEST_F(ConsoleOverLoopback, HelpNamesTheCommandAndPurgeStopsIt) {
    send("help\n");
    std::string help = runtimetest::receiveFor(client, 1s);
    EXPECT_THAT(help, testing::HasSubstr("sendrequest\tsend command to runtime.Args[json format]"));
    send("sendrequest {\"cmd\":\"getversion\"}\n");
    std::this_thread::sleep_for(100ms);   // queued for the main thread, not yet run
    ConsoleCommand::purge();
    EXPECT_EQ(receive(1, 300ms), "<closed>");
}

TEST_F(ConsoleOverLoopback, ShutdownAppReachesTheHost) {
    int closes = 0;
    RuntimeEngine::setHostHooks({nullptr, [&] { ++closes; }});
    const std::string expected = framed(R"({"cmd":"shutdownapp"})");
    send("sendrequest {\"cmd\":\"shutdownapp\"}\n");
    EXPECT_EQ(receive(expected.size()), expected);
    EXPECT_EQ(closes, 1);
    RuntimeEngine::setHostHooks({});
}
