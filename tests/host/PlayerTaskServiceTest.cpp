#include "host/player/PlayerTaskServiceWin.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "host/player/TaskOutputDecoder.h"
#include "support/TestSupport.h"

namespace {

using namespace std::chrono_literals;
using player::PlayerTask;
using player::PlayerTaskServiceWin;

TEST(TaskOutputDecoderTest, InvalidBytesBecomeReplacementsAndSplitSequencesStayWhole) {
    const std::string R = "\xEF\xBF\xBD";
    struct Case {
        std::vector<std::string> pieces;
        std::string text;
    };
    const Case cases[] = {
        {{"plain ascii"}, "plain ascii"},
        {{"\xE1\xBA", "\xA1"}, "\xE1\xBA\xA1"},                 // 3-byte split after two
        {{"\xF0", "\x9F", "\x98", "\x80!"}, "\xF0\x9F\x98\x80!"}, // 4-byte split in every place
        {{"a\xFF" "b"}, "a" + R + "b"},
        {{"\xC0\xAF"}, R + R},                 // overlong
        {{"\xED\xA0\x80"}, R + R + R},         // surrogate
        {{"\xF4\x90\x80\x80"}, R + R + R + R}, // past U+10FFFF
        {{"\xE1\xBA" "x"}, R + R + "x"},       // cut short by a plain byte
        {{"\x80\xBF"}, R + R},
        {{"end\xE1\xBA"}, "end" + R},          // unfinished at the end
    };
    for (const Case& c : cases) {
        player::TaskOutputDecoder decoder;
        std::string out;
        for (const std::string& piece : c.pieces) decoder.feed(piece.data(), piece.size(), out);
        decoder.finish(out);
        EXPECT_EQ(out, c.text);
    }
}

class PlayerTaskServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::Director::getInstance();
        _service = std::make_unique<PlayerTaskServiceWin>(0);
    }
    void TearDown() override {
        _service.reset();
        engine::Director::destroyInstance();
    }
    // Counts the completion events of a task name.
    int* listen(const std::string& name) {
        auto counter = std::make_shared<int>(0);
        _counters.push_back(counter);
        engine::Director::getInstance()->getEventDispatcher()->addCustomEventListener(
            name, [counter](engine::EventCustom*) { ++*counter; });
        return counter.get();
    }
    PlayerTask* runShell(const std::string& name, const std::string& script) {
        PlayerTask* task = _service->createTask(name, "/bin/sh", "-c \"" + script + "\"");
        EXPECT_TRUE(task && task->run()) << script;
        return task;
    }
    static bool waitCompleted(PlayerTask* task, std::chrono::milliseconds timeout = 10s) {
        return testsupport::pumpMainThreadUntil([task] { return task->isCompleted(); }, timeout);
    }

    std::unique_ptr<PlayerTaskServiceWin> _service;
    std::vector<std::shared_ptr<int>> _counters;
};

TEST_F(PlayerTaskServiceTest, ExitCodeOutputLogAndOneEvent) {
    int* events = listen("build");
    testsupport::LogCapture log;
    PlayerTask* task = runShell("build", "printf 'compiled\\n'; printf 'warn' >&2; exit 3");
    EXPECT_TRUE(task->isRunning());
    EXPECT_FALSE(task->run());
    EXPECT_TRUE(log.contains("PlayerTaskWin::run() - task is not idle"));
    ASSERT_TRUE(waitCompleted(task));
    EXPECT_EQ(task->getResultCode(), 3);
    EXPECT_EQ(task->getOutput(), "compiled\nwarn");
    EXPECT_GT(task->getLifetime(), 0.f);
    EXPECT_EQ(*events, 1);
    int cmdLines = 0;
    for (const std::string& line : log.lines()) cmdLines += line == "CMD: compiled\nwarn";
    EXPECT_EQ(cmdLines, 1);
    testsupport::pumpMainThreadUntil([] { return false; }, 50ms);
    EXPECT_EQ(*events, 1);   // never polled again
    EXPECT_FALSE(task->run());
}

TEST_F(PlayerTaskServiceTest, ChattyChildrenCompleteWithBoundedOutput) {
    struct Case {
        const char* name;
        int bytes;
    };
    for (const Case& c : {Case{"twenty-k", 20000}, Case{"one-mib", 1 << 20}}) {
        const std::string script = "head -c " + std::to_string(c.bytes) + " /dev/zero | tr '\\0' x";
        PlayerTask* task = runShell(c.name, script);
        ASSERT_TRUE(waitCompleted(task)) << c.name;
        EXPECT_EQ(task->getResultCode(), 0);
        EXPECT_GT(task->getOutput().size(), PlayerTask::MAX_OUTPUT_LENGTH) << c.name;
        EXPECT_LE(task->getOutput().size(), PlayerTask::MAX_OUTPUT_LENGTH + 4095) << c.name;
        EXPECT_EQ(task->getOutput().find_first_not_of('x'), std::string::npos);
    }
}

TEST_F(PlayerTaskServiceTest, OutputStaysUtf8AndTheLastWordsArrive) {
    PlayerTask* split = runShell("split", "printf '\\341\\272'; sleep 0.2; printf '\\241 \\377 done'");
    ASSERT_TRUE(waitCompleted(split));
    EXPECT_EQ(split->getOutput(), "\xE1\xBA\xA1 \xEF\xBF\xBD done");

    PlayerTask* last = runShell("last", "head -c 12000 /dev/zero | tr '\\0' y; printf END");
    ASSERT_TRUE(waitCompleted(last));
    EXPECT_EQ(last->getOutput(), std::string(12000, 'y') + "END");
}

TEST_F(PlayerTaskServiceTest, StopAndRemoveEndRunningChildrenAtOnce) {
    int* stoppedEvents = listen("stopped");
    PlayerTask* stopped = runShell("stopped", "sleep 30");
    PlayerTask* removed = runShell("removed", "sleep 30");
    removed->retain();
    testsupport::pumpMainThreadUntil([] { return false; }, 30ms);

    const auto started = std::chrono::steady_clock::now();
    stopped->stop();
    EXPECT_TRUE(stopped->isCompleted());
    EXPECT_EQ(stopped->getResultCode(), -1);
    EXPECT_EQ(*stoppedEvents, 1);
    stopped->stop();   // completed is final: no second event
    EXPECT_EQ(*stoppedEvents, 1);

    _service->removeTask("removed");
    EXPECT_EQ(_service->getTask("removed"), nullptr);
    EXPECT_TRUE(removed->isCompleted());
    EXPECT_EQ(removed->getResultCode(), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    removed->release();
    _service->removeTask("never-created");

    PlayerTask* idle = _service->createTask("idle", "/bin/true", "");
    idle->stop();   // an idle task completes too
    EXPECT_TRUE(idle->isCompleted());
    EXPECT_EQ(idle->getResultCode(), 0);
}

TEST_F(PlayerTaskServiceTest, ProgramsWithSpacesInTheirPathGetTheirArgumentsSplit) {
    testsupport::TempDir dir;
    const std::string program = dir.write("my tools/show args", "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done\n");
    ::chmod(program.c_str(), 0755);
    PlayerTask* task = _service->createTask("args", program, R"(one "two three" fo\"ur "" C:\dir\)");
    ASSERT_TRUE(task->run());
    ASSERT_TRUE(waitCompleted(task));
    EXPECT_EQ(task->getOutput(), R"([one][two three][fo"ur][][C:\dir\])");
}

TEST_F(PlayerTaskServiceTest, AFailedStartKeepsTheSystemError) {
    int* events = listen("missing");
    testsupport::LogCapture log;
    PlayerTask* task = _service->createTask("missing", "/nonexistent/tool", "x");
    EXPECT_FALSE(task->run());
    EXPECT_TRUE(task->isCompleted());
    EXPECT_EQ(task->getResultCode(), ENOENT);
    EXPECT_EQ(*events, 1);
    EXPECT_TRUE(log.contains("PlayerTaskWin::run() - create process failed, for execute /nonexistent/tool"));
}

TEST_F(PlayerTaskServiceTest, ATakenNameIsRefusedAndTheOldTaskKept) {
    PlayerTask* first = _service->createTask("job", "/bin/true", "");
    testsupport::LogCapture log;
    EXPECT_EQ(_service->createTask("job", "/bin/false", ""), nullptr);
    EXPECT_TRUE(log.contains("Assert failed: Task already exists."));
    EXPECT_EQ(_service->getTask("job"), first);
    EXPECT_EQ(first->getExecutePath(), "/bin/true");
    EXPECT_TRUE(first->isIdle());
}

TEST_F(PlayerTaskServiceTest, AListenerMayRemoveItsTask) {
    int calls = 0;
    engine::Director::getInstance()->getEventDispatcher()->addCustomEventListener(
        "self", [&](engine::EventCustom*) {
            ++calls;
            _service->removeTask("self");
        });
    PlayerTask* task = runShell("self", "exit 0");
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return calls > 0; }, 10s));
    EXPECT_EQ(_service->getTask("self"), nullptr);
    (void)task;
    testsupport::pumpMainThreadUntil([] { return false; }, 50ms);
    EXPECT_EQ(calls, 1);

    // The same while the service goes away with a running task.
    PlayerTaskServiceWin* service = _service.get();
    int lastCalls = 0;
    engine::Director::getInstance()->getEventDispatcher()->addCustomEventListener(
        "last", [&lastCalls, service](engine::EventCustom*) {
            ++lastCalls;
            service->removeTask("last");
        });
    runShell("last", "sleep 30");
    _service.reset();   // stops it; the listener's removal must not disturb the teardown
    EXPECT_EQ(lastCalls, 1);
}

TEST_F(PlayerTaskServiceTest, TerminalRunsTheProgramThroughTheStubOrLogs) {
    testsupport::TempDir dir;
    const std::string record = dir.file("argv");
    const std::string stub = dir.write("bin/x-terminal-emulator",
                                       "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record + "'\n");
    ::chmod(stub.c_str(), 0755);
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", dir.file("bin").c_str(), 1);

    PlayerTask* task = _service->createTask("term", "/opt/my tool", "--level \"two words\"");
    task->runInTerminal();
    EXPECT_TRUE(task->isIdle());
    ASSERT_TRUE(testsupport::pumpMainThreadUntil(
        [&] { return testsupport::readFile(record).find("two words") != std::string::npos; }, 10s));
    EXPECT_EQ(testsupport::readFile(record), "-e\n/opt/my tool\n--level\ntwo words\n");

    setenv("PATH", dir.file("empty").c_str(), 1);
    testsupport::LogCapture log;
    task->runInTerminal();
    EXPECT_TRUE(log.contains("PlayerTaskWin::runInTerminal() - no terminal (x-terminal-emulator) found"));
    setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
