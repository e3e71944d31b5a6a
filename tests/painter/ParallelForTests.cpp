#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#if defined(__GLIBC__)
#include <pthread.h>
#endif

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

TEST(ParallelFor, ABodyThatThrowsLosesOnlyItsOwnRowAndRunAnswersFalse)
{
    for (const int workers : {1, 3})
    {
        cParallelFor::SetWorkerCount(workers);
        std::vector<std::atomic<int>> hits(200);
        const bool all = cParallelFor::Run(0, 200, [&](int i) {
            if (i % 50 == 7)
                throw std::runtime_error("row");
            hits[std::size_t(i)].fetch_add(1);
        });
        EXPECT_FALSE(all) << "workers " << workers;
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(hits[std::size_t(i)].load(), i % 50 == 7 ? 0 : 1) << "index " << i << " workers " << workers;
        EXPECT_TRUE(cParallelFor::Run(0, 200, [&](int i) { hits[std::size_t(i)].fetch_add(1); }));
    }
    cParallelFor::SetWorkerCount(0);
}

TEST(ParallelFor, NestedAndConcurrentLoopsAllFinish)
{
    cParallelFor::SetWorkerCount(3);
    // A loop inside a body, and loops from two threads at once: the one that
    // finds the pool busy runs on its own caller.
    std::vector<std::atomic<int>> inner(40 * 30);
    std::vector<std::atomic<int>> other(5000);
    std::thread second([&] {
        for (int round = 0; round < 5; ++round)
            cParallelFor::Run(0, 1000, [&](int i) { other[std::size_t(round * 1000 + i)].fetch_add(1); });
    });
    cParallelFor::Run(0, 40, [&](int y) {
        cParallelFor::Run(0, 30, [&](int x) { inner[std::size_t(y * 30 + x)].fetch_add(1); });
    });
    second.join();
    for (std::size_t i = 0; i < inner.size(); ++i)
        ASSERT_EQ(inner[i].load(), 1) << "inner " << i;
    for (std::size_t i = 0; i < other.size(); ++i)
        ASSERT_EQ(other[i].load(), 1) << "other " << i;
    cParallelFor::SetWorkerCount(0);
}

namespace {
thread_local int t_loopsSeen = 0;
}

// In a fresh process, so that the pool starts without helpers.
TEST(ParallelForDeathTest, LaterLoopsReuseTheSameHelperThreads)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            cParallelFor::SetWorkerCount(4);
            std::atomic<int> freshThreads{0};
            auto body = [&](int) {
                if (t_loopsSeen++ == 0)
                    ++freshThreads;
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            };
            cParallelFor::Run(0, 64, body); // the pool grows here
            const int first = freshThreads.exchange(0);
            for (int loop = 0; loop < 20; ++loop)
                cParallelFor::Run(0, 64, body);
            // At most the caller and three helpers ever run a row; threads made
            // per loop would show up as about 20 x 3 fresh ones.
            std::exit(first >= 1 && first + freshThreads.load() <= 4 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

#if defined(__GLIBC__)
// In a fresh process (the pool has no helpers yet) every new thread is made
// to fail by a default stack size no system can give.
TEST(ParallelForDeathTest, WhenNoHelperCanBeCreatedTheCallerRunsEveryRow)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            pthread_attr_t attr;
            pthread_attr_init(&attr);
            pthread_attr_setstacksize(&attr, std::size_t(1) << (sizeof(void*) == 8 ? 46 : 30));
            pthread_setattr_default_np(&attr);
            bool threadFails = false;
            try
            {
                std::thread probe([] {});
                probe.join();
            }
            catch (const std::system_error&)
            {
                threadFails = true;
            }
            cParallelFor::SetWorkerCount(4);
            std::vector<int> hits(500);
            const std::thread::id caller = std::this_thread::get_id();
            bool onCaller = true;
            const bool all = cParallelFor::Run(0, 500, [&](int i) {
                ++hits[std::size_t(i)];
                onCaller = onCaller && std::this_thread::get_id() == caller;
            });
            bool once = true;
            for (const int hit : hits)
                once = once && hit == 1;
            std::exit(threadFails && all && once && onCaller ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
#endif
