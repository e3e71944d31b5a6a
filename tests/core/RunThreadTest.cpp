#include <gtest/gtest.h>

#include "framework/core/RunThread.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A worker with a queue of numbers; each Step takes one number, sleeps for
// it (in milliseconds) and adds it to the total.
class cQueueWorker : public Thread::cRunThread
{
public:
    explicit cQueueWorker(const cKey& key) : cRunThread(key) {}

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
    explicit cSlowStepWorker(const cKey& key) : cRunThread(key) {}
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
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
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
        auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
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
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
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
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
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
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
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
    auto holder = Thread::cThreadHolder<cSlowStepWorker>::Create();
    ASSERT_TRUE(holder);
    cSlowStepWorker& worker = *holder;
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
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
    ASSERT_TRUE(worker.Start());
    std::this_thread::sleep_for(50ms);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Stop());
    // Stop interrupts the 500 ms wait at once; allow plenty for a slow machine.
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2000ms);
    EXPECT_EQ(worker.m_onStopCalls.load(), 1);
    // Stop asks for work once whatever the state; the empty queue answers false.
    EXPECT_EQ(worker.m_steps.load(), 1);
    EXPECT_EQ(worker.m_done.load(), 0);
    EXPECT_FALSE(worker.Stop()); // no thread any more
    EXPECT_EQ(worker.m_onStopCalls.load(), 1);
}

TEST(RunThreadTest, StartIsIdempotentAndAStoppedWorkerCanBeStartedAgain)
{
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
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

namespace {

// A worker whose Step writes into members of the derived class (a vector
// and a string that die with it) and takes a little while, so a release of
// its holder meets it inside Step.
class cMemberWorker : public Thread::cRunThread
{
public:
    cMemberWorker(const cKey& key, int items, std::atomic<int>* written) : cRunThread(key), m_written(written)
    {
        m_left = items;
    }
    ~cMemberWorker() override { m_destroyed = true; }

    bool Step() override
    {
        if (m_left == 0)
            return false;
        --m_left;
        m_entered = true;
        std::this_thread::sleep_for(2ms);
        m_lines.push_back(std::to_string(m_left));
        m_log += m_lines.back();
        ++*m_written;
        return true;
    }

    std::atomic<bool> m_entered{false};
    static inline std::atomic<bool> m_destroyed{false};

private:
    int m_left = 0;
    std::vector<std::string> m_lines;
    std::string m_log;
    std::atomic<int>* m_written;
};

// A worker that releases its own holder from inside Step, on its own thread.
class cSelfReleasingWorker : public Thread::cRunThread
{
public:
    cSelfReleasingWorker(const cKey& key, std::atomic<int>* steps, std::atomic<bool>* destroyed)
        : cRunThread(key), m_steps(steps), m_destroyed(destroyed)
    {
    }
    ~cSelfReleasingWorker() override { *m_destroyed = true; }

    bool Step() override
    {
        ++*m_steps;
        if (m_holder != nullptr) {
            Thread::cThreadHolder<cSelfReleasingWorker>* holder = m_holder;
            m_holder = nullptr;
            holder->Reset();
            // Still alive here: the object is deleted once Run has returned.
            m_after = 1;
            return true;
        }
        return false;
    }

    Thread::cThreadHolder<cSelfReleasingWorker>* m_holder = nullptr;

private:
    std::atomic<int>* m_steps;
    std::atomic<bool>* m_destroyed;
    int m_after = 0;
};

// A plain thread with an exit code.
class cPlainThread : public Thread::cThread
{
public:
    cPlainThread(const cKey& key, int code) : cThread(key), m_code(code) {}
    int Run() override
    {
        std::this_thread::sleep_for(20ms);
        return m_code;
    }

private:
    int m_code;
};

class cThrowingWorker : public Thread::cRunThread
{
public:
    explicit cThrowingWorker(const cKey& key) : cRunThread(key) { throw std::runtime_error("no queue"); }
    bool Step() override { return false; }
};

} // namespace

TEST(RunThreadTest, ReleasingTheHolderWhileStepTouchesMembersFinishesTheWorkFirst)
{
    for (int round = 0; round < 5; ++round) {
        std::atomic<int> written{0};
        cMemberWorker::m_destroyed = false;
        {
            auto holder = Thread::cThreadHolder<cMemberWorker>::Create(20, &written);
            ASSERT_TRUE(holder);
            ASSERT_TRUE(holder->Start());
            holder->Wake();
            ASSERT_TRUE(WaitFor([&] { return holder->m_entered.load(); }));
            // The holder dies while Step runs: the members must outlive it.
        }
        EXPECT_TRUE(cMemberWorker::m_destroyed.load());
        EXPECT_EQ(written.load(), 20) << "round " << round;
    }
}

TEST(RunThreadTest, HaltThenStopWithWorkPendingDoesAllTheWork)
{
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
    ASSERT_TRUE(worker.Start());
    for (int i = 0; i < 6; ++i)
        worker.Post(40);
    ASSERT_TRUE(WaitFor([&] { return worker.m_started.load(); }));
    worker.Halt();
    ASSERT_TRUE(WaitFor([&] { return worker.IsIdle(); }));
    // Halted with work left in the queue.
    const int doneWhenHalted = worker.m_done.load();
    EXPECT_LT(doneWhenHalted, 6);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(worker.m_done.load(), doneWhenHalted); // halted means no more Steps

    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(worker.m_done.load(), 6);
    EXPECT_EQ(worker.m_total.load(), 240);
    EXPECT_EQ(worker.m_onStopCalls.load(), 1);
}

TEST(RunThreadTest, StartDuringAStopOnAnotherThreadDoesNotUndoTheStop)
{
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
    ASSERT_TRUE(worker.Start());
    worker.Post(300);
    ASSERT_TRUE(WaitFor([&] { return worker.m_started.load(); }));

    std::future<bool> stopped = std::async(std::launch::async, [&] { return worker.Stop(); });
    std::this_thread::sleep_for(50ms); // the Stop waits for the 300 ms Step now
    // A Start on the worker whose Stop is in progress changes nothing.
    worker.Start();
    worker.Start();
    const bool ended = stopped.wait_for(5s) == std::future_status::ready;
    if (!ended)
        worker.RequestStop(); // let the thread go rather than hang the run
    ASSERT_TRUE(ended);
    EXPECT_TRUE(stopped.get());
    EXPECT_EQ(worker.m_done.load(), 1);
    EXPECT_EQ(worker.m_onStopCalls.load(), 1);
}

TEST(RunThreadTest, AStartedWorkerIgnoresStartButAWorkerWokenBeforeStartWorksOnceStarted)
{
    auto holder = Thread::cThreadHolder<cQueueWorker>::Create();
    ASSERT_TRUE(holder);
    cQueueWorker& worker = *holder;
    worker.Post(1);
    worker.Post(1);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(WaitFor([&] { return worker.m_done.load() == 2 && worker.IsIdle(); }));
    // A Start on a running worker leaves its requests alone: a Stop set
    // just before it still ends the thread.
    worker.RequestStop();
    EXPECT_TRUE(worker.Start());
    ASSERT_TRUE(WaitFor([&] { return worker.m_onStopCalls.load() == 1; }));
    EXPECT_TRUE(worker.Join());
}

TEST(RunThreadTest, AWorkerReleasedOnItsOwnThreadIsDeletedByItWhenRunReturns)
{
    std::atomic<int> steps{0};
    std::atomic<bool> destroyed{false};
    auto* holder = new Thread::cThreadHolder<cSelfReleasingWorker>(
        Thread::cThreadHolder<cSelfReleasingWorker>::Create(&steps, &destroyed));
    ASSERT_TRUE(*holder);
    (*holder)->m_holder = holder;
    ASSERT_TRUE((*holder)->Start());
    (*holder)->Wake();
    // The holder is emptied at once; the object goes when its thread ends,
    // after the stop has drained the work (one more Step answering false).
    ASSERT_TRUE(WaitFor([&] { return destroyed.load(); }));
    EXPECT_FALSE(*holder);
    EXPECT_EQ(steps.load(), 2);
    delete holder;
}

TEST(RunThreadTest, PlainThreadReportsItsExitCodeAfterJoin)
{
    auto holder = Thread::cThreadHolder<cPlainThread>::Create(7);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->ExitCode(), 0);
    EXPECT_FALSE(holder->Join()); // nothing to join yet
    ASSERT_TRUE(holder->Start());
    EXPECT_TRUE(holder->IsStarted());
    EXPECT_TRUE(holder->Join());
    EXPECT_FALSE(holder->IsStarted());
    EXPECT_EQ(holder->ExitCode(), 7);

    // Moving the holder moves the ownership; the moved-from one is empty.
    Thread::cThreadHolder<cPlainThread> other = std::move(holder);
    EXPECT_FALSE(holder);
    ASSERT_TRUE(other);
    ASSERT_TRUE(other->Start());
    other.Reset(); // joins before deleting
    EXPECT_FALSE(other);
}

TEST(RunThreadTest, AConstructorThatThrowsGivesAnEmptyHolder)
{
    auto holder = Thread::cThreadHolder<cThrowingWorker>::Create();
    EXPECT_FALSE(holder);
    EXPECT_EQ(holder.Get(), nullptr);
}
