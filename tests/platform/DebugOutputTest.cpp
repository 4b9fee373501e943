#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DebugOutput.h"

using namespace platform;

namespace {

TEST(DebugOutputTest, StderrGetsTheTextAsIs) {
    setDebugOutputSink(nullptr);
    testing::internal::CaptureStderr();
    outputDebugString("[VEXO] one\n");
    outputDebugString(std::string("two"));
    outputDebugString(static_cast<const char*>(nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[VEXO] one\ntwo");
}

TEST(DebugOutputTest, SinkReplacesStderrAndIsHandedBack) {
    std::vector<std::string> seen;
    DebugOutputSink mine = [&seen](const std::string& text) { seen.push_back(text); };
    EXPECT_FALSE(setDebugOutputSink(mine));
    testing::internal::CaptureStderr();
    outputDebugString("[VEXO] captured\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(seen, (std::vector<std::string>{"[VEXO] captured\n"}));

    DebugOutputSink previous = setDebugOutputSink(nullptr);
    ASSERT_TRUE(previous);
    previous("direct");
    EXPECT_EQ(seen.back(), "direct");
}

TEST(DebugOutputTest, SinkMayWriteDebugOutputItself) {
    std::vector<std::string> seen;
    setDebugOutputSink([&seen](const std::string& text) {
        seen.push_back(text);
        if (text == "outer") outputDebugString("inner");
    });
    outputDebugString("outer");
    setDebugOutputSink(nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"outer", "inner"}));
}

TEST(DebugOutputTest, ConcurrentWritersAllReachTheSink) {
    // Calls may overlap, so the sink guards what it keeps.
    std::mutex mutex;
    std::vector<std::string> seen;
    setDebugOutputSink([&](const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back(text);
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i) outputDebugString(std::to_string(t) + ":" + std::to_string(i) + "\n");
        });
    }
    for (std::thread& th : threads) th.join();
    setDebugOutputSink(nullptr);
    EXPECT_EQ(seen.size(), 8u * 200u);
}

}  // namespace
