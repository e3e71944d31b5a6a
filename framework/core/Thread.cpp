#include "framework/core/Thread.h"

#include <cassert>
#include <system_error>

namespace Thread {

cThread::cThread(const cKey&) : m_shared(std::make_shared<sShared>()) {}

cThread::~cThread()
{
    // The holder has ended the thread before the derived part died; a thread
    // still running here would be executing a half-destroyed object.
    assert(!IsStarted());
    Join();
}

bool cThread::Start()
{
    std::lock_guard<std::mutex> guard(m_control);
    if (m_joining)
        return false;
    if (m_thread.joinable())
        return true;
    PrepareStart();
    std::shared_ptr<sShared> shared = m_shared;
    try {
        m_thread = std::thread([this, shared] {
            const int code = Run();
            // Nothing of the object is touched from here on unless the object
            // was handed to this thread to delete.
            bool deleteObject = false;
            {
                std::lock_guard<std::mutex> sharedGuard(shared->lock);
                shared->exitCode = code;
                deleteObject = shared->deleteWhenDone;
            }
            if (deleteObject)
                delete this;
        });
    } catch (...) {
        return false;
    }
    m_threadId = m_thread.get_id();
    return true;
}

bool cThread::Stop()
{
    {
        // Under the control lock, so that a concurrent Start cannot slip a
        // new thread in between the request and the join.
        std::lock_guard<std::mutex> guard(m_control);
        if (!m_thread.joinable() && !m_joining)
            return false;
        RequestStop();
    }
    return Join();
}

bool cThread::Join()
{
    std::unique_lock<std::mutex> lock(m_control);
    if (m_joining) {
        m_joined.wait(lock, [this] { return !m_joining; });
        return true;
    }
    if (!m_thread.joinable())
        return false;
    if (m_thread.get_id() == std::this_thread::get_id())
        return false;
    std::thread thread = std::move(m_thread);
    m_joining = true;
    lock.unlock();

    bool joined = true;
    try {
        thread.join();
    } catch (const std::system_error&) {
        thread.detach();
        joined = false;
    }

    lock.lock();
    m_joining = false;
    m_threadId = std::thread::id();
    m_joined.notify_all();
    return joined;
}

bool cThread::StopForRelease()
{
    {
        std::lock_guard<std::mutex> guard(m_control);
        if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) {
            RequestStop();
            {
                std::lock_guard<std::mutex> sharedGuard(m_shared->lock);
                m_shared->deleteWhenDone = true;
            }
            m_thread.detach();
            m_threadId = std::thread::id();
            return false;
        }
    }
    Stop();
    return true;
}

bool cThread::IsStarted() const
{
    std::lock_guard<std::mutex> guard(m_control);
    return m_thread.joinable() || m_joining;
}

std::thread::id cThread::ThreadId() const
{
    std::lock_guard<std::mutex> guard(m_control);
    return m_threadId;
}

int cThread::ExitCode() const
{
    std::lock_guard<std::mutex> guard(m_shared->lock);
    return m_shared->exitCode;
}

} // namespace Thread
