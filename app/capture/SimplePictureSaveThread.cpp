#include "app/capture/SimplePictureSaveThread.h"

#include <memory>

cSimplePictureSaveThread::cSimplePictureSaveThread(const cKey& key, const cSettingsRecord::sNaming& naming,
                                                   cCaptureFileNamer& namer, cListener* listener)
    : cRunThread(key), m_naming(naming), m_namer(namer), m_listener(listener)
{
}

bool cSimplePictureSaveThread::SetQueue(const std::vector<tSharedPicture>& pictures)
{
    std::lock_guard guard(m_lock);
    m_queue.clear();
    for (const tSharedPicture& picture : pictures) {
        if (!picture) {
            m_queue.clear();
            return false;
        }
        m_queue.push_back(picture);
    }
    return true;
}

bool cSimplePictureSaveThread::SetQueue(const std::vector<Painter::cPicture>& pictures)
{
    std::vector<tSharedPicture> copies;
    for (const Painter::cPicture& picture : pictures) {
        auto copy = std::make_shared<const Painter::cPicture>(picture);
        if (copy->IsEmpty() != picture.IsEmpty()) {
            std::lock_guard guard(m_lock);
            m_queue.clear();
            return false;
        }
        copies.push_back(std::move(copy));
    }
    return SetQueue(copies);
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
        saved = file->Save(*m_queue.front(), path);
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
