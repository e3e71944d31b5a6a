#pragma once

#include <filesystem>
#include <string>

namespace Testing {

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object dies.
class cTempFolder
{
public:
    cTempFolder();
    ~cTempFolder();
    cTempFolder(const cTempFolder&) = delete;
    cTempFolder& operator=(const cTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The path of a file in the folder, as UTF-16 for the framework's calls.
    std::u16string File(const std::u16string& name) const;

private:
    std::filesystem::path m_path;
};

} // namespace Testing
