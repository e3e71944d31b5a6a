#pragma once

#include "framework/core/Event.h"
#include "framework/core/Thread.h"

#include <atomic>
#include <mutex>

namespace Thread {

// A worker thread driven by events. The owner starts it, hands it work
// (through a queue of the derived class, guarded by the derived class's own
// lock) and wakes it; the worker then calls Step until Step answers false
// and goes back to idle. Stop ends it.
//
// States: idle (waiting) -> running (calling Step) -> idle ... -> stopped.
// The wait gives stop priority over start, start over halt and halt over
// running. Every 500 ms without a request Idle is called.
//
// Busy is visible at once: Wake marks the worker running before it returns,
// so an owner that tests IsRunning after handing over work never sees an
// idle worker with work pending. Stop never discards work: when stop arrives
// while work is pending, Step is called until it answers false first.
//
// Destruction: a derived class must call Stop() in its own destructor, so
// that the thread has ended before the members Step uses die. The base
// destructor stops and joins too (without a time limit) as a safety net,
// but by then the derived part is already gone and no further Step, Idle or
// OnStop is called.
class cRunThread : public cThread
{
public:
    cRunThread();
    ~cRunThread() override;

    // The event loop.
    int Run() override;

    // One unit of work: true = call again, false = done for now. A Step must
    // eventually answer false once its queue is empty, or Stop cannot return.
    virtual bool Step() = 0;
    // Called every 500 ms of quiet. The result is not used.
    virtual bool Idle() { return false; }
    // Called on the worker thread just before Run returns.
    virtual void OnStop() {}

    // Resets the requests, marks the worker idle and creates its thread if
    // none exists. False when the events or the thread could not be created.
    bool Start();
    // Asks for the running state: call after queueing work.
    void Wake();
    // Asks for the idle state; pending work is left in the queue.
    void Halt();
    // Ends the thread: pending work is done first, then OnStop runs; waits
    // for the thread without a time limit. Answers false when there was no
    // thread to stop.
    bool Stop();

    // True while the worker works or has been woken and not yet finished.
    bool IsRunning() const { return m_running.IsSet(); }
    bool IsIdle() const { return m_idle.IsSet(); }

    // Interval of the Idle calls, in milliseconds.
    static constexpr uint32_t kIdleIntervalMs = 500;

private:
    void EnterIdle();
    // Calls Step until it answers false (or the object is being torn down).
    void DrainWork();

    cManualEvent m_stop;
    cAutoEvent m_start;
    cAutoEvent m_halt;
    cManualEvent m_running;
    cManualEvent m_idle{true};

    // Makes "mark running" in Wake and "go idle when nothing is pending" on
    // the worker one step each, so a wake is never lost between them.
    std::mutex m_stateLock;
    // Set by the base destructor: the derived part is gone, call no hooks.
    std::atomic<bool> m_abandoned{false};
};

} // namespace Thread
