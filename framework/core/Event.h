#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Thread {

// Result codes of the wait operations, besides the index of a signalled event.
constexpr int kWaitTimeout = -1;
constexpr int kWaitFailed = -2;
// A wait without a time limit.
constexpr uint32_t kInfinite = 0xFFFFFFFFu;

// A synchronisation event: signalled or not. A waiter on an auto-reset
// event consumes the signal (exactly one waiter is released per Set); a
// manual-reset event stays signalled until it is reset.
//
// Events are built on the standard library, so they share one lock between
// all events of the process; this keeps WaitAny atomic over every event it
// watches (the lowest signalled index always wins).
class cEvent
{
public:
    virtual ~cEvent();
    cEvent(const cEvent&) = delete;
    cEvent& operator=(const cEvent&) = delete;

    // False when the event could not be created; every operation on such an
    // event fails.
    bool IsValid() const { return m_state != nullptr; }

    bool Set();
    bool Reset();
    // Tells whether the event is signalled without consuming the signal.
    bool IsSet() const;

    // Waits until the event is signalled: 0 when it was (consuming an
    // auto-reset signal), kWaitTimeout or kWaitFailed otherwise.
    int Wait(uint32_t timeoutMs = kInfinite);

    // Waits until any of the events is signalled and answers its index; when
    // several are signalled the lowest index wins and only that one's signal
    // is consumed. Answers kWaitTimeout after timeoutMs (kInfinite: never),
    // kWaitFailed when the list is empty or holds an invalid event.
    static int WaitAny(cEvent* const* events, size_t count, uint32_t timeoutMs);

protected:
    cEvent(bool manualReset, bool initiallySet);

private:
    struct sState;
    std::unique_ptr<sState> m_state;
};

// An event that releases one waiter and then resets itself.
class cAutoEvent : public cEvent
{
public:
    explicit cAutoEvent(bool initiallySet = false) : cEvent(false, initiallySet) {}
};

// An event that stays signalled until it is reset.
class cManualEvent : public cEvent
{
public:
    explicit cManualEvent(bool initiallySet = false) : cEvent(true, initiallySet) {}
};

} // namespace Thread
