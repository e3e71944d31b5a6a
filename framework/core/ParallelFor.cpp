#include "framework/core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace Thread {

namespace {

constexpr int kMostWorkers = 64;

std::atomic<int> g_workerCount{0};

int DefaultWorkerCount()
{
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware == 0 ? 1 : static_cast<int>(std::min<unsigned>(hardware, kMostWorkers));
}

// One loop handed to the pool.
struct sLoop
{
    const std::function<void(int)>* body = nullptr;
    long long last = 0;
    std::atomic<long long> next{0};
    std::atomic<bool> threw{false};

    void Work()
    {
        for (;;) {
            const long long i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= last)
                return;
            try {
                (*body)(static_cast<int>(i));
            } catch (...) {
                threw.store(true, std::memory_order_relaxed);
            }
        }
    }
};

// The helper threads. They are never destroyed: the pool must outlive every
// static object that might still run a loop, and idle helpers end with the
// process.
class cPool
{
public:
    static cPool& Instance()
    {
        static cPool* pool = new cPool;
        return *pool;
    }

    // Runs the loop with at most helperLimit helpers besides the caller.
    // False (nothing done) when another loop holds the pool.
    bool TryRun(sLoop& loop, int helperLimit)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        if (m_loop != nullptr)
            return false;
        Grow(helperLimit);
        m_loop = &loop;
        m_helperLimit = std::min<int>(helperLimit, m_helperCount);
        m_helpersInside = 0;
        ++m_generation;
        lock.unlock();
        m_wake.notify_all();

        loop.Work();

        lock.lock();
        // No helper may join once the loop is withdrawn; the ones inside
        // finish their current rows first.
        m_helperLimit = 0;
        m_done.wait(lock, [this] { return m_helpersInside == 0; });
        m_loop = nullptr;
        return true;
    }

private:
    cPool() = default;

    // Creates helpers until there are `wanted`, as far as the system allows.
    void Grow(int wanted)
    {
        while (m_helperCount < wanted) {
            try {
                std::thread([this] { HelperLoop(); }).detach();
                ++m_helperCount;
            } catch (...) {
                return; // fewer helpers: the caller takes their rows
            }
        }
    }

    void HelperLoop()
    {
        std::uint64_t seen = 0;
        std::unique_lock<std::mutex> lock(m_lock);
        for (;;) {
            m_wake.wait(lock, [&] { return m_loop != nullptr && m_generation != seen; });
            seen = m_generation;
            if (m_helpersInside >= m_helperLimit)
                continue;
            ++m_helpersInside;
            sLoop* loop = m_loop;
            lock.unlock();
            loop->Work();
            lock.lock();
            if (--m_helpersInside == 0)
                m_done.notify_all();
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    int m_helperCount = 0;
    sLoop* m_loop = nullptr;
    std::uint64_t m_generation = 0;
    int m_helperLimit = 0;
    int m_helpersInside = 0;
};

} // namespace

void cParallelFor::SetWorkerCount(int count)
{
    g_workerCount.store(std::clamp(count, 0, kMostWorkers));
}

int cParallelFor::WorkerCount()
{
    const int count = g_workerCount.load();
    return count > 0 ? count : DefaultWorkerCount();
}

bool cParallelFor::Run(int first, int last, const std::function<void(int)>& body)
{
    if (last <= first)
        return true;
    sLoop loop;
    loop.body = &body;
    loop.last = last;
    loop.next.store(first);

    const long long count = static_cast<long long>(last) - first;
    const int workers = static_cast<int>(std::min<long long>(WorkerCount(), count));
    bool pooled = false;
    if (workers > 1) {
        try {
            pooled = cPool::Instance().TryRun(loop, workers - 1);
        } catch (...) {
            pooled = false; // the pool itself could not be made or locked
        }
    }
    // Rows left over (no pool, or the pool busy) run here; after a pooled
    // loop nothing is left and this returns at once.
    if (!pooled || loop.next.load() < last)
        loop.Work();
    return !loop.threw.load();
}

} // namespace Thread
