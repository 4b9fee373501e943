// The remote console as scripts drive it, over real loopback connections.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "BindingTestSupport.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/console/Console.h"
#include "platform/Socket.h"
#include "scripting/LuaObjectConversions.h"
#include "support/SocketSupport.h"

namespace bindingtest {
namespace {

using namespace std::chrono_literals;

class ConsoleBindingTest : public LuaEngineBindingTest {
protected:
    void TearDown() override {
        if (_client >= 0) platform::closeSocket(_client);
        engine::Director::destroyInstance();
        LuaEngineBindingTest::TearDown();
    }
    engine::Scheduler* scheduler() { return engine::Director::getInstance()->getScheduler(); }
    // Runs the main thread's queued work until `done` holds or two seconds pass.
    template <class Done>
    bool pumpUntil(Done done) {
        for (auto end = std::chrono::steady_clock::now() + 2s; std::chrono::steady_clock::now() < end;) {
            scheduler()->update(0.f);
            if (done()) return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }
    void connect(int port) {
        _client = platform::connectTcp("127.0.0.1", port);
        ASSERT_GE(_client, 0);
    }
    void sendLine(const std::string& text) { ASSERT_TRUE(platform::sendAll(_client, text.data(), text.size())); }
    int _client = -1;
};

TEST_F(ConsoleBindingTest, ScriptCommandAnswersItsClientFromTheMainThread) {
    ASSERT_EQ(run("calls = {}\n"
                  "console = cc.Director:getInstance():getConsole()\n"
                  "local same = console:addCommand({name = 'hi', help = 'says hi'}, function(fd, args)\n"
                  "  calls[#calls + 1] = args\n"
                  "  console:send(fd, '<' .. args .. '>\\0!')\n"
                  "end)\n"
                  "console:addCommand({name = 'nohelp'}, function() end)\n"
                  "console:addCommand({name = 'notfunction', help = 'h'}, 5)\n"
                  "assert(same == console)\n"
                  "assert(console:listenOnTCP(0))"),
              "");
    engine::Console* console = engine::Director::getInstance()->getConsole();
    connect(console->getListenPort());
    sendLine("hi  a  b \r\nnotfunction x\nhi\nhelp\n");
    ASSERT_TRUE(pumpUntil([&] { return eval("#calls") == "2"; }));
    EXPECT_EQ(eval("calls[1]"), "a  b ");
    EXPECT_EQ(eval("calls[2]"), "");
    const std::string received = testsupport::receiveFor(_client, 2s);
    EXPECT_NE(received.find(std::string("<a  b >\0!<>\0!", 13)), std::string::npos) << received;
    EXPECT_NE(received.find("\thi\tsays hi\n"), std::string::npos);
    EXPECT_NE(received.find("\tnohelp\t\n"), std::string::npos);
    EXPECT_EQ(run("console:stop()"), "");
    EXPECT_FALSE(console->isListening());
}

TEST_F(ConsoleBindingTest, SendWritesOnlyToTheConsolesOwnClients) {
    engine::Console other;
    ASSERT_TRUE(other.listenOnTCP(0));
    connect(other.getListenPort());
    // The descriptor the other console serves the client on.
    int served = -1;
    for (auto end = std::chrono::steady_clock::now() + 2s; served < 0 && std::chrono::steady_clock::now() < end;) {
        for (int fd = 3; fd < 4096 && served < 0; ++fd)
            if (other.clientSerial(fd) != 0) served = fd;
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_GE(served, 0);
    // The script's console has no client at all: no descriptor is its own.
    const std::string descriptors[] = {std::to_string(served), std::to_string(_client), "0", "1", "-1", "99999"};
    for (const std::string& fd : descriptors) {
        EXPECT_EQ(run("cc.Director:getInstance():getConsole():send(" + fd + ", 'leak')"), "") << fd;
    }
    EXPECT_EQ(testsupport::receiveFor(_client, 200ms), "");
    other.stop();
}

TEST_F(ConsoleBindingTest, WrongCountsAndBadArgumentsAreRefused) {
    ASSERT_EQ(run("console = cc.Director:getInstance():getConsole()"), "");
    struct Case {
        const char* chunk;
        const char* error;
    };
    const Case cases[] = {
        {"console:addCommand({name = 'x'})", "cc.Console:addCommand has wrong number of arguments: 1, was expecting 2"},
        {"console:send(1)", "cc.Console:send has wrong number of arguments: 1, was expecting 2"},
        {"console:send(1, 'a', 'b')", "cc.Console:send has wrong number of arguments: 3, was expecting 2"},
        {"console:wait()", "cc.Console:wait has wrong number of arguments: 0, was expecting 1"},
        {"cc.Console.wait(nil, 0)", "invalid 'self' in function 'cc.Console:wait'"},
        {"cc.Console.send({}, 1, 'a')", "invalid 'self' in function 'cc.Console:send'"},
        {"assert(console:addCommand(7, function() end) == console)", ""},
        {"console:send('x', 'a')", ""},
        {"console:wait(0)", ""},
        {"console:wait(-3)", ""},
        {"console:wait('soon')", ""},
    };
    for (const Case& tc : cases) {
        const std::string error = run(tc.chunk);
        if (*tc.error == '\0') {
            EXPECT_EQ(error, "") << tc.chunk;
        } else {
            EXPECT_NE(error.find(tc.error), std::string::npos) << tc.chunk << " -> " << error;
        }
    }
}

TEST_F(ConsoleBindingTest, ConsoleDestroyedWithACommandInFlightRunsNothing) {
    auto console = std::make_unique<engine::Console>();
    luaconv_push_usertype(L, "cc.Console", console.get());
    lua_setglobal(L, "mine");
    ASSERT_EQ(run("ran = false\n"
                  "mine:addCommand({name = 'go'}, function() ran = true end)\n"
                  "assert(mine:listenOnTCP(0))"),
              "");
    connect(console->getListenPort());
    sendLine("go now\n");
    // The line is read on the console's thread and queued for the main thread.
    for (auto end = std::chrono::steady_clock::now() + 2s;
         scheduler()->pendingFunctionCount() == 0 && std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_GE(scheduler()->pendingFunctionCount(), 1u);
    console.reset();
    scheduler()->update(0.f);
    EXPECT_EQ(eval("ran"), "false");
    EXPECT_EQ(testsupport::receiveFor(_client, 100ms), "<closed>");
}

}  // namespace
}  // namespace bindingtest
