#include "app/capture/SimplePictureSaveThread.h"

#include <memory>

cSimplePictureSaveThread::cSimplePictureSaveThread(const cKey& key, const cSettingsRecord::sNaming& naming,
                                                   cCaptureFileNamer& namer, cListener* listener)
    : cRunThread(key), m_naming(naming), m_namer(namer), m_listener(listener)
{
}

bool cSimplePictureSaveThread::SetQueue(const std::vector<Painter::cPicture>& pictures)
{
    std::lock_guard guard(m_lock);
    m_queue.clear();
    for (const Painter::cPicture& picture : pictures) {
        m_queue.emplace_back(picture);
        if (m_queue.back().IsEmpty() != picture.IsEmpty()) {
            m_queue.clear();
            return false;
        }
    }
    return true;
}

bool cSimplePictureSaveThread::Step()
{
    std::lock_guard guard(m_lock);
    if (m_queue.empty())
        return false;

    const Container::cWideString path = m_namer.MakeCaptureFileName(m_naming);
    bool saved = false;
    std::unique_ptr<PictureFile::cPictureFile> file(m_factory.Create(path));
    if (file) {
        file->SetSaveOptions(m_saveOptions);
        saved = file->Save(m_queue.front(), path);
    }
    // The name stays reserved until the file exists (or the save failed).
    m_namer.Release(path);
    m_queue.pop_front();
    if (saved) {
        ++m_saved;
        if (m_listener != nullptr)
            m_listener->OnPictureSaved(path);
    } else {
        ++m_failed;
    }
    return true;
}

bool cSimplePictureSaveThread::IsFinished() const
{
    // Running is tested first: only the owner wakes the worker, so once it
    // is idle nothing can start it again behind the owner's back, and the
    // lock is free.
    if (IsRunning())
        return false;
    std::lock_guard guard(m_lock);
    return m_queue.empty();
}

int cSimplePictureSaveThread::SavedCount() const
{
    return m_saved.load();
}

int cSimplePictureSaveThread::FailedCount() const
{
    return m_failed.load();
}
