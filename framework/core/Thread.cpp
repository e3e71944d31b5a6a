#include "framework/core/Thread.h"

#include <system_error>

namespace Thread {

cThread::~cThread()
{
    Join();
}

bool cThread::Start()
{
    if (m_thread.joinable())
        return true;
    try {
        m_thread = std::thread([this] { m_exitCode = Run(); });
    } catch (...) {
        return false;
    }
    m_threadId = m_thread.get_id();
    return true;
}

bool cThread::Join()
{
    if (!m_thread.joinable())
        return false;
    if (m_thread.get_id() == std::this_thread::get_id()) {
        // A thread cannot wait for itself; let it run out on its own.
        m_thread.detach();
        m_threadId = std::thread::id();
        return false;
    }
    try {
        m_thread.join();
    } catch (const std::system_error&) {
        return false;
    }
    m_threadId = std::thread::id();
    return true;
}

} // namespace Thread
