// Functions handed from worker threads to the main thread through the scheduler.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"

namespace {

struct Call {
    int thread;
    int seq;
    std::thread::id ranOn;
};

TEST(HandOverTest, FunctionsFromManyThreadsRunOnTheMainThreadInPerThreadOrder) {
    constexpr int kThreads = 8, kPerThread = 200;
    auto* scheduler = new engine::Scheduler;
    std::vector<Call> calls;   // touched only by the functions, i.e. on the main thread

    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                scheduler->performFunctionInEngineThread(
                    [&calls, t, i] { calls.push_back({t, i, std::this_thread::get_id()}); });
            }
        });
    }
    for (auto& w : workers) w.join();

    EXPECT_TRUE(calls.empty()) << "nothing runs before update()";
    EXPECT_EQ(scheduler->pendingFunctionCount(), size_t{kThreads * kPerThread});
    scheduler->update(0.f);
    EXPECT_EQ(scheduler->pendingFunctionCount(), 0u);
    ASSERT_EQ(calls.size(), size_t{kThreads * kPerThread});

    std::map<int, int> next;
    for (const Call& c : calls) {
        EXPECT_EQ(c.ranOn, std::this_thread::get_id());
        EXPECT_EQ(c.seq, next[c.thread]++) << "thread " << c.thread;
    }
    scheduler->release();
}

TEST(HandOverTest, NoFunctionIsLostWhileTheMainThreadKeepsUpdating) {
    constexpr int kThreads = 4, kPerThread = 2000;
    auto* scheduler = new engine::Scheduler;
    int ran = 0;
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < kPerThread; ++i) scheduler->performFunctionInEngineThread([&ran] { ++ran; });
            finished.fetch_add(1);
        });
    }
    // Bounded: the workers are done long before this many frames.
    for (int frame = 0; frame < 1000000 && finished.load() < kThreads; ++frame) scheduler->update(0.f);
    for (auto& w : workers) w.join();
    scheduler->update(0.f);
    EXPECT_EQ(ran, kThreads * kPerThread);
    scheduler->release();
}

TEST(HandOverTest, FunctionQueuedByARunningFunctionWaitsForTheNextUpdate) {
    auto* scheduler = new engine::Scheduler;
    std::vector<int> order;
    scheduler->performFunctionInEngineThread([&] {
        order.push_back(1);
        scheduler->performFunctionInEngineThread([&] { order.push_back(2); });
    });
    scheduler->update(0.f);
    EXPECT_EQ(order, (std::vector<int>{1}));
    EXPECT_EQ(scheduler->pendingFunctionCount(), 1u);
    scheduler->update(0.f);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    scheduler->release();
}

TEST(HandOverTest, FunctionsRunAfterTheFrameTimersAndFromTheDirectorsLoop) {
    auto* director = engine::Director::getInstance();
    auto* scheduler = director->getScheduler();
    std::vector<std::string> order;
    int target = 0;
    scheduler->schedule([&](float) { order.push_back("timer"); }, &target, 0.f, false, "t");
    std::thread([&] { scheduler->performFunctionInEngineThread([&] { order.push_back("handed over"); }); })
        .join();
    director->mainLoop(0.1f);
    EXPECT_EQ(order, (std::vector<std::string>{"timer", "handed over"}));
}

}  // namespace
