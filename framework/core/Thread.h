#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace Thread {

template <typename T>
class cThreadHolder;

// An abstract thread: Start runs Run on a new thread.
//
// Ownership rule: a thread object lives only inside a cThreadHolder. The
// holder asks the thread to stop and joins it before the object's
// destructor begins, so no derived member dies while Run (or anything it
// calls) can still touch it. This is enforced: the constructor takes a
// cKey, which only the holder can make, so a derived class cannot be put on
// the stack, made a member or created with new by anyone else. A derived
// class forwards the key:
//
//     class cSaver : public Thread::cRunThread {
//     public:
//         explicit cSaver(const cKey& key, int quality) : cRunThread(key) ...
//     };
//     Thread::cThreadHolder<cSaver> saver = Thread::cThreadHolder<cSaver>::Create(100);
//
// The base destructor checks (in debug builds) that the thread has ended.
//
// The thread procedure touches nothing of the object after Run returns: its
// exit code goes to a record the thread keeps alive itself, so a thread
// whose holder is released on the thread itself never writes into freed
// memory (the object is then deleted by the thread when Run returns).
class cThread
{
public:
    // The proof of construction through a cThreadHolder.
    class cKey
    {
    public:
        cKey(const cKey&) = delete;
        cKey& operator=(const cKey&) = delete;

    private:
        cKey() {}
        template <typename T>
        friend class cThreadHolder;
    };

    explicit cThread(const cKey&);
    virtual ~cThread();
    cThread(const cThread&) = delete;
    cThread& operator=(const cThread&) = delete;

    // The thread body; its result becomes the exit code.
    virtual int Run() = 0;

    // Creates the thread unless one exists (true then, changing nothing);
    // false when it cannot be created or a Join is in progress.
    bool Start();
    // Asks the thread to end (RequestStop) and joins it. Answers false when
    // there was no thread to stop, or when called on the thread itself
    // (the request is made, but a thread cannot wait for itself).
    bool Stop();
    // Waits for the thread without a time limit and forgets it. A Join while
    // another one is in progress waits for that one. Answers false when
    // there was no thread, or when called on the thread itself.
    bool Join();

    // Asks Run to return soon; the default does nothing (a plain thread
    // runs to its end). cRunThread sets its stop event.
    virtual void RequestStop() {}

    bool IsStarted() const;
    std::thread::id ThreadId() const;
    // The result of the last Run that has ended (0 before).
    int ExitCode() const;

protected:
    // Called by Start with the control lock held, just before a new thread
    // is created: the place to reset what the new thread starts from.
    virtual void PrepareStart() {}

private:
    template <typename T>
    friend class cThreadHolder;

    // What the thread procedure shares with its object; the thread keeps it
    // alive until it has returned.
    struct sShared
    {
        std::mutex lock;
        int exitCode = 0;
        // Set when the holder was released on the thread itself: the thread
        // deletes the object once Run has returned.
        bool deleteWhenDone = false;
    };

    // Stops and joins the thread for the holder: true when the object may
    // be deleted now. Called on the object's own thread it cannot join: the
    // stop is requested and the thread deletes the object when Run returns
    // (false).
    bool StopForRelease();

    mutable std::mutex m_control;
    std::condition_variable m_joined;
    std::thread m_thread;
    std::thread::id m_threadId;
    bool m_joining = false;
    std::shared_ptr<sShared> m_shared;
};

// Owns one thread object (cThread or a class derived from it). Releasing it
// (Reset or destruction) asks the thread to stop, joins it and only then
// deletes the object, so the object's members outlive every use by its
// thread. Move-only; an empty holder owns nothing.
template <typename T>
class cThreadHolder
{
public:
    cThreadHolder() = default;
    ~cThreadHolder() { Reset(); }
    cThreadHolder(cThreadHolder&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    cThreadHolder& operator=(cThreadHolder&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_object = other.m_object;
            other.m_object = nullptr;
        }
        return *this;
    }
    cThreadHolder(const cThreadHolder&) = delete;
    cThreadHolder& operator=(const cThreadHolder&) = delete;

    // Creates the object with the given constructor arguments (after the
    // key). An empty holder when memory ran out or the constructor threw.
    template <typename... Args>
    static cThreadHolder Create(Args&&... args)
    {
        cThreadHolder holder;
        try {
            holder.m_object = new T(cThread::cKey(), std::forward<Args>(args)...);
        } catch (...) {
            holder.m_object = nullptr;
        }
        return holder;
    }

    // Stops and joins the thread, then deletes the object. Called on the
    // object's own thread, it cannot join: the object is then deleted by its
    // thread as soon as Run returns.
    void Reset()
    {
        T* object = m_object;
        m_object = nullptr;
        if (object == nullptr)
            return;
        cThread* thread = object;
        if (thread->StopForRelease())
            delete object;
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};

} // namespace Thread
