// Jobs on threads of their own: every job started from any thread runs and is
// joined, and joining the ended ones leaves a running job alone.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "engine/base/WorkerThreads.h"

namespace {

TEST(WorkerThreadsTest, JobsStartedFromSeveralThreadsAllRunAndAreJoined) {
    engine::WorkerThreads workers;
    std::atomic<int> ran{0};
    std::vector<std::thread> starters;
    for (int s = 0; s < 4; ++s) {
        starters.emplace_back([&] {
            for (int i = 0; i < 25; ++i) {
                ASSERT_TRUE(workers.start([&] { ran.fetch_add(1); }));
                workers.joinFinished();
            }
        });
    }
    for (std::thread& starter : starters) starter.join();
    workers.joinAll();
    EXPECT_EQ(ran.load(), 100);
}

TEST(WorkerThreadsTest, JoinFinishedLeavesARunningJobAlone) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> finished{false};
    {
        engine::WorkerThreads workers;
        ASSERT_TRUE(workers.start([&, released] {
            released.wait();
            finished = true;
        }));
        workers.joinFinished();   // would wait forever if it joined the running job
        EXPECT_FALSE(finished.load());
        release.set_value();
    }   // the destructor waits for the job
    EXPECT_TRUE(finished.load());
}

}  // namespace
