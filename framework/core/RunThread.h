#pragma once

#include "framework/core/Event.h"
#include "framework/core/Thread.h"

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
// idle worker with work pending. Stop never discards work: whatever state
// the worker is in (idle, halted, running), Step is called until it answers
// false before OnStop runs and the thread ends.
//
// Ownership: like every cThread, a worker lives in a cThreadHolder, which
// stops and joins it before any member of the derived class dies (see
// Thread.h). A derived class needs no Stop in its destructor.
class cRunThread : public cThread
{
public:
    explicit cRunThread(const cKey& key);
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

    // Creates the thread in the idle state, starting from fresh requests. On
    // a worker that has a thread already it changes nothing (a Stop in
    // progress elsewhere is never undone) and answers true; false when the
    // events or the thread could not be created, or a Stop is in progress.
    // Work woken before Start is picked up once the thread runs.
    bool Start();
    // Asks for the running state: call after queueing work.
    void Wake();
    // Asks for the idle state; pending work is left in the queue (a later
    // Wake or Stop does it).
    void Halt();
    // Stop (inherited): pending work is done first, then OnStop runs; waits
    // for the thread without a time limit. Answers false when there was no
    // thread to stop.

    // Sets the stop event.
    void RequestStop() override;

    // True while the worker works or has been woken and not yet finished.
    bool IsRunning() const { return m_running.IsSet(); }
    bool IsIdle() const { return m_idle.IsSet(); }

    // Interval of the Idle calls, in milliseconds.
    static constexpr uint32_t kIdleIntervalMs = 500;

protected:
    void PrepareStart() override;

private:
    void EnterIdle();

    cManualEvent m_stop;
    cAutoEvent m_start;
    cAutoEvent m_halt;
    cManualEvent m_running;
    cManualEvent m_idle{true};

    // Makes "mark running" in Wake and "go idle when nothing is pending" on
    // the worker one step each, so a wake is never lost between them.
    std::mutex m_stateLock;
};

} // namespace Thread
