#pragma once

#include "app/capture/CaptureFileNamer.h"
#include "framework/core/RunThread.h"
#include "framework/painter/Picture.h"
#include "framework/document/BVPictureFileFactory.h"
#include "framework/picturefile/PictureFile.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

// A background save worker: one per capture that is saved without asking.
// The owner starts it idle, hands it the capture's pictures and wakes it; the worker names each file through the program's namer, saves
// it in the format of its extension and tells the listener about each file
// it saved. The naming settings are the worker's own copy, taken when it
// was created, so that changes on the user-interface thread never reach a
// save halfway.
class cSimplePictureSaveThread : public Thread::cRunThread
{
public:
    // Told on the worker thread about every saved file. It must not wait for
    // the user-interface thread (which may itself be waiting for the worker
    // at shutdown): post, never send.
    class cListener
    {
    public:
        virtual ~cListener() = default;
        virtual void OnPictureSaved(const Container::cWideString& path) = 0;
    };

    // Made through Thread::cThreadHolder, whose release stops the thread
    // after the queue has been saved. namer must outlive the worker;
    // listener may be null.
    cSimplePictureSaveThread(const cKey& key, const cSettingsRecord::sNaming& naming, cCaptureFileNamer& namer,
                             cListener* listener);
    ~cSimplePictureSaveThread() override = default;

    // A picture the worker shares with its owner: nobody changes it once
    // it is shared, so both may read it at once (the owner places it on the
    // clipboard while the worker saves it), and the last one done frees it.
    using tSharedPicture = std::shared_ptr<const Painter::cPicture>;

    // Replaces the queue by the shared pictures (under the lock); no pixels
    // are copied. False, with the queue left empty, for a missing picture.
    bool SetQueue(const std::vector<tSharedPicture>& pictures);
    // The same with copies of pictures. False, with the queue left empty,
    // when a copy could not be made.
    bool SetQueue(const std::vector<Painter::cPicture>& pictures);

    // Saves the first picture of the queue; false once the queue is empty.
    bool Step() override;

    // True when the worker may be deleted: it is not running and nothing is
    // queued (a worker that has been woken is running until it has drained
    // its queue, so it is never collected early).
    bool IsFinished() const;

    // Files saved and pictures that could not be saved, so far.
    int SavedCount() const;
    int FailedCount() const;

    const cSettingsRecord::sNaming& Naming() const { return m_naming; }

private:
    mutable std::mutex m_lock;
    std::deque<tSharedPicture> m_queue;
    PictureFile::sSaveOptions m_saveOptions;
    Brimvale::cBVPictureFileFactory m_factory;
    const cSettingsRecord::sNaming m_naming;
    cCaptureFileNamer& m_namer;
    cListener* const m_listener;
    std::atomic<int> m_saved{0};
    std::atomic<int> m_failed{0};
};
