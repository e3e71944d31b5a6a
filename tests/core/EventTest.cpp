#include <gtest/gtest.h>

#include "framework/core/Event.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;

TEST(EventTest, AutoResetSignalIsConsumedByOneWait)
{
    Thread::cAutoEvent event;
    ASSERT_TRUE(event.IsValid());
    EXPECT_FALSE(event.IsSet());
    EXPECT_EQ(event.Wait(0), Thread::kWaitTimeout);

    event.Set();
    EXPECT_TRUE(event.IsSet());
    EXPECT_EQ(event.Wait(0), 0);
    EXPECT_FALSE(event.IsSet());
    EXPECT_EQ(event.Wait(0), Thread::kWaitTimeout);
}

TEST(EventTest, ManualResetStaysSetUntilReset)
{
    Thread::cManualEvent event;
    event.Set();
    EXPECT_EQ(event.Wait(0), 0);
    EXPECT_EQ(event.Wait(0), 0);
    EXPECT_TRUE(event.IsSet());
    event.Reset();
    EXPECT_EQ(event.Wait(0), Thread::kWaitTimeout);

    Thread::cManualEvent initiallySet(true);
    EXPECT_EQ(initiallySet.Wait(0), 0);
}

TEST(EventTest, WaitAnyPrefersTheLowestSignalledIndexAndConsumesOnlyIt)
{
    Thread::cManualEvent stop;
    Thread::cAutoEvent start;
    Thread::cAutoEvent halt;
    Thread::cEvent* const events[] = {&stop, &start, &halt};

    halt.Set();
    start.Set();
    EXPECT_EQ(Thread::cEvent::WaitAny(events, 3, 0), 1);
    EXPECT_FALSE(start.IsSet());
    EXPECT_TRUE(halt.IsSet());

    stop.Set();
    EXPECT_EQ(Thread::cEvent::WaitAny(events, 3, 0), 0);
    EXPECT_EQ(Thread::cEvent::WaitAny(events, 3, 0), 0); // manual: still set
    stop.Reset();
    EXPECT_EQ(Thread::cEvent::WaitAny(events, 3, 0), 2);
    EXPECT_EQ(Thread::cEvent::WaitAny(events, 3, 0), Thread::kWaitTimeout);
}

TEST(EventTest, WaitAnyTimesOutAndFailsOnBadInput)
{
    Thread::cAutoEvent a;
    Thread::cEvent* const events[] = {&a};
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(Thread::cEvent::WaitAny(events, 1, 50), Thread::kWaitTimeout);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 45ms);

    EXPECT_EQ(Thread::cEvent::WaitAny(events, 0, 0), Thread::kWaitFailed);
    Thread::cEvent* const withNull[] = {&a, nullptr};
    EXPECT_EQ(Thread::cEvent::WaitAny(withNull, 2, 0), Thread::kWaitFailed);
}

TEST(EventTest, SetFromAnotherThreadReleasesExactlyOneWaiterOfAnAutoEvent)
{
    Thread::cAutoEvent event;
    std::atomic<int> released{0};
    auto waiter = [&] {
        if (event.Wait(2000) == 0)
            ++released;
    };
    std::thread first(waiter);
    std::thread second(waiter);
    std::this_thread::sleep_for(50ms);
    event.Set();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(released.load(), 1);
    event.Set();
    first.join();
    second.join();
    EXPECT_EQ(released.load(), 2);
}

TEST(EventTest, ManualEventReleasesEveryWaiterOfAWaitAny)
{
    Thread::cManualEvent go;
    Thread::cAutoEvent other;
    std::atomic<int> released{0};
    auto waiter = [&] {
        Thread::cEvent* const events[] = {&other, &go};
        if (Thread::cEvent::WaitAny(events, 2, Thread::kInfinite) == 1)
            ++released;
    };
    std::thread first(waiter);
    std::thread second(waiter);
    std::this_thread::sleep_for(50ms);
    go.Set();
    first.join();
    second.join();
    EXPECT_EQ(released.load(), 2);
}
