// The two line sinks, the engine's log and the debugger output, share one design:
// the sink runs with no lock held, and replacing it waits for calls in progress.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "engine/base/Log.h"
#include "platform/DebugOutput.h"

namespace {

using Sink = std::function<void(const std::string&)>;

struct SinkKind {
    const char* name;
    Sink (*set)(Sink);
    void (*write)(const std::string&);
};

const SinkKind kKinds[] = {
    {"EngineLog", [](Sink s) -> Sink { return engine::setLogSink(std::move(s)); },
     [](const std::string& line) { engine::log("%s", line.c_str()); }},
    {"DebugOutput", [](Sink s) -> Sink { return platform::setDebugOutputSink(std::move(s)); },
     [](const std::string& text) { platform::outputDebugString(text); }},
};

// A hang must fail the test, not stall the run until the suite's time-out.
void finishesWithin(const char* what, const std::function<void()>& body) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([body, done] {
        body();
        done->set_value();
    }).detach();
    if (finished.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        std::fprintf(stderr, "hung: %s\n", what);
        std::abort();
    }
}

// A one-shot signal between threads.
class Flag {
public:
    void raise() {
        std::lock_guard<std::mutex> lock(_mutex);
        _up = true;
        _cv.notify_all();
    }
    void wait() {
        std::unique_lock<std::mutex> lock(_mutex);
        _cv.wait(lock, [this] { return _up; });
    }

private:
    std::mutex _mutex;
    std::condition_variable _cv;
    bool _up = false;
};

void PrintTo(const SinkKind& kind, std::ostream* os) { *os << kind.name; }

class LogSinkTest : public testing::TestWithParam<SinkKind> {
protected:
    ~LogSinkTest() override { GetParam().set(nullptr); }
};

TEST_P(LogSinkTest, SinkMayWriteAndReplaceTheSinkFromInside) {
    const SinkKind& kind = GetParam();
    std::vector<std::string> seen;
    std::vector<std::string> later;
    kind.set([&](const std::string& line) {
        seen.push_back(line);
        if (line == "outer") kind.write("inner");
        if (line == "swap") kind.set([&](const std::string& l) { later.push_back(l); });
    });
    finishesWithin("a sink writing a line of its own", [&] { kind.write("outer"); });
    finishesWithin("a sink replacing itself", [&] { kind.write("swap"); });
    kind.write("after");
    EXPECT_EQ(seen, (std::vector<std::string>{"outer", "inner", "swap"}));
    EXPECT_EQ(later, (std::vector<std::string>{"after"}));
}

// A sink waiting for a line that another thread writes (a sink handing lines to a
// worker, say) must not block that thread.
TEST_P(LogSinkTest, SinkMayWaitForAnotherThreadsLine) {
    const SinkKind& kind = GetParam();
    Flag firstInside, otherWrote;
    std::atomic<int> lines{0};
    kind.set([&](const std::string& line) {
        ++lines;
        if (line == "first") {
            firstInside.raise();
            otherWrote.wait();
        }
        if (line == "second") otherWrote.raise();
    });
    finishesWithin("two threads in the sink", [&] {
        std::thread first([&] { kind.write("first"); });
        std::thread second([&] {
            firstInside.wait();
            kind.write("second");
        });
        first.join();
        second.join();
    });
    EXPECT_EQ(lines.load(), 2);
}

// Whatever the old sink captured may be freed once the replacement returns.
TEST_P(LogSinkTest, ReplacingWaitsForCallsInProgressOnOtherThreads) {
    const SinkKind& kind = GetParam();
    Flag inside, release;
    std::atomic<bool> sinkReturned{false};
    kind.set([&](const std::string&) {
        inside.raise();
        release.wait();
        sinkReturned = true;
    });
    std::thread writer([&] { kind.write("line"); });
    inside.wait();

    std::atomic<bool> replaced{false};
    std::atomic<bool> sinkHadReturned{false};
    std::thread replacer([&] {
        kind.set(nullptr);
        sinkHadReturned = sinkReturned.load();
        replaced = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(replaced.load()) << "the replacement returned while the old sink ran";
    release.raise();
    writer.join();
    replacer.join();
    EXPECT_TRUE(sinkHadReturned.load());
}

INSTANTIATE_TEST_SUITE_P(BothSinks, LogSinkTest, testing::ValuesIn(kKinds),
                         [](const testing::TestParamInfo<SinkKind>& info) { return info.param.name; });

}  // namespace
