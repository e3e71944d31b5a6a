#pragma once

#include "app/settings/SettingsRecord.h"
#include "framework/core/WideString.h"
#include "platform/Platform.h"

#include <mutex>
#include <vector>

// Chooses the file names of captured pictures. One object serves the whole
// program (the tool window owns it), so every save worker and the save
// dialog take their names from the same place: a name handed out for a
// save stays reserved until that save has ended, and no two reserved names
// are equal.
//
// A name is "<prefix>_yyyy-MM-dd_hh-mm-ss_<ms>.<format>" in the save folder,
// every field from one reading of the local clock. When that name is taken
// (a file of that name exists, or a pending save holds it), "_2", "_3", ...
// is added before the extension. With the same-file-name setting the name
// is "<prefix>.<format>" and is used whatever exists: every capture
// replaces that file.
class cCaptureFileNamer
{
public:
    using sNaming = cSettingsRecord::sNaming;

    // The name without its folder for the time given; suffix 1 means none,
    // 2 and up are added as "_2" and so on.
    static Container::cWideString FileName(const sNaming& naming, const Platform::sTime& localTime, int suffix);
    // The folder joined with a name ("\" between them unless the folder
    // already ends with a separator; the name alone for an empty folder).
    static Container::cWideString JoinPath(const Container::cWideString& folder, const Container::cWideString& name);

    // The full path for the next picture, reserved for the caller until
    // Release. Thread-safe.
    Container::cWideString MakeCaptureFileName(const sNaming& naming);
    // The same at a given time (tests, and callers that read the clock).
    Container::cWideString MakeCaptureFileName(const sNaming& naming, const Platform::sTime& localTime);
    // Ends the reservation of a path returned above (saved or given up).
    void Release(const Container::cWideString& path);

    // The number of reserved paths.
    std::size_t ReservedCount() const;

    // Suffixes tried before giving up on a free name (the last one tried is
    // returned all the same).
    static constexpr int kMaxSuffix = 10000;

private:
    bool IsReserved(const Container::cWideString& path) const;

    mutable std::mutex m_lock;
    std::vector<Container::cWideString> m_reserved;
};
