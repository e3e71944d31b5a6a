#pragma once

#include <thread>

namespace Thread {

// An abstract thread: Start runs Run on a new thread. The object must
// outlive its thread; the destructor joins a thread that is still running,
// without a time limit (a thread is never killed, so it can never be cut
// off while it holds a lock or writes a file). A class whose Run loops
// until told to stop must stop it in its own destructor, before its members
// die.
class cThread
{
public:
    cThread() = default;
    virtual ~cThread();
    cThread(const cThread&) = delete;
    cThread& operator=(const cThread&) = delete;

    // The thread body; its result becomes the exit code.
    virtual int Run() = 0;

    // Creates the thread unless one exists; false when it cannot be created.
    bool Start();
    // Waits for the thread without a time limit and forgets it. Answers
    // false when there was no thread or it could not be joined.
    bool Join();

    bool IsStarted() const { return m_thread.joinable(); }
    std::thread::id ThreadId() const { return m_threadId; }
    // The result of the last Run that has been joined.
    int ExitCode() const { return m_exitCode; }

private:
    std::thread m_thread;
    std::thread::id m_threadId;
    int m_exitCode = 0;
};

} // namespace Thread
