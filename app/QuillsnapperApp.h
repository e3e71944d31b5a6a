#pragma once

#include <windows.h>

#include "app/CaptureFrame.h"
#include "app/MainToolWindow.h"
#include "app/settings/SettingsRecord.h"
#include "framework/application/WinApp.h"
#include "framework/core/WideString.h"
#include "framework/settings/AppLanguage.h"

#include <memory>

// The program's application object: it brings the settings, the tool
// window and the capture frame up in order, routes keys before they are
// dispatched, and takes everything down again so that pictures already
// handed to a save worker are written and the settings are saved.
class cQuillsnapperApp : public Application::cWinApp
{
public:
    // The bitmap resource of the toolkit's skin.
    static constexpr int kSkinBitmapId = 107;

    cQuillsnapperApp();
    ~cQuillsnapperApp() override;

    // The one application object; null before it exists.
    static cQuillsnapperApp* Get();

    // A second copy of the program brings the running tool window to the
    // front and answers 0 without starting; otherwise the base's Run.
    int Run(const char16_t* commandLine, int showCommand) override;
    bool InitInstance(const char16_t* commandLine, int showCommand) override;
    int ExitInstance() override;
    bool PreTranslateMessage(MSG* message) override;

    cSettingsRecord& Settings() { return m_settings; }
    cMainToolWindow& ToolWindow() { return m_toolWindow; }
    cCaptureFrame& Frame() { return m_frame; }
    const Container::cWideString& SettingsFile() const { return m_settingsFile; }
    // The name the interface language gets when none is set: Korean on a
    // Korean system, else English.
    static Container::cWideString DefaultLanguageName(std::uint16_t userLanguage);

private:
    // Saves the settings; a failed save leaves the old file as it was.
    void SaveSettings();
    // The session ends: write what is pending and the settings now.
    void OnEndSession();
    // Loads the interface language the settings name (or the user's own).
    void SelectLanguage();
    // True when this is the only copy running (the mutex is then held).
    bool ClaimSingleInstance();

    // The settings are declared first so that they die last: the tool
    // window's workers are joined before anything they might read is gone.
    cSettingsRecord m_settings;
    Container::cWideString m_settingsFile;
    cMainToolWindow m_toolWindow;
    cCaptureFrame m_frame;
    // The language table; current for every window while the program runs.
    std::unique_ptr<cAppLanguage> m_language;
    int m_skinBitmapId = kSkinBitmapId;
    HANDLE m_instanceMutex = nullptr;
};
