#include <gtest/gtest.h>

#include "framework/window/SystemLibrary.h"

#include <commdlg.h>

TEST(SystemLibraryTest, FindsFunctionsOfSystemLibrariesAndNothingElse)
{
    using tExtendedError = DWORD(WINAPI*)();
    // Loaded from the system folder on first use, and callable.
    const auto error = Window::cSystemLibrary::Find<tExtendedError>(L"comdlg32.dll", "CommDlgExtendedError");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error(), 0u);
    EXPECT_NE(GetModuleHandleW(L"comdlg32.dll"), nullptr);
    // A second question finds the same function.
    EXPECT_EQ(Window::cSystemLibrary::Function(L"comdlg32.dll", "CommDlgExtendedError"),
              reinterpret_cast<FARPROC>(reinterpret_cast<void*>(error)));

    EXPECT_EQ(Window::cSystemLibrary::Function(L"comdlg32.dll", "NoSuchFunctionAnywhere"), nullptr);
    EXPECT_EQ(Window::cSystemLibrary::Function(L"qs-no-such-library.dll", "DllMain"), nullptr);
    EXPECT_EQ(Window::cSystemLibrary::Function(L"", "CommDlgExtendedError"), nullptr);
    EXPECT_EQ(Window::cSystemLibrary::Function(nullptr, "CommDlgExtendedError"), nullptr);
    EXPECT_EQ(Window::cSystemLibrary::Function(L"comdlg32.dll", nullptr), nullptr);
}
