#pragma once

#include <windows.h>

#include "framework/application/Module.h"
#include "framework/core/WideString.h"

namespace Application {

// The framework's application base: the life of the program from its
// initialisation through the message loop of the user-interface thread to
// its exit. A program derives one class from it and creates exactly one
// object of it; constructing it makes it the current application.
class cWinApp
{
public:
    cWinApp();
    virtual ~cWinApp();

    cWinApp(const cWinApp&) = delete;
    cWinApp& operator=(const cWinApp&) = delete;

    // Offered every message taken from the queue before it is translated
    // and dispatched; true when the message was consumed. Base: false.
    virtual bool PreTranslateMessage(MSG* message);
    // The whole life of the application: InitInstance, then the message
    // loop, then ExitInstance (which runs exactly once, also after a failed
    // InitInstance). Answers the loop's exit code, or -1 when InitInstance
    // failed.
    virtual int Run(const char16_t* commandLine, int showCommand);
    // Brings the application up; false ends it. Base: false.
    virtual bool InitInstance(const char16_t* commandLine, int showCommand);
    // Takes the application down. Base: answers 0.
    virtual int ExitInstance();
    // Takes messages for any window until WM_QUIT and answers its code.
    virtual int MessageLoop();
    // Handles the messages that are waiting without blocking. True when
    // the queue is empty; false when WM_QUIT (exitCode := its code) or an
    // error (exitCode := -1) was met.
    virtual bool PumpMessages(int& exitCode);

    // Records the program module: its instance handle (not owned), its
    // file path and its folder. False when the path cannot be read (the
    // handle is recorded all the same).
    bool SetModule(HINSTANCE instance);

    // The current application; null before one is constructed.
    static cWinApp* GetApp();

    cModule& Module() { return m_module; }
    const cModule& Module() const { return m_module; }
    HINSTANCE Instance() const { return m_module.Handle(); }
    const Container::cWideString& CompanyName() const { return m_companyName; }
    const Container::cWideString& AppName() const { return m_appName; }
    const Container::cWideString& ModulePath() const { return m_modulePath; }
    const Container::cWideString& ModuleFolder() const { return m_moduleFolder; }
    void SetCompanyName(const Container::cWideString& name) { m_companyName = name; }
    void SetAppName(const Container::cWideString& name) { m_appName = name; }

    // A message box with an OK button, owned by owner (may be null), with
    // the application name as caption. Answers MessageBoxW's result.
    int AppMessageBox(HWND owner, const Container::cWideString& text) const;
    // The program's product version as "major-minor-build-revision".
    bool GetProductVersionText(Container::cWideString& text) const;

protected:
    // Pre-translates and dispatches one message taken from the queue.
    void DispatchQueued(MSG& message);

    cModule m_module;
    Container::cWideString m_companyName;
    Container::cWideString m_appName;
    Container::cWideString m_modulePath;
    Container::cWideString m_moduleFolder;
};

} // namespace Application
