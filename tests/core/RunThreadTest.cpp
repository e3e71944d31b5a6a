#include <gtest/gtest.h>

#include "framework/core/RunThread.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

// A worker with a queue of numbers; each Step takes one number, sleeps for
// it (in milliseconds) and adds it to the total.
class cQueueWorker : public Thread::cRunThread
{
public:
    ~cQueueWorker() override { Stop(); }

    void Post(int value)
    {
        {
            std::lock_guard<std::mutex> guard(m_queueLock);
            m_queue.push_back(value);
        }
        Wake();
    }

    bool Step() override
    {
        ++m_steps;
        int value = 0;
        {
            std::lock_guard<std::mutex> guard(m_queueLock);
            if (m_queue.empty())
                return false;
            value = m_queue.front();
            m_queue.pop_front();
        }
        m_started = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(value));
        m_total += value;
        if (m_report != nullptr)
            *m_report += value;
        ++m_done;
        return true;
    }
    bool Idle() override
    {
        ++m_idleCalls;
        return false;
    }
    void OnStop() override { ++m_onStopCalls; }

    std::mutex m_queueLock;
    std::deque<int> m_queue;
    std::atomic<int> m_steps{0};
    std::atomic<int> m_done{0};
    std::atomic<int> m_total{0};
    std::atomic<bool> m_started{false};
    std::atomic<int> m_idleCalls{0};
    std::atomic<int> m_onStopCalls{0};
    std::atomic<int>* m_report = nullptr;
};

// A worker whose every Step takes a while and answers false.
class cSlowStepWorker : public Thread::cRunThread
{
public:
    ~cSlowStepWorker() override { Stop(); }
    bool Step() override
    {
        ++m_steps;
        m_inStep = true;
        std::this_thread::sleep_for(200ms);
        m_inStep = false;
        return false;
    }
    std::atomic<int> m_steps{0};
    std::atomic<bool> m_inStep{false};
};

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = 5000ms)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace

TEST(RunThreadTest, WokenWorkerIsBusyAtOnceAndAnImmediateStopStillDoesTheWork)
{
    cQueueWorker worker;
    ASSERT_TRUE(worker.Start());
    EXPECT_TRUE(worker.IsIdle());
    EXPECT_FALSE(worker.IsRunning());

    worker.Post(5);
    worker.Post(5);
    worker.Post(5);
    // The owner's collection test right after handing work over must not
    // see an idle worker.
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.IsIdle());

    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(worker.m_done.load(), 3);
    EXPECT_EQ(worker.m_total.load(), 15);
    EXPECT_EQ(worker.m_onStopCalls.load(), 1);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(worker.IsIdle());
}

TEST(RunThreadTest, DestroyingAWorkerWithQueuedWorkDoesTheWork)
{
    std::atomic<int> total{0};
    {
        cQueueWorker worker;
        worker.m_report = &total;
        ASSERT_TRUE(worker.Start());
        for (int i = 1; i <= 4; ++i)
            worker.Post(i);
        // The derived destructor stops the worker, which drains the queue.
    }
    EXPECT_EQ(total.load(), 10);
}

TEST(RunThreadTest, WorkerGoesBackToIdleWhenStepAnswersFalse)
{
    cQueueWorker worker;
    ASSERT_TRUE(worker.Start());
    worker.Post(1);
    worker.Post(1);
    ASSERT_TRUE(WaitFor([&] { return worker.IsIdle(); }));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.m_done.load(), 2);
    EXPECT_EQ(worker.m_onStopCalls.load(), 0);

    // Work handed over later is picked up again.
    worker.Post(1);
    ASSERT_TRUE(WaitFor([&] { return worker.m_done.load() == 3 && worker.IsIdle(); }));
}

TEST(RunThreadTest, IdleIsCalledAboutTwiceASecondWhileQuiet)
{
    cQueueWorker worker;
    ASSERT_TRUE(worker.Start());
    std::this_thread::sleep_for(1200ms);
    const int calls = worker.m_idleCalls.load();
    // Expected 2 (at 500 and 1000 ms); allow for a slow machine.
    EXPECT_GE(calls, 1);
    EXPECT_LE(calls, 3);
    EXPECT_EQ(worker.m_steps.load(), 0);
    EXPECT_TRUE(worker.IsIdle());
}

TEST(RunThreadTest, StopWaitsForTheCurrentStepWithoutATimeLimit)
{
    cQueueWorker worker;
    ASSERT_TRUE(worker.Start());
    worker.Post(300);
    ASSERT_TRUE(WaitFor([&] { return worker.m_started.load(); }));
    EXPECT_EQ(worker.m_done.load(), 0);
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(worker.m_done.load(), 1);
    EXPECT_EQ(worker.m_total.load(), 300);
    EXPECT_FALSE(worker.IsStarted());
}

TEST(RunThreadTest, TwoStartsDuringAStepGiveExactlyOneMoreStep)
{
    cSlowStepWorker worker;
    ASSERT_TRUE(worker.Start());
    worker.Wake();
    ASSERT_TRUE(WaitFor([&] { return worker.m_inStep.load(); }));
    worker.Wake();
    worker.Wake();
    ASSERT_TRUE(WaitFor([&] { return worker.m_steps.load() >= 2 && !worker.m_inStep.load(); }));
    ASSERT_TRUE(WaitFor([&] { return worker.IsIdle(); }));
    // Give a spurious third Step time to show up.
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(worker.m_steps.load(), 2);
    EXPECT_FALSE(worker.IsRunning());
}

TEST(RunThreadTest, StopWhileIdleEndsPromptlyAndCallsOnStopOnce)
{
    cQueueWorker worker;
    ASSERT_TRUE(worker.Start());
    std::this_thread::sleep_for(50ms);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Stop());
    // Stop interrupts the 500 ms wait at once; allow plenty for a slow machine.
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2000ms);
    EXPECT_EQ(worker.m_onStopCalls.load(), 1);
    EXPECT_EQ(worker.m_steps.load(), 0);
    EXPECT_FALSE(worker.Stop()); // no thread any more
    EXPECT_EQ(worker.m_onStopCalls.load(), 1);
}

TEST(RunThreadTest, StartIsIdempotentAndAStoppedWorkerCanBeStartedAgain)
{
    cQueueWorker worker;
    ASSERT_TRUE(worker.Start());
    const std::thread::id first = worker.ThreadId();
    EXPECT_NE(first, std::thread::id());
    ASSERT_TRUE(worker.Start());
    EXPECT_EQ(worker.ThreadId(), first);
    EXPECT_TRUE(worker.Stop());

    ASSERT_TRUE(worker.Start());
    worker.Post(2);
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(worker.m_done.load(), 1);
    EXPECT_EQ(worker.m_onStopCalls.load(), 2);
}
