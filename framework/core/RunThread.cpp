#include "framework/core/RunThread.h"

namespace Thread {

cRunThread::cRunThread(const cKey& key) : cThread(key) {}

cRunThread::~cRunThread() = default;

bool cRunThread::Start()
{
    if (!m_stop.IsValid() || !m_start.IsValid() || !m_halt.IsValid() || !m_running.IsValid() ||
        !m_idle.IsValid())
        return false;
    return cThread::Start();
}

void cRunThread::PrepareStart()
{
    // Only ever called while no thread exists, so no Stop can be waiting on
    // the events reset here.
    m_stop.Reset();
    m_halt.Reset();
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_running.Reset();
    m_idle.Set();
}

void cRunThread::Wake()
{
    std::lock_guard<std::mutex> guard(m_stateLock);
    m_idle.Reset();
    m_running.Set();
    m_start.Set();
}

void cRunThread::Halt()
{
    m_halt.Set();
}

void cRunThread::RequestStop()
{
    m_stop.Set();
}

void cRunThread::EnterIdle()
{
    m_running.Reset();
    m_idle.Set();
}

int cRunThread::Run()
{
    cEvent* const events[] = {&m_stop, &m_start, &m_halt, &m_running};
    for (;;) {
        const int result = cEvent::WaitAny(events, 4, kIdleIntervalMs);
        switch (result) {
        case 0: // stop: finish whatever was handed over, in any state, then leave
            while (Step()) {
            }
            {
                std::lock_guard<std::mutex> guard(m_stateLock);
                m_start.Reset();
                EnterIdle();
            }
            OnStop();
            return 0;
        case 1: // start
            m_idle.Reset();
            m_running.Set();
            break;
        case 2: { // halt
            std::lock_guard<std::mutex> guard(m_stateLock);
            EnterIdle();
            break;
        }
        case 3: // running: one Step per turn, so stop and halt can cut in
            if (Step())
                break;
            {
                // A Wake that arrived during the last Step keeps the worker
                // running; its start request is taken by the next wait.
                std::lock_guard<std::mutex> guard(m_stateLock);
                if (!m_start.IsSet()) {
                    EnterIdle();
                    m_halt.Reset();
                }
            }
            break;
        case kWaitTimeout:
            Idle();
            break;
        default: // the wait itself failed: finish the work and leave instead of spinning
            while (Step()) {
            }
            EnterIdle();
            OnStop();
            return 1;
        }
    }
}

} // namespace Thread
