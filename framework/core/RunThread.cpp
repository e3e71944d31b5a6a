#include "framework/core/RunThread.h"

namespace Thread {

cRunThread::cRunThread() = default;

cRunThread::~cRunThread()
{
    if (IsStarted()) {
        m_abandoned = true;
        m_stop.Set();
        Join();
    }
}

bool cRunThread::Start()
{
    if (!m_stop.IsValid() || !m_start.IsValid() || !m_halt.IsValid() || !m_running.IsValid() ||
        !m_idle.IsValid())
        return false;
    m_stop.Reset();
    m_halt.Reset();
    {
        std::lock_guard<std::mutex> guard(m_stateLock);
        m_running.Reset();
        m_idle.Set();
    }
    return cThread::Start();
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

bool cRunThread::Stop()
{
    if (!IsStarted())
        return false;
    m_stop.Set();
    return Join();
}

void cRunThread::EnterIdle()
{
    m_running.Reset();
    m_idle.Set();
}

void cRunThread::DrainWork()
{
    while (!m_abandoned && Step()) {
    }
}

int cRunThread::Run()
{
    cEvent* const events[] = {&m_stop, &m_start, &m_halt, &m_running};
    for (;;) {
        const int result = cEvent::WaitAny(events, 4, kIdleIntervalMs);
        switch (result) {
        case 0: { // stop: finish what was handed over, then leave
            bool pending = m_running.IsSet();
            if (m_start.Wait(0) == 0)
                pending = true;
            if (pending)
                DrainWork();
            EnterIdle();
            if (!m_abandoned)
                OnStop();
            return 0;
        }
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
            if (!m_abandoned && Step())
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
            if (!m_abandoned)
                Idle();
            break;
        default: // the wait itself failed: leave instead of spinning
            EnterIdle();
            if (!m_abandoned)
                OnStop();
            return 1;
        }
    }
}

} // namespace Thread
