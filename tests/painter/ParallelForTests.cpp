#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "framework/core/ParallelFor.h"

using Thread::cParallelFor;

TEST(ParallelFor, EveryIndexRunsExactlyOnceForAnyWorkerCount)
{
    for (const int workers : {1, 2, 3, 8})
    {
        cParallelFor::SetWorkerCount(workers);
        EXPECT_EQ(cParallelFor::WorkerCount(), workers);
        std::vector<std::atomic<int>> hits(1000);
        cParallelFor::Run(-500, 500, [&](int i) { hits[std::size_t(i + 500)].fetch_add(1); });
        for (std::size_t i = 0; i < hits.size(); ++i)
            ASSERT_EQ(hits[i].load(), 1) << "index " << i << " workers " << workers;
    }
    cParallelFor::SetWorkerCount(0);
    EXPECT_GE(cParallelFor::WorkerCount(), 1);
}

TEST(ParallelFor, EmptyRangesDoNothingAndOneRowRunsOnTheCaller)
{
    cParallelFor::SetWorkerCount(4);
    int calls = 0;
    cParallelFor::Run(5, 5, [&](int) { ++calls; });
    cParallelFor::Run(7, 3, [&](int) { ++calls; });
    EXPECT_EQ(calls, 0);

    std::thread::id ran;
    cParallelFor::Run(9, 10, [&](int i) {
        ran = std::this_thread::get_id();
        calls += i;
    });
    EXPECT_EQ(ran, std::this_thread::get_id());
    EXPECT_EQ(calls, 9);

    // The top of the int range does not wrap around.
    std::atomic<int> top{0};
    cParallelFor::Run(INT32_MAX - 3, INT32_MAX, [&](int i) { top += i == INT32_MAX - 1; });
    EXPECT_EQ(top.load(), 1);
    cParallelFor::SetWorkerCount(0);
}

TEST(ParallelFor, UsesMoreThanOneThreadWhenAllowed)
{
    cParallelFor::SetWorkerCount(2);
    std::atomic<int> inside{0}, most{0};
    cParallelFor::Run(0, 64, [&](int) {
        const int now = ++inside;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now))
        {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        --inside;
    });
    cParallelFor::SetWorkerCount(0);
    EXPECT_EQ(most.load(), 2);
}
