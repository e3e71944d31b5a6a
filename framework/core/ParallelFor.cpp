#include "framework/core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace Thread {

namespace {

std::atomic<int> g_workerCount{0};

int DefaultWorkerCount()
{
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware == 0 ? 1 : static_cast<int>(std::min(hardware, 64u));
}

} // namespace

void cParallelFor::SetWorkerCount(int count) { g_workerCount.store(count < 0 ? 0 : count); }

int cParallelFor::WorkerCount()
{
    const int count = g_workerCount.load();
    return count > 0 ? count : DefaultWorkerCount();
}

void cParallelFor::Run(int first, int last, const std::function<void(int)>& body)
{
    if (last <= first)
        return;
    const long long count = static_cast<long long>(last) - first;
    const int workers = static_cast<int>(std::min<long long>(WorkerCount(), count));
    if (workers <= 1)
    {
        for (int i = first; i < last; ++i)
            body(i);
        return;
    }

    std::atomic<long long> next{first};
    auto work = [&]() {
        for (;;)
        {
            const long long i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= last)
                return;
            body(static_cast<int>(i));
        }
    };

    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<std::size_t>(workers - 1));
    for (int t = 1; t < workers; ++t)
    {
        try
        {
            helpers.emplace_back(work);
        }
        catch (const std::system_error&)
        {
            break;  // fewer helpers; the caller and the others finish the range
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace Thread
