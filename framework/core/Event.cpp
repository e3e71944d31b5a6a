#include "framework/core/Event.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <vector>

namespace Thread {

namespace {

// The one lock of every event. Waiters register a condition variable with
// each event they watch; Set wakes the registered waiters.
std::mutex& EventLock()
{
    static std::mutex lock;
    return lock;
}

} // namespace

struct cEvent::sState
{
    bool manualReset = false;
    bool signalled = false;
    std::vector<std::condition_variable*> waiters;
};

cEvent::cEvent(bool manualReset, bool initiallySet)
{
    try {
        m_state.reset(new (std::nothrow) sState);
    } catch (...) {
        m_state.reset();
    }
    if (m_state) {
        m_state->manualReset = manualReset;
        m_state->signalled = initiallySet;
    }
}

// Owners destroy an event only when nobody waits on it any more.
cEvent::~cEvent() = default;

bool cEvent::Set()
{
    if (!m_state)
        return false;
    std::lock_guard<std::mutex> guard(EventLock());
    m_state->signalled = true;
    for (std::condition_variable* waiter : m_state->waiters)
        waiter->notify_all();
    return true;
}

bool cEvent::Reset()
{
    if (!m_state)
        return false;
    std::lock_guard<std::mutex> guard(EventLock());
    m_state->signalled = false;
    return true;
}

bool cEvent::IsSet() const
{
    if (!m_state)
        return false;
    std::lock_guard<std::mutex> guard(EventLock());
    return m_state->signalled;
}

int cEvent::Wait(uint32_t timeoutMs)
{
    cEvent* self = this;
    return WaitAny(&self, 1, timeoutMs);
}

int cEvent::WaitAny(cEvent* const* events, size_t count, uint32_t timeoutMs)
{
    if (events == nullptr || count == 0)
        return kWaitFailed;
    for (size_t i = 0; i < count; ++i) {
        if (events[i] == nullptr || !events[i]->m_state)
            return kWaitFailed;
    }

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);

    std::condition_variable wakeup;
    std::unique_lock<std::mutex> lock(EventLock());
    auto unregister = [&] {
        for (size_t i = 0; i < count; ++i) {
            std::vector<std::condition_variable*>& waiters = events[i]->m_state->waiters;
            auto found = std::find(waiters.begin(), waiters.end(), &wakeup);
            if (found != waiters.end())
                waiters.erase(found);
        }
    };
    try {
        for (;;) {
            for (size_t i = 0; i < count; ++i) {
                sState& state = *events[i]->m_state;
                if (state.signalled) {
                    if (!state.manualReset)
                        state.signalled = false;
                    return static_cast<int>(i);
                }
            }
            if (timeoutMs == 0 || (timeoutMs != kInfinite && Clock::now() >= deadline))
                return kWaitTimeout;

            for (size_t i = 0; i < count; ++i)
                events[i]->m_state->waiters.push_back(&wakeup);
            if (timeoutMs == kInfinite)
                wakeup.wait(lock);
            else
                wakeup.wait_until(lock, deadline);
            unregister();
        }
    } catch (...) {
        // Registration ran out of memory: leave no dangling waiter behind.
        unregister();
        return kWaitFailed;
    }
}

} // namespace Thread
