#include "tests/support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace Testing {

cTempFolder::cTempFolder()
{
    static std::atomic<unsigned> s_counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto base = std::filesystem::temp_directory_path();
    for (;;)
    {
        m_path = base / ("qs-test-" + std::to_string(stamp) + "-" + std::to_string(s_counter++));
        std::error_code error;
        if (std::filesystem::create_directory(m_path, error))
            break;
    }
}

cTempFolder::~cTempFolder()
{
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

std::u16string cTempFolder::File(const std::u16string& name) const
{
    return (m_path / std::filesystem::path(name)).u16string();
}

} // namespace Testing
