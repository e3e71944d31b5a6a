#pragma once

#include <windows.h>

#include "app/settings/SettingsRecord.h"
#include "framework/application/WinApp.h"
#include "framework/core/WideString.h"

// The program's application object. It loads the settings record at
// start-up and saves it at exit; for now its window is one plain top-level
// window titled "Quillsnapper", and closing it ends the program with exit
// code 0.
class cQuillsnapperApp : public Application::cWinApp
{
public:
    cQuillsnapperApp() = default;
    ~cQuillsnapperApp() override = default;

    bool InitInstance(const char16_t* commandLine, int showCommand) override;
    int ExitInstance() override;

    HWND MainWindow() const { return m_mainWindow; }
    cSettingsRecord& Settings() { return m_settings; }
    const Container::cWideString& SettingsFile() const { return m_settingsFile; }

private:
    static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_mainWindow = nullptr;
    cSettingsRecord m_settings;
    // Empty when the settings folder could not be told: nothing is saved then.
    Container::cWideString m_settingsFile;
};
